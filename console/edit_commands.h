#pragma once
// Cut, Copy, Paste and Delete of the Edit menu. They act on the Input/Output
// window's one selection and on the system clipboard in plain-text form.
// Clipboard failures are silent: a command that cannot reach the clipboard
// leaves the text and the clipboard as they were.
#include <optional>
#include <string>
#include <string_view>

#include "console/io_window.h"

namespace console {

// The system clipboard as the edit commands use it. Every step may fail.
class Clipboard {
 public:
  virtual ~Clipboard() = default;

  virtual bool open() = 0;
  virtual bool empty() = 0;
  // Hands over one plain-text block, its terminating NUL included; the
  // clipboard then owns a copy of it.
  virtual bool set_text(const std::string& block) = 0;
  virtual bool has_text() = 0;
  // The plain-text block as held, or nothing when there is none.
  virtual std::optional<std::string> get_text() = 0;
  virtual void close() = 0;
};

// A paste types at most this many characters.
inline constexpr std::size_t kPasteLimit = 1024;

// 1 when the clipboard now holds the selected characters, else 0.
int copy_selection(IoWindow& window, Clipboard& clipboard);
// Copy, then Delete only if the copy succeeded; the copy's result.
int cut_selection(IoWindow& window, Clipboard& clipboard);
// Types the clipboard's text at the caret, as if the user typed it. An
// Enter that answers a waiting read stops the typing there, so that the
// read gets the line just ended; the characters after it are returned, for
// the caller to type once the read has its line (type_pasted).
std::string paste_clipboard(IoWindow& window, Clipboard& clipboard);
// Types characters as a paste does; returns those left after an Enter that
// answered a waiting read.
std::string type_pasted(IoWindow& window, std::string_view characters);
// Removes the selected characters from their line.
void delete_selection(IoWindow& window);

// The characters a paste types from a clipboard block: up to its first NUL,
// at most kPasteLimit of them.
std::string_view pasted_characters(std::string_view block);

}  // namespace console
