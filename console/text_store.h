#pragma once
// The Input/Output text: every line the program wrote or the user typed,
// run together in one buffer, with a table of where each line starts.
// Lines are numbered from 1; columns within a line from 0.
#include <cstddef>
#include <string_view>
#include <vector>

namespace console {

class TextStore {
 public:
  // The first capacity, taken once when the store is made. Output or typing
  // beyond it grows the store rather than losing text.
  static constexpr int kInitialTextBytes = 262144;
  static constexpr int kInitialLineEntries = 32768;  // room for 32767 lines

  TextStore();

  int line_count() const { return line_count_; }
  // The 1-based offset of line k in the text, for k = 1 .. line_count() + 1;
  // line k ends just before line k + 1 starts.
  int line_starts(int k) const;
  int line_length(int k) const;
  // Line k's bytes; empty for a line that does not exist. The view is valid
  // until the store next changes.
  std::string_view line_text(int k) const;

  // The widest line seen, in columns; it never shrinks, not even when text
  // is deleted, so the horizontal scroll range never jumps back.
  int longest_line() const { return longest_line_; }
  void widen_longest_line(int columns);

  // Opens an empty line N + 1 where line N ends.
  void start_new_line();
  // Fills the line just opened by start_new_line.
  void store_new_line_text(std::string_view bytes);
  // Line N grows by one, with a blank at the column (0 .. its length).
  void insert_blank(int column);
  // Writes at the column of line N; at the line's end the line grows.
  void put_char(int column, char character);
  // Removes up to n characters of line k from the column, never reaching
  // into the next line; later text moves left. Returns how many went.
  int delete_chars(int k, int column, int n);

  std::size_t text_capacity() const { return text_.size(); }
  std::size_t line_capacity() const { return starts_.size(); }

 private:
  int used_bytes() const { return starts_[static_cast<std::size_t>(line_count_)]; }
  int start_of(int k) const { return starts_[static_cast<std::size_t>(k - 1)]; }
  bool is_line(int k) const { return k >= 1 && k <= line_count_; }
  void make_text_room(std::size_t extra_bytes);
  void make_line_room();

  std::vector<char> text_;
  // starts_[k - 1]: 0-based offset of line k; entry N holds the end of text.
  std::vector<int> starts_;
  int line_count_ = 0;
  int longest_line_ = 0;
};

}  // namespace console
