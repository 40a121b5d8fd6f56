#pragma once
// The scheme as a picture of its own: the view drawn afresh, at the drawing rectangle's size
// exactly what the control shows there, at another size the same view fitted to it. PNG goes
// through the same 32-bit image canvas as the control (and out through PngWriter); SVG through
// Qt SVG with the same drawing calls, so lines stay vectors (one polyline per drawn segment).
#include <QImage>
#include <QString>

class QIODevice;

class TSchemeView;

namespace SchemePicture {

enum class TFormat { Png, Svg, Unknown };

// From the file name's extension (.png, .svg; any case).
TFormat FormatOf(const QString &path);

// The view's picture at the given size (the drawing rectangle's size when empty) on the
// background colour, 32 bits per pixel.
QImage Render(TSchemeView &view, QSize size = QSize());

// Writes the picture at the given size (the drawing rectangle's size when empty); the file is
// replaced only when the whole picture was written (TSafeFile). Failures raise AppError
// (TFileError for the file's own), the file as it was.
void Write(TSchemeView &view, const QString &path, QSize size = QSize());
// The picture into out, open for writing (the caller commits a TSafeFile).
void Write(TSchemeView &view, QIODevice &out, TFormat format, QSize size = QSize());
// The same, for a window: false with the reason of the failure in *error.
bool Write(TSchemeView &view, const QString &path, QString *error, QSize size = QSize());

} // namespace SchemePicture
