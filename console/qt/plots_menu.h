#pragma once
// The pictures of a finished comparison in the desktop program: a "Plots"
// menu of program-defined items, one for each measure's heat map and one
// for the agreement at equal cluster counts, then the heat maps of
// variation of information and NMI and the Fowlkes-Mallows Bk curve, shown
// in the graphics window; the cell under the mouse named in its title; the
// picture saved as PNG or SVG, and printed by File > Print while its window
// is the active one. The last three need exact values, which the run that
// wrote MATRICES.DAT does not have: the first of them asked for has an
// exact comparison of the two dendrograms made, its progress shown, the
// windows served meanwhile.
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

// What the pictures are drawn from.
struct PlotsResults {
  // The single-precision tables of the run, with the compared levels' heights.
  std::shared_ptr<const compare::Comparison> tables;
  // The two dendrograms compared, for the exact comparison; without them
  // the pictures that need it say that no level pairs were compared.
  std::shared_ptr<const compare::DendrogramFile> first, second;
};

// Window thread: puts the Plots menu in front of Window, its items taking
// program command ids from the next free one (800 in a run). Only once:
// false, and nothing changed, when the menu is there already or the frame
// is not.
bool install_plots_menu(ConsoleState& state, PlotsResults results, PlotsHooks hooks = {});

// For compare::set_results_observer: takes a copy of the results on the
// body's thread, which goes on to end the program, and installs the menu on
// the window thread.
compare::ResultsObserver plots_results_observer(ConsoleState& state, PlotsHooks hooks = {});

}  // namespace console::qt
