#include "console/qt/plots_menu.h"

#include <QEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <array>
#include <new>
#include <optional>
#include <string>

#include "console/plots/picture.h"
#include "console/plots/render.h"
#include "console/qt/computation_progress.h"
#include "console/qt/frame_window.h"
#include "console/qt/graphics_window.h"
#include "console/qt/message_pump.h"
#include "console/qt/program_menus.h"

namespace console::qt {

namespace {

using plots::Measure;

constexpr Measure kShownFirst = Measure::adjusted_rand;

// Which comparison a picture is drawn from: the run's own tables, or the
// exact one made on demand.
enum class Source { tables, exact };

// One row of the menu: a picture, or a separator.
struct PlotItem {
  std::optional<Measure> measure;
  Source source = Source::tables;
};

// The pictures in menu order, each labelled with its title; Save Picture
// As follows them. One more picture is one more row.
constexpr std::array<PlotItem, 11> kPlotItems = {{
    {Measure::jaccard},
    {Measure::rand},
    {Measure::euclidean},
    {Measure::sorensen},
    {Measure::adjusted_rand},
    {Measure::agreement},
    {},
    {Measure::variation_of_information, Source::exact},
    {Measure::nmi, Source::exact},
    {Measure::bk, Source::exact},
    {Measure::tanglegram, Source::exact},
}};

Source source_of(Measure measure) {
  for (const PlotItem& item : kPlotItems) {
    if (item.measure == measure) return item.source;
  }
  return Source::tables;
}

constexpr ComputationLabel kExactProgress{"Computing exact values", 1};

QString choose_picture_file_by_dialog(QWidget* owner) {
  const QString png = QStringLiteral("PNG image (*.png)");
  const QString svg = QStringLiteral("SVG drawing (*.svg)");
  QString chosen_filter = png;
  QString path = QFileDialog::getSaveFileName(owner, QStringLiteral("Save Picture As"), QString(),
                                              png + QStringLiteral(";;") + svg, &chosen_filter);
  if (!path.isEmpty() && plots::file_kind(path) == plots::FileKind::unknown) {
    path += chosen_filter == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
  }
  return path;
}

void report_failure_in_box(QWidget* owner, const QString& text) {
  QMessageBox::warning(owner, QStringLiteral("TOLM"), text);
}

PlotsHooks with_defaults(PlotsHooks hooks) {
  if (!hooks.choose_picture_file) hooks.choose_picture_file = choose_picture_file_by_dialog;
  if (!hooks.choose_printer) hooks.choose_printer = choose_printer_by_dialog;
  if (!hooks.report_failure) hooks.report_failure = report_failure_in_box;
  return hooks;
}

// 1-based position of a popup on the menu bar; 0 when it is not there.
int popup_position(const QMenuBar& bar, const QMenu* popup) {
  QList<QAction*> entries = bar.actions();
  for (qsizetype i = 0; i < entries.size(); ++i) {
    if (popup != nullptr && entries[i] == popup->menuAction()) return static_cast<int>(i) + 1;
  }
  return 0;
}

int append_item(ConsoleState& state, int popup, const QString& label, MenuHandler handler, int flags = 0) {
  QByteArray text = label.toLatin1();
  return append_menu_item(state, popup, flags, text.constData(), std::move(handler), static_cast<int>(text.size()));
}

// Lives as long as the frame, as its child: the menu's handlers, the
// picture shown and the printing of it.
class PlotsController : public QObject {
 public:
  PlotsController(ConsoleState& state, PlotsResults results, PlotsHooks hooks)
      : QObject(state.frame_window),
        state_(state),
        results_(std::move(results)),
        hooks_(with_defaults(std::move(hooks))),
        picture_(std::make_unique<plots::Picture>(*results_.tables, kShownFirst)) {
    setObjectName(QStringLiteral("plots"));
  }

