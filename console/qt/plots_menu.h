#pragma once
// The pictures of a finished comparison in the desktop program: a "Plots"
// menu of program-defined items, one for each measure's heat map and one
// for the agreement at equal cluster counts, shown in the graphics window;
// the cell under the mouse named in its title; the picture saved as PNG or
// SVG, and printed by File > Print while its window is the active one.
#include <QString>
#include <functional>
#include <memory>

#include "compare/program.h"
#include "console/qt/console_state.h"
#include "console/qt/picture_printing.h"
#include "engine/engine.h"

class QWidget;

namespace console::qt {

// What the pictures ask of the user, replaceable so that tests can answer.
struct PlotsHooks {
  // The file to save the picture to, its extension saying PNG or SVG;
  // empty when cancelled. Unset: a file dialog.
  std::function<QString(QWidget* owner)> choose_picture_file;
  // Unset: the print dialog.
  PrinterChooser choose_printer;
  // Shows why a picture could not be saved. Unset: a message box.
  std::function<void(QWidget* owner, const QString& text)> report_failure;
};

inline constexpr const char* kPlotsMenuLabel = "&Plots";
inline constexpr const char* kSavePictureLabel = "Save Picture As...";
// The graphics window's size when it opens.
inline constexpr int kPlotsWindowWidth = 720;
inline constexpr int kPlotsWindowHeight = 540;

// Window thread: puts the Plots menu in front of Window, its items taking
// program command ids from the next free one (800 in a run). Only once:
// false, and nothing changed, when the menu is there already or the frame
// is not.
bool install_plots_menu(ConsoleState& state, std::shared_ptr<const compare::Comparison> results,
                        PlotsHooks hooks = {});

// For compare::set_results_observer: takes a copy of the results on the
// body's thread, which goes on to end the program, and installs the menu on
// the window thread.
compare::ResultsObserver plots_results_observer(ConsoleState& state, PlotsHooks hooks = {});

}  // namespace console::qt
