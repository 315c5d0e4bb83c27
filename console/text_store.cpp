#include "console/text_store.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace console {

namespace {

// Offsets are 32-bit; text beyond that is refused like memory that cannot
// be had, never written past the table's reach.
std::size_t grown_size(std::size_t current, std::size_t needed) {
  constexpr auto kMost = static_cast<std::size_t>(std::numeric_limits<int>::max());
  if (needed > kMost) throw std::length_error("Input/Output text too large");
  return std::min(std::max(current * 2, needed), kMost);
}

}  // namespace

TextStore::TextStore()
    : text_(static_cast<std::size_t>(kInitialTextBytes)),
      starts_(static_cast<std::size_t>(kInitialLineEntries)) {}

int TextStore::line_starts(int k) const {
  if (k < 1 || k > line_count_ + 1) return 0;
  return start_of(k) + 1;
}

int TextStore::line_length(int k) const {
  if (!is_line(k)) return 0;
  return start_of(k + 1) - start_of(k);
}

std::string_view TextStore::line_text(int k) const {
  if (!is_line(k)) return {};
  return {text_.data() + start_of(k), static_cast<std::size_t>(line_length(k))};
}

void TextStore::widen_longest_line(int columns) { longest_line_ = std::max(longest_line_, columns); }

void TextStore::start_new_line() {
  make_line_room();
  ++line_count_;
  starts_[static_cast<std::size_t>(line_count_)] = start_of(line_count_);
}

void TextStore::store_new_line_text(std::string_view bytes) {
  if (line_count_ == 0 || bytes.empty()) return;
  make_text_room(bytes.size());
  std::memcpy(text_.data() + used_bytes(), bytes.data(), bytes.size());
  starts_[static_cast<std::size_t>(line_count_)] += static_cast<int>(bytes.size());
}

void TextStore::insert_blank(int column) {
  if (line_count_ == 0 || column < 0 || column > line_length(line_count_)) return;
  make_text_room(1);
  char* at = text_.data() + start_of(line_count_) + column;
  // Line N is the last line, so only its own tail moves.
  std::memmove(at + 1, at, static_cast<std::size_t>(line_length(line_count_) - column));
  *at = ' ';
  ++starts_[static_cast<std::size_t>(line_count_)];
}

void TextStore::put_char(int column, char character) {
  int length = line_length(line_count_);
  if (line_count_ == 0 || column < 0 || column > length) return;
  if (column == length) {
    make_text_room(1);
    ++starts_[static_cast<std::size_t>(line_count_)];
  }
  text_[static_cast<std::size_t>(start_of(line_count_) + column)] = character;
}

int TextStore::delete_chars(int k, int column, int n) {
  if (!is_line(k) || column < 0) return 0;
  n = std::min(n, line_length(k) - column);
  if (n <= 0) return 0;
  char* from = text_.data() + start_of(k) + column;
  std::memmove(from, from + n, static_cast<std::size_t>(used_bytes() - (start_of(k) + column + n)));
  for (int j = k; j <= line_count_; ++j) starts_[static_cast<std::size_t>(j)] -= n;
  return n;
}

void TextStore::make_text_room(std::size_t extra_bytes) {
  std::size_t needed = static_cast<std::size_t>(used_bytes()) + extra_bytes;
  if (needed > text_.size()) text_.resize(grown_size(text_.size(), needed));
}

void TextStore::make_line_room() {
  // Entry N + 1 is the end of the new line N + 1.
  auto needed = static_cast<std::size_t>(line_count_) + 2;
  if (needed > starts_.size()) starts_.resize(grown_size(starts_.size(), needed));
}

}  // namespace console
