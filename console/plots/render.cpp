#include "console/plots/render.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <cstdio>

namespace console::plots {

namespace {

void set_error(std::string* error, const QString& path, const char* what) {
  if (error != nullptr) *error = QFile::encodeName(path).toStdString() + ": " + what;
}

bool write_png(const Picture& picture, const QString& path, QSize size) {
  return render_image(picture, size).save(path, "PNG");
}

// The generator gives the drawing's size in millimetres, rounded to six
// digits, which a renderer turns back into a pixel more or less: the size
// is given in pixels instead, a unit of the drawing to a pixel.
QByteArray in_pixels(QByteArray svg, QSize size) {
  static const QRegularExpression kSize(QStringLiteral("<svg width=\"[^\"]*\" height=\"[^\"]*\""));
  const QString text = QString::fromUtf8(svg);
  const QRegularExpressionMatch match = kSize.match(text);
  if (!match.hasMatch()) return svg;
  const QString pixels = QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(size.width()).arg(size.height());
  return QString(text).replace(match.capturedStart(), match.capturedLength(), pixels).toUtf8();
}

bool write_svg(const Picture& picture, const QString& path, QSize size) {
  QBuffer drawing;
  QSvgGenerator generator;
  generator.setOutputDevice(&drawing);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(picture.title());
  generator.setDescription(QStringLiteral("dendrocompare"));
  QPainter painter;
  if (!painter.begin(&generator)) return false;
  picture.draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  if (!painter.end()) return false;
  QFile file(path);
  const QByteArray svg = in_pixels(drawing.data(), size);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(svg) == svg.size() && file.flush();
}

// A program that only draws into files has no session, so Qt's note that
// it made itself a runtime directory says nothing to its user.
QtMessageHandler previous_handler = nullptr;

void drop_runtime_directory_note(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (previous_handler) return previous_handler(type, context, message);
  std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

QGuiApplication* graphical_application() {
  if (QCoreApplication::instance() == nullptr) {
    // No display is needed, or used, to draw into an image or a file.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    previous_handler = qInstallMessageHandler(drop_runtime_directory_note);
    static int argc = 1;
    static char name[] = "dendrocompare";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: tearing it down among the static
    // objects at exit is not safe.
    static auto* application = new QGuiApplication(argc, argv);
    return application;
  }
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

FileKind file_kind(const QString& path) {
  if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) return FileKind::png;
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) return FileKind::svg;
  return FileKind::unknown;
}

QImage render_image(const Picture& picture, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  picture.draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  return image;
}

bool write_picture(const Picture& picture, const QString& path, QSize size, std::string* error) {
  bool written = false;
  switch (file_kind(path)) {
    case FileKind::png: written = write_png(picture, path, size); break;
    case FileKind::svg: written = write_svg(picture, path, size); break;
    case FileKind::unknown:
      set_error(error, path, "the picture file's name must end in .png or .svg");
      return false;
  }
  if (!written) set_error(error, path, "cannot write the picture");
  return written;
}

int render_file(const compare::Comparison& results, const std::string& path, Measure measure, std::string* error,
                TangleSettings tangle) {
  QString name = QFile::decodeName(QByteArray::fromStdString(path));
  if (graphical_application() == nullptr) {
    set_error(error, name, "cannot draw the picture without a graphical application");
    return 1;
  }
  Picture picture(results, measure, std::move(tangle));
  return write_picture(picture, name, kFilePictureSize, error) ? 0 : 1;
}

}  // namespace console::plots
