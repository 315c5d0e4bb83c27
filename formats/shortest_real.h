#pragma once
// The shortest decimal that reads back to the same value, for the tables
// and files other programs load. The layout is that of std::to_chars
// without a format: fixed or scientific, whichever is shorter (fixed on a
// tie), so "0.6666667", "100", "1.5e-05", "123456792".
#include <string>

namespace compare {

// Room a written value may need, sign and exponent included.
inline constexpr int kShortestRoom = 32;

// Writes the value at out (kShortestRoom bytes available); returns the end.
char* write_shortest(char* out, float value);
char* write_shortest(char* out, double value);

void append_shortest(std::string& out, float value);
void append_shortest(std::string& out, double value);

}  // namespace compare
