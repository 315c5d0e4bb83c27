#pragma once
// The system clipboard for the edit commands, in plain-text form. The store
// holds bytes, which travel as Latin-1 characters: each byte is the
// character of the same code, so a copy and a paste give back every byte.
#include <optional>
#include <string>

#include "console/edit_commands.h"

namespace console::qt {

class QtClipboard : public console::Clipboard {
 public:
  // Fails only without a running GUI application.
  bool open() override;
  bool empty() override;
  // The block's characters up to its NUL.
  bool set_text(const std::string& block) override;
  bool has_text() override;
  // Characters beyond Latin-1, from other programs, arrive as '?'.
  std::optional<std::string> get_text() override;
  void close() override {}
};

}  // namespace console::qt
