#include "rio/allocate.h"

#include <cstdlib>

#include "rio/errors.h"
#include "rio/statement.h"
#include "rio/status.h"

namespace rio {

std::size_t element_bytes(const ArrayDescriptor& a) {
  std::uint32_t type = a.type & 0xFF;
  std::size_t size = (a.type >> 15) & 0x1FF;
  if (type == kTypeCharacter) return a.length > 0 ? static_cast<std::size_t>(a.length) : 0;
  return size;
}

bool array_byte_size(const ArrayDescriptor& a, std::size_t* size) {
  std::size_t total = element_bytes(a);
  for (int d = 0; d < a.rank && d < kMaxRank; ++d) {
    long extent = a.dims[d].extent > 0 ? a.dims[d].extent : 0;
    if (extent != 0 && total > static_cast<std::size_t>(-1) / static_cast<std::size_t>(extent)) return false;
    total *= static_cast<std::size_t>(extent);
  }
  *size = total;
  return true;
}

namespace {

int allocate_one(ArrayDescriptor& a) {
  if (a.allocatable && a.allocated) return kArrayAlreadyAllocated;
  std::size_t size = 0;
  if (!array_byte_size(a, &size)) return kBufferAllocationFailed;
  void* base = kZeroSizeBase;
  if (size > 0) {
    base = std::calloc(size, 1);
    if (!base) return kBufferAllocationFailed;
  }
  a.base = base;
  a.byte_size = size;
  a.allocated = true;
  return kOk;
}

// An error outside any I/O statement: into STAT= when given, else fatal.
int allocation_error(int number, int* stat) {
  if (stat) {
    *stat = number;
    return 1;
  }
  IoStatement& st = io_statement();
  st.start(0, nullptr, false);
  st.active = false;  // the report names no statement
  return report_error(number);
}

}  // namespace

int io_allocate(std::span<ArrayDescriptor* const> arrays, int* stat) {
  for (ArrayDescriptor* a : arrays)
    if (int rc = allocate_one(*a)) return allocation_error(rc, stat);
  if (stat) *stat = 0;
  return 0;
}

int io_deallocate(std::span<ArrayDescriptor* const> arrays) {
  for (ArrayDescriptor* a : arrays) {
    if (!a->allocated) return 0;
    if (a->base != kZeroSizeBase) std::free(a->base);
    a->base = nullptr;
    a->byte_size = 0;
    a->allocated = false;
  }
  return 0;
}

}  // namespace rio
