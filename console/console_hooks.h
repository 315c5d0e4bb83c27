#pragma once
// The window side of the console hooks, without the waiting: what a write
// shows and what a read hands back.
#include <string_view>

#include "console/text_store.h"

namespace console {

// A written record as the line it becomes: a final line feed, and then a
// final carriage return, are dropped, nothing else. Every call is one line.
std::string_view output_line_of(const char* bytes, int count);

// The answer to a read once Enter has ended the wait: the last line, cut to
// leave room for CR LF within capacity, and CR LF. Returns the bytes placed;
// nothing is written beyond capacity.
int deliver_input_line(const TextStore& store, char* buffer, int capacity);

}  // namespace console
