#include "SchemePicture.h"

#include "AppError.h"
#include "PngWriter.h"
#include "TImageSchemeCanvas.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TSchemeView.h"
#include "storage/FileErrors.h"
#include "storage/TSafeFile.h"

#include <QPainter>
#include <QSvgGenerator>

namespace SchemePicture {
namespace {

QSize PictureSize(const TSchemeView &view, QSize size)
{
    if (!size.isEmpty())
        return size;
    const TSchemeRect &r = view.DrawRect();
    return QSize(std::abs(r.Width()), std::abs(r.Height()));
}

TSchemeRect Whole(QSize size) { return {0, 0, size.width(), size.height()}; }

} // namespace

TFormat FormatOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return TFormat::Png;
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return TFormat::Svg;
    return TFormat::Unknown;
}

QImage Render(TSchemeView &view, QSize size)
{
    size = PictureSize(view, size);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(TPainterSchemeCanvas::ToColor(SchemeColors::kBackground));
    QPainter painter(&image);
    TImageSchemeCanvas canvas(painter, image);
    view.DrawInto(canvas, Whole(size));
    return image;
}

void Write(TSchemeView &view, QIODevice &out, TFormat format, QSize size)
{
    size = PictureSize(view, size);
    if (size.isEmpty())
        throw AppError(QStringLiteral("Пустая схема."));
    if (format == TFormat::Png) {
        const QImage image = Render(view, size);
        if (image.isNull())
            throw AppError(QStringLiteral("Недостаточно памяти для схемы такого размера."));
        // The writer stops at the first failed write; a TSafeFile says what failed.
        QString reason;
        if (!PngWriter::Write(image, &out, &reason))
            throw AppError(reason);
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("Топологическая схема"));
        QPainter painter;
        if (!painter.begin(&svg))
            throw AppError(FileErrors::WriteFailedMessage());
        painter.fillRect(QRect(QPoint(0, 0), size), TPainterSchemeCanvas::ToColor(SchemeColors::kBackground));
        {
            TPainterSchemeCanvas canvas(painter);
            view.DrawInto(canvas, Whole(size));
        }
        painter.end();
    }
}

void Write(TSchemeView &view, const QString &path, QSize size)
{
    const TFormat format = FormatOf(path);
    if (format == TFormat::Unknown)
        throw AppError(QStringLiteral("Схему можно сохранить только в файл PNG или SVG."));
    size = PictureSize(view, size);
    if (size.isEmpty())
        throw AppError(QStringLiteral("Пустая схема."));
    TSafeFile file(path);
    file.Open();
    try {
        Write(view, file, format, size);
    } catch (const AppError &) {
        // A failed write is the file's to tell, with its reason (Commit raises it).
        if (!file.Failed())
            throw;
    }
    file.Commit();
}

bool Write(TSchemeView &view, const QString &path, QString *error, QSize size)
{
    try {
        Write(view, path, size);
        return true;
    } catch (const TFileError &e) {
        // The box names no file: the user just chose it.
        if (error)
            *error = e.Reason();
        return false;
    } catch (const AppError &e) {
        if (error)
            *error = e.message();
        return false;
    }
}

} // namespace SchemePicture
