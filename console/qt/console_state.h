#pragma once
// The window environment's one process-wide record: its windows and menus,
// the program-defined menu items and timers, the flags that steer closing,
// the Input/Output text and the file it was last saved to.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "console/qt/frame_services.h"
#include "console/text_store.h"

class QApplication;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QPainter;
class QTimer;
class QWidget;

namespace console::qt {

class BodyThread;
class FrameWindow;
class IoWidget;

// A program-defined menu item's handler gets the item's check state, 1 or 0.
using MenuHandler = std::function<void(std::int32_t& checked)>;
using TimerHandler = std::function<void()>;

// The graphics window's paint routine gets the address of the painter of
// the paint, which stands where a device context would.
using PaintRoutine = std::function<void(QPainter*& painter)>;

struct TimerSlot {
  std::int32_t timer_id = 0;  // 0 with no handler: a free slot
  TimerHandler handler;
  QTimer* platform_timer = nullptr;  // owned by the frame
};

// The one-shot pacing timer: the flag is cleared when it starts and set
// again when the delay has passed.
struct PacingValues {
  std::int32_t timer_fired = 1;
  int delay_ms = 100;
  int resolution_ms = 10;
};

inline constexpr int kFirstProgramCommand = 800;
// Room for 500 program-defined items; ids beyond it are refused.
inline constexpr int kLastProgramCommand = 1299;
inline constexpr int kTimerSlotCount = 100;

struct ConsoleState {
  QApplication* instance = nullptr;  // set once start-up has its application
  FrameWindow* frame_window = nullptr;
  QMdiArea* mdi_client = nullptr;
  QMdiSubWindow* io_window = nullptr;  // the Input/Output child window
  IoWidget* io_widget = nullptr;       // its contents
  QWidget* graphics_window = nullptr;  // the comparison never opens one
  PaintRoutine paint_routine;
  std::int32_t map_mode = 1;
  PacingValues pacing;
  QMenuBar* main_menu = nullptr;
  QMenu* window_menu = nullptr;  // the third popup, listing the child windows
  std::int32_t next_menu_command = kFirstProgramCommand;
  // Indexed by command id - 799; entry 0 is unused.
  std::array<MenuHandler, kLastProgramCommand - kFirstProgramCommand + 2> menu_handlers{};
  std::array<TimerSlot, kTimerSlotCount> timer_slots{};
  std::int32_t text_unchanged = 0;  // 1: the text is what was last saved
  std::int32_t closing = 0;         // 1: the frame has decided to close
  std::int32_t program_finished = 0;  // 1: the exit hook has run
  std::unique_ptr<TextStore> text_store;
  std::string file_name;   // full path of the file last saved to
  std::string file_title;  // its bare name
  // The frame is gone: every message loop ends, however deeply nested.
  bool quit_received = false;
  // The program body's own thread while it runs; null before and after.
  BodyThread* body_thread = nullptr;
  // The body computes: the busy cursor and the progress are shown.
  bool computing = false;
  // Save, Print and the edit commands, once start-up has made them.
  std::unique_ptr<FrameServices> frame_services;
};

// The process-wide record. It is never destroyed: the process ends inside
// the runtime's exit, with windows still alive, and nothing may be torn
// down behind them.
ConsoleState& console_state();

}  // namespace console::qt
