#include "SchemePicture.h"

#include "TImageSchemeCanvas.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TSchemeView.h"
#include "storage/FileErrors.h"
#include "storage/RegularFile.h"

#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace SchemePicture {
namespace {

QSize PictureSize(const TSchemeView &view)
{
    const TSchemeRect &r = view.DrawRect();
    return QSize(std::abs(r.Width()), std::abs(r.Height()));
}

bool Fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

TFormat FormatOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return TFormat::Png;
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return TFormat::Svg;
    return TFormat::Unknown;
}

QImage Render(TSchemeView &view)
{
    QImage image(PictureSize(view), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(TPainterSchemeCanvas::ToColor(SchemeColors::kBackground));
    QPainter painter(&image);
    TImageSchemeCanvas canvas(painter, image);
    view.DrawAt(canvas, QPoint(0, 0));
    return image;
}

bool Write(TSchemeView &view, const QString &path, QString *error)
{
    const TFormat format = FormatOf(path);
    if (format == TFormat::Unknown)
        return Fail(error, QStringLiteral("Схему можно сохранить только в файл PNG или SVG."));
    const QSize size = PictureSize(view);
    if (size.isEmpty())
        return Fail(error, QStringLiteral("Пустая схема."));
    // The picture would be renamed over whatever has the name: a pipe or a device is refused.
    if (RegularFile::IrregularTarget(path))
        return Fail(error, FileErrors::NotRegularText());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(error, file.errorString());
    if (format == TFormat::Png) {
        const QImage image = Render(view);
        if (image.isNull())
            return Fail(error, QStringLiteral("Недостаточно памяти для схемы такого размера."));
        if (!image.save(&file, "PNG"))
            return Fail(error, file.errorString());
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("Топологическая схема"));
        QPainter painter;
        if (!painter.begin(&svg))
            return Fail(error, file.errorString());
        painter.fillRect(QRect(QPoint(0, 0), size), TPainterSchemeCanvas::ToColor(SchemeColors::kBackground));
        {
            TPainterSchemeCanvas canvas(painter);
            view.DrawAt(canvas, QPoint(0, 0));
        }
        painter.end();
    }
    if (!file.commit())
        return Fail(error, file.errorString());
    return true;
}

} // namespace SchemePicture
