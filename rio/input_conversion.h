#pragma once
// Conversion of one input value (the characters of a list-directed value or
// of a formatted field) into an element of the item's class.
#include <cstddef>
#include <string_view>

namespace rio {

// Optional sign, then digits of the base; leading blanks ignored; a lone
// sign or an empty text reads 0. The value is kept modulo 2^32 (2^64 for
// 8-byte items) and stored in the item's low-order bytes.
int convert_integer(std::string_view text, int base, void* address, int size);

// Real values: digits, point, exponent with or without a letter, and the
// values beginning with I or N (infinity and not-a-number). implied_places
// applies when the text has no point, scale when it has no exponent.
int convert_real(std::string_view text, void* address, int size, int implied_places = 0, int scale = 0);

// True when the first character after blanks and one "." is T or t.
void convert_logical(std::string_view text, void* address, int size);

// Left-justified, blank-filled, cut on the right.
void convert_character(std::string_view text, void* address, int size);

}  // namespace rio