  bool build_menu() {
    int flags = 0;
    int position = popup_position(*state_.main_menu, state_.window_menu);
    if (position == 0) position = static_cast<int>(state_.main_menu->actions().size()) + 1;
    QByteArray label(kPlotsMenuLabel);
    if (insert_menu_item(state_, position, 0, flags, label.constData(), nullptr, static_cast<int>(label.size())) != 1) {
      return false;
    }
    for (const PlotItem& item : kPlotItems) {
      if (!item.measure) {
        append_item(state_, position, QString(), nullptr, kMenuSeparator);
        continue;
      }
      Measure measure = *item.measure;
      append_item(state_, position, QString::fromLatin1(plots::measure_title(measure)),
                  [this, measure](std::int32_t&) { choose(measure); });
    }
    append_item(state_, position, QString(), nullptr, kMenuSeparator);
    append_item(state_, position, QString::fromLatin1(kSavePictureLabel), [this](std::int32_t&) { save(); });
    return true;
  }

  void take_over_printing(FrameWindow& frame) {
    printing_ = std::make_unique<PicturePrintingServices>(
        frame.services(), [this] { return picture_active(); }, [this](QWidget* owner) { print(owner); });
    frame.set_services(printing_.get());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseMove) {
      auto* contents = static_cast<QWidget*>(watched);
      name_cell_at(*contents, static_cast<QMouseEvent*>(event)->position());
    } else if (event->type() == QEvent::Leave) {
      set_title(picture_->title());
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QMdiSubWindow* graphics_child() const { return qobject_cast<QMdiSubWindow*>(state_.graphics_window); }

  // The picture last chosen is the one shown, also when it was chosen
  // while the exact comparison for an earlier choice was under way.
  void choose(Measure measure) {
    wanted_ = measure;
    if (source_of(measure) == Source::exact && exact_ == nullptr && can_compare_exactly()) {
      if (computing_exact_) return;  // the computation under way shows it
      compute_exact();
      // Failed, cancelled by the end of the program, or another picture
      // chosen meanwhile and shown already.
      if (exact_ == nullptr || source_of(wanted_) != Source::exact) return;
    }
    show(wanted_);
  }

  bool can_compare_exactly() const { return results_.first != nullptr && results_.second != nullptr; }

  const compare::Comparison& results_for(Measure measure) const {
    return source_of(measure) == Source::exact && exact_ != nullptr ? *exact_ : *results_.tables;
  }

  // On the window thread, serving the windows at each progress report, so
  // that they stay usable; a close of the frame meanwhile cancels it.
  void compute_exact() {
    computing_exact_ = true;
    compare::CompareOptions options;
    options.precision = compare::Precision::exact;
    options.information = true;
    options.progress = [this](int done, int total) {
      show_computation_progress(state_, done, total, kExactProgress);
      pump_pending_messages();
      return !state_.quit_received;
    };
    try {
      exact_ = std::make_shared<const compare::Comparison>(
          compare::run_comparison(*results_.first, *results_.second, options));
    } catch (const compare::Cancelled&) {
    } catch (const compare::InputError& error) {
      hooks_.report_failure(state_.frame_window,
                            QStringLiteral("The exact values cannot be computed: ") + QString::fromLocal8Bit(error.what()));
    } catch (const std::bad_alloc&) {
      hooks_.report_failure(state_.frame_window,
                            QStringLiteral("The exact values cannot be computed: there is not enough memory."));
    }
    end_computation_display(state_);
    computing_exact_ = false;
  }

  void show(Measure measure) {
    picture_ = std::make_unique<plots::Picture>(results_for(measure), measure);
    QMdiSubWindow* child = graphics_child();
    if (child == nullptr) {
      open_window();
      return;
    }
    set_title(picture_->title());
    child->show();
    if (state_.mdi_client != nullptr) state_.mdi_client->setActiveSubWindow(child);
    child->widget()->update();
  }

  void open_window() {
    int width = kPlotsWindowWidth, height = kPlotsWindowHeight, map_mode = kMapText;
    QByteArray title = picture_->title().toLatin1();
    PaintRoutine paint = [this](QPainter*& painter) { draw(*painter); };
    if (open_graphics_window(state_, width, height, title.constData(), map_mode, paint,
                             static_cast<int>(title.size())) != 1) {
      return;
    }
    QWidget* contents = graphics_child()->widget();
    contents->setMouseTracking(true);
    contents->installEventFilter(this);
  }

  void draw(QPainter& painter) const {
    const QPaintDevice* device = painter.device();
    picture_->draw(painter, QRectF(0, 0, device->width(), device->height()));
  }

  // The cell of a heat map, or the object's line of a tanglegram, that
  // the pointer is over, named in the title.
  void name_cell_at(const QWidget& contents, QPointF point) {
    const QRectF area(contents.rect());
    if (std::optional<QString> line = picture_->describe_point(area, point, &contents)) {
      set_title(picture_->title() + QStringLiteral(": ") + *line);
      return;
    }
    std::optional<plots::Cell> cell = picture_->cell_at(area, point, &contents);
    set_title(cell ? picture_->title() + QStringLiteral(": ") + picture_->describe(*cell) : picture_->title());
  }

  void set_title(const QString& title) {
    if (QMdiSubWindow* child = graphics_child()) child->setWindowTitle(title);
  }

  bool picture_active() const {
    return state_.mdi_client != nullptr && graphics_child() != nullptr &&
           state_.mdi_client->currentSubWindow() == graphics_child();
  }

  // The size the picture has on the screen; the file size before it is shown.
  QSize picture_size() const {
    QMdiSubWindow* child = graphics_child();
    return child != nullptr && !child->widget()->size().isEmpty() ? child->widget()->size() : plots::kFilePictureSize;
  }

  void save() {
    QString path = hooks_.choose_picture_file(state_.frame_window);
    if (path.isEmpty()) return;
    std::string error;
    if (!plots::write_picture(*picture_, path, picture_size(), &error)) {
      hooks_.report_failure(state_.frame_window, QString::fromLocal8Bit(error));
    }
  }

  void print(QWidget* owner) {
    QSize size = picture_size();
    print_picture([this](QPainter& painter, const QRectF& area) { picture_->draw(painter, area); },
                  picture_->title(), size.width(), size.height(), owner, hooks_.choose_printer);
  }

  ConsoleState& state_;
  PlotsResults results_;
  std::shared_ptr<const compare::Comparison> exact_;  // made on demand
  bool computing_exact_ = false;
  Measure wanted_ = kShownFirst;
  PlotsHooks hooks_;
  std::unique_ptr<plots::Picture> picture_;
  std::unique_ptr<PicturePrintingServices> printing_;
};

}  // namespace

bool install_plots_menu(ConsoleState& state, PlotsResults results, PlotsHooks hooks) {
  FrameWindow* frame = state.frame_window;
  if (frame == nullptr || state.main_menu == nullptr || results.tables == nullptr) return false;
  if (frame->findChild<QObject*>(QStringLiteral("plots"), Qt::FindDirectChildrenOnly) != nullptr) return false;
  auto* controller = new PlotsController(state, std::move(results), std::move(hooks));
  if (!controller->build_menu()) {
    delete controller;
    return false;
  }
  controller->take_over_printing(*frame);
  return true;
}

compare::ResultsObserver plots_results_observer(ConsoleState& state, PlotsHooks hooks) {
  return [&state, hooks](const compare::RunResults& run) {
    auto tables = std::make_shared<compare::Comparison>();
    tables->tables = run.tables;
    tables->heights1 = run.heights1;
    tables->heights2 = run.heights2;
    PlotsResults results{tables, std::make_shared<const compare::DendrogramFile>(run.first),
                         std::make_shared<const compare::DendrogramFile>(run.second)};
    FrameWindow* frame = state.frame_window;
    if (frame == nullptr) return;
    QMetaObject::invokeMethod(
        frame, [&state, hooks, results] { install_plots_menu(state, results, hooks); }, Qt::QueuedConnection);
  };
}

}  // namespace console::qt
