#pragma once
// Pictures as files: PNG through an image, SVG through the SVG generator,
// chosen by the file name's extension; and the one call a program without
// windows makes, which brings up Qt's offscreen platform when no
// application is running.
#include <QSize>
#include <QString>
#include <string>

#include "console/plots/measure.h"
#include "console/plots/picture.h"
#include "engine/engine.h"

class QGuiApplication;
class QImage;

namespace console::plots {

// The size of a picture written to a file, in pixels (PNG) or user units (SVG).
inline constexpr QSize kFilePictureSize{1000, 750};

enum class FileKind { png, svg, unknown };
// By the extension, in any case: ".png", ".svg".
FileKind file_kind(const QString& path);

QImage render_image(const Picture& picture, QSize size);

// Writes the picture to path as its extension says. false with *error (may
// be null) saying why: "<path>: the picture file's name must end in .png or
// .svg" or "<path>: cannot write the picture".
bool write_picture(const Picture& picture, const QString& path, QSize size, std::string* error);

// The running application if it is a graphical one; without any, one made
// on the offscreen platform, no display needed, and kept to the end of the
// process. Null when a non-graphical application is running.
QGuiApplication* graphical_application();

// The picture of measure for a comparison, written to path (a file name in
// the local encoding) at kFilePictureSize, in the graphical application above. 0
// when written; 1 with *error (may be null) set otherwise, also when a
// non-graphical application is running.
// A tanglegram takes its labels and choices from `tangle`.
int render_file(const compare::Comparison& results, const std::string& path, Measure measure, std::string* error,
                TangleSettings tangle = {});

}  // namespace console::plots
