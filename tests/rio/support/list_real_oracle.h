#pragma once
// The field of one list-directed 4-byte real, by the one-pass editor and by
// the general editor, for tests that hold the two against each other.
#include <string>

namespace rio {

std::string fast_list_real4(float value);
std::string general_list_real4(float value);

}  // namespace rio
