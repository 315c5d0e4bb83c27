#pragma once
// Saving the Input/Output text as a plain text file: every line of the
// store as stored, each followed by CR LF, nothing else.
#include <string>
#include <string_view>

#include "console/text_store.h"

namespace console {

// Where the environment's own failure messages go: a warning message box
// with one OK button and no owner window.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void warn(std::string_view text, std::string_view caption) = 0;
};

inline constexpr std::string_view kMessageCaption = "TOLM";
inline constexpr std::string_view kCannotCreateFile = "Cannot create file";
inline constexpr std::string_view kWriteError = "I/O error while writing file";

// Replaces file_name with the whole text. text_unchanged becomes 1 only when
// every line reached the file; after a failure it stays as it was, so that
// closing still offers to save.
void save_window_text(const TextStore& store, const std::string& file_name, MessageSink& messages,
                      int& text_unchanged);

}  // namespace console
