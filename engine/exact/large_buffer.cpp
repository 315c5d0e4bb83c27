#include "engine/exact/large_buffer.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace compare::exact {
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

}  // namespace

// Large buffers start on a huge-page boundary, so that the kernel can back
// all of them with huge pages rather than only their aligned middle.
LargeBuffer::LargeBuffer(std::size_t bytes) : bytes_(bytes) {
  if (bytes == 0) return;
  const bool large = bytes >= kHugePage;
  const std::size_t mapped = large ? bytes + kHugePage : bytes;
  void* memory = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  if (!large) {
    data_ = memory;
    return;
  }
  const auto start = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) ::munmap(memory, aligned - start);
  const std::uintptr_t end = start + mapped, used_end = aligned + ((bytes + 4095) & ~std::size_t(4095));
  if (end > used_end) ::munmap(reinterpret_cast<void*>(used_end), end - used_end);
  data_ = reinterpret_cast<void*>(aligned);
  ::madvise(data_, bytes, MADV_HUGEPAGE);  // advice only: fine if refused
}

void advise_huge_pages(void* data, std::size_t bytes) {
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = (start + bytes) & ~(kHugePage - 1);
  if (end > first) ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

LargeBuffer::~LargeBuffer() {
  if (data_) ::munmap(data_, bytes_);
}

}  // namespace compare::exact
