#pragma once
// Memory for tables of many megabytes: taken from the kernel as fresh pages,
// which are zero until written and so need no clearing, and backed by huge
// pages where the kernel offers them, which makes the first touch of each
// page up to ten times cheaper than with 4 KiB pages.
#include <cstddef>
#include <utility>

namespace compare::exact {

// Asks for huge pages under the whole 2 MiB pages inside memory that another
// allocator handed out fresh and that nothing has written yet (a large R or
// NumPy array, say), so that its first writes fault far fewer times.
void advise_huge_pages(void* data, std::size_t bytes);

class LargeBuffer {
 public:
  LargeBuffer() = default;
  // Zero-filled. Throws std::bad_alloc when the memory cannot be had.
  explicit LargeBuffer(std::size_t bytes);
  LargeBuffer(LargeBuffer&& other) noexcept { swap(other); }
  LargeBuffer& operator=(LargeBuffer&& other) noexcept {
    LargeBuffer moved(std::move(other));
    swap(moved);
    return *this;
  }
  ~LargeBuffer();

  void* data() const { return data_; }
  std::size_t size() const { return bytes_; }
  template <typename T>
  T* as() const {
    return static_cast<T*>(data_);
  }

 private:
  void swap(LargeBuffer& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(bytes_, other.bytes_);
  }
  void* data_ = nullptr;
  std::size_t bytes_ = 0;
};

}  // namespace compare::exact
