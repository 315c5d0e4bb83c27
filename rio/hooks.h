#pragma once
// The runtime's side of the console hooks: every console byte and the
// process end pass through these calls.
#include "rio/rio.h"

namespace rio {

int call_read_hook(char* buffer, int max);
int call_write_hook(const char* bytes, int count, int handle);
void call_exit_hook(int code);
void call_idle_hook();

}  // namespace rio
