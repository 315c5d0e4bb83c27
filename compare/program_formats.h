#pragma once
// The comparison's two FORMAT statements, carried as precompiled tables
// with their source texts (label digits followed by the format).
#include "rio/format.h"

namespace compare {

// "9983(A)": the reply to a file-name prompt.
const rio::PrecompiledFormat& format_9983();
// "797(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)": one minimum line.
const rio::PrecompiledFormat& format_797();

}  // namespace compare
