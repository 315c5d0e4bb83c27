// Array allocation and deallocation statements.
#include <gtest/gtest.h>

#include <vector>

#include "rio/allocate.h"
#include "rio/rio.h"
#include "rio/status.h"
#include "rio/support/recording_hooks.h"

namespace rio {
namespace {

ArrayDescriptor vector_of(std::uint32_t type, long extent, int length = 0) {
  ArrayDescriptor a;
  a.type = type;
  a.length = length;
  a.rank = 1;
  a.dims[0].extent = extent;
  return a;
}

TEST(Allocate, StorageIsZeroFilledAndSizedByElementTimesExtents) {
  ArrayDescriptor a = vector_of(kReal4, 5);
  ArrayDescriptor m;
  m.type = kInteger4;
  m.rank = 2;
  m.dims[0].extent = 3;
  m.dims[1].extent = 4;
  ArrayDescriptor c = vector_of(kCharacter, 2, 10);
  ArrayDescriptor* list[] = {&a, &m, &c};
  int stat = -1;
  ASSERT_EQ(io_allocate(list, &stat), 0);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(a.byte_size, 20u);
  EXPECT_EQ(m.byte_size, 48u);
  EXPECT_EQ(c.byte_size, 20u);
  const int* cells = static_cast<const int*>(m.base);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(cells[i], 0);
  EXPECT_TRUE(a.allocated && m.allocated && c.allocated);
  EXPECT_EQ(io_deallocate(list), 0);
  EXPECT_FALSE(a.allocated || m.allocated || c.allocated);
  EXPECT_EQ(a.base, nullptr);
  EXPECT_EQ(c.byte_size, 0u);
  EXPECT_EQ(c.length, 10);  // a CHARACTER array keeps its length
}

TEST(Allocate, AZeroExtentAllocatesNothingButCountsAsAllocated) {
  ArrayDescriptor a = vector_of(kInteger4, 0);
  ArrayDescriptor* list[] = {&a};
  ASSERT_EQ(io_allocate(list, nullptr), 0);
  EXPECT_TRUE(a.allocated);
  EXPECT_EQ(a.base, kZeroSizeBase);
  EXPECT_EQ(a.byte_size, 0u);
  int stat = 0;
  EXPECT_EQ(io_allocate(list, &stat), 1);
  EXPECT_EQ(stat, kArrayAlreadyAllocated);
  EXPECT_EQ(io_deallocate(list), 0);
  EXPECT_FALSE(a.allocated);
}

TEST(Allocate, ASecondAllocateWithoutStatIsFatal) {
  test::ChildOutcome out = test::run_in_child([] {
    ArrayDescriptor a = vector_of(kInteger4, 3);
    ArrayDescriptor* list[] = {&a};
    io_allocate(list, nullptr);
    io_allocate(list, nullptr);
  });
  EXPECT_EQ(out.exit_status, 255);
  ASSERT_EQ(out.log.writes.size(), 2u);
  EXPECT_EQ(out.log.writes[1].bytes, "? An allocatable array has already been allocated\n");
}

TEST(Allocate, AnImpossibleSizeFailsWithBufferAllocationFailed) {
  ArrayDescriptor a = vector_of(kReal4, 1L << 40);
  a.rank = 2;
  a.dims[1].extent = 1L << 40;
  ArrayDescriptor* list[] = {&a};
  int stat = 0;
  EXPECT_EQ(io_allocate(list, &stat), 1);
  EXPECT_EQ(stat, kBufferAllocationFailed);
  EXPECT_FALSE(a.allocated);
}

TEST(Deallocate, StopsSilentlyAtTheFirstUnallocatedArray) {
  ArrayDescriptor never = vector_of(kInteger4, 4);
  ArrayDescriptor later = vector_of(kInteger4, 4);
  ArrayDescriptor* second[] = {&later};
  ASSERT_EQ(io_allocate(second, nullptr), 0);
  ArrayDescriptor* list[] = {&never, &later};
  EXPECT_EQ(io_deallocate(list), 0);
  EXPECT_TRUE(later.allocated);
  EXPECT_EQ(io_deallocate(second), 0);
}

}  // namespace
}  // namespace rio
