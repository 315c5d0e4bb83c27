#pragma once
// Printing the Input/Output text: one store line per printed line in the
// printer's default font, from the top-left of the printable area, no
// header, footer or wrapping; all lines or those of a range of pages, in
// one or more collated copies, stoppable from a modeless Printing dialog.
#include <optional>
#include <string_view>

#include "console/text_store.h"

namespace console {

inline constexpr std::string_view kPrintDocumentName = "TOLM Input/Output";

// A printer chosen in the print dialog. Each step may fail.
class PrintDevice {
 public:
  virtual ~PrintDevice() = default;

  // The default font's character height plus its external leading, and the
  // printable area's height, both in device pixels.
  virtual int line_height() = 0;
  virtual int printable_height() = 0;

  virtual bool start_document(std::string_view name) = 0;
  virtual bool start_page() = 0;
  // Draws text with the top-left of its first cell at (x, y).
  virtual void draw_line(int x, int y, std::string_view text) = 0;
  virtual bool end_page() = 0;
  virtual bool end_document() = 0;
};

struct PageRange {
  int first_page = 1;
  int last_page = 1;
};

// What the user chose in the print dialog.
struct PrintChoice {
  std::optional<PageRange> pages;  // nothing: every line
  int copies = 1;
};

// The window side of a print job: the dialogs and the owner window.
class PrintSession {
 public:
  virtual ~PrintSession() = default;

  // The print dialog; nothing when the user cancelled it. On a choice,
  // device() is the chosen printer until release_device().
  virtual std::optional<PrintChoice> choose_printer() = 0;
  virtual PrintDevice& device() = 0;
  virtual void release_device() = 0;

  virtual void show_printing_dialog() = 0;
  virtual void destroy_printing_dialog() = 0;
  virtual void set_owner_enabled(bool enabled) = 0;
  // Handles whatever the window system has pending, the Printing dialog's
  // Cancel among it.
  virtual void serve_pending_events() = 0;

  // 1 while the job may go on; any command of the Printing dialog clears it.
  int print_continue = 1;
};

struct PageLayout {
  int line_height = 1;
  int lines_per_page = 1;
};

// At least one line per page even with a font taller than the page, and no
// division by a zero line height.
PageLayout page_layout(int line_height, int printable_height);

// Store lines first .. last (1-based; empty when first > last).
struct LineRange {
  int first = 1;
  int last = 0;
};
LineRange lines_to_print(int line_count, const PageLayout& layout, const std::optional<PageRange>& pages);

enum class PrintOutcome { not_started, finished, cancelled, failed };

// The whole Print command. A cancelled or failed job is left unended, for
// the printing system to abandon. A page is started only for a line that
// goes on it, so a range that fills its last page exactly, or one that
// lies past the last line, gives no empty sheet.
PrintOutcome print_store(const TextStore& store, PrintSession& session);

}  // namespace console
