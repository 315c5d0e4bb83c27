#include "console/print_job.h"

#include <algorithm>
#include <cstdint>

namespace console {

namespace {

// One pass over the line range; the outcome of the copy.
class CopyPrinter {
 public:
  CopyPrinter(const TextStore& store, PrintSession& session, const PageLayout& layout)
      : store_(store), session_(session), device_(session.device()), layout_(layout) {}

  PrintOutcome print(LineRange lines) {
    row_ = 0;
    page_open_ = false;
    for (int k = lines.first; k <= lines.last; ++k) {
      if (!page_open_ && !open_page()) return PrintOutcome::failed;
      device_.draw_line(0, layout_.line_height * row_, store_.line_text(k));
      if (++row_ == layout_.lines_per_page && !close_page()) return PrintOutcome::failed;
      session_.serve_pending_events();
      if (session_.print_continue == 0) return PrintOutcome::cancelled;
    }
    if (page_open_ && !close_page()) return PrintOutcome::failed;
    return PrintOutcome::finished;
  }

 private:
  bool open_page() {
    page_open_ = device_.start_page();
    return page_open_;
  }

  bool close_page() {
    page_open_ = false;
    row_ = 0;
    return device_.end_page();
  }

  const TextStore& store_;
  PrintSession& session_;
  PrintDevice& device_;
  PageLayout layout_;
  int row_ = 0;
  bool page_open_ = false;
};

PrintOutcome print_copies(const TextStore& store, PrintSession& session, const PageLayout& layout,
                          LineRange lines, int copies) {
  PrintDevice& device = session.device();
  if (!device.start_document(kPrintDocumentName)) return PrintOutcome::failed;
  CopyPrinter printer(store, session, layout);
  // Each copy is a whole pass over the range, so copies come out collated.
  for (int copy = 0; copy < copies; ++copy) {
    PrintOutcome outcome = printer.print(lines);
    if (outcome != PrintOutcome::finished) return outcome;
  }
  device.end_document();
  return PrintOutcome::finished;
}

}  // namespace

PageLayout page_layout(int line_height, int printable_height) {
  PageLayout layout;
  layout.line_height = std::max(line_height, 1);
  layout.lines_per_page = std::max(printable_height / layout.line_height, 1);
  return layout;
}

LineRange lines_to_print(int line_count, const PageLayout& layout, const std::optional<PageRange>& pages) {
  if (!pages) return {1, line_count};
  // Page numbers reach 32767, so the line numbers are formed wide.
  std::int64_t per_page = layout.lines_per_page;
  std::int64_t first = per_page * (std::max(pages->first_page, 1) - 1) + 1;
  std::int64_t last = std::min<std::int64_t>(per_page * pages->last_page, line_count);
  if (first > last) return {1, 0};
  return {static_cast<int>(first), static_cast<int>(last)};
}

PrintOutcome print_store(const TextStore& store, PrintSession& session) {
  session.print_continue = 1;
  std::optional<PrintChoice> choice = session.choose_printer();
  if (!choice) return PrintOutcome::not_started;
  PrintDevice& device = session.device();
  PageLayout layout = page_layout(device.line_height(), device.printable_height());
  LineRange lines = lines_to_print(store.line_count(), layout, choice->pages);
  session.show_printing_dialog();
  session.set_owner_enabled(false);
  PrintOutcome outcome = print_copies(store, session, layout, lines, choice->copies);
  session.destroy_printing_dialog();
  session.release_device();
  session.set_owner_enabled(true);
  return outcome;
}

}  // namespace console
