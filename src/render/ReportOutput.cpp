#include "ReportOutput.h"

#include "AppError.h"
#include "TPainterPageCanvas.h"
#include "report/TPageSurface.h"
#include "storage/FileErrors.h"
#include "storage/TSafeFile.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace ReportOutput {

bool PaintPages(const TReportDocument &document, QPagedPaintDevice &device, int first, int last, int copies)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double dotsPerCm = TPainterPageCanvas::DotsPerCm(device.logicalDpiX());
    bool firstPage = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = first; page <= last; ++page) {
            if (!firstPage)
                device.newPage();
            firstPage = false;
            TPainterPageCanvas::PaintPage(document, page, painter, dotsPerCm);
        }
    }
    return painter.end();
}

namespace {

void SetUp(QPdfWriter &writer, const QString &title)
{
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(1200);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Тарвел"));
}

} // namespace

void WritePdf(const TReportDocument &document, QIODevice &out)
{
    QPdfWriter writer(&out);
    SetUp(writer, document.Title());
    if (!PaintPages(document, writer, 0, document.PageCount() - 1))
        throw AppError(FileErrors::WriteFailedMessage());
}

void WritePdf(const QString &title, const std::function<void(const TPageSink &sink)> &compose, QIODevice &out)
{
    QPdfWriter writer(&out);
    SetUp(writer, title);
    QPainter painter;
    if (!painter.begin(&writer))
        throw AppError(FileErrors::WriteFailedMessage());
    const double dotsPerCm = TPainterPageCanvas::DotsPerCm(writer.logicalDpiX());
    bool firstPage = true;
    compose([&](const TReportDocument &document, int index) {
        if (!firstPage)
            writer.newPage();
        firstPage = false;
        TPainterPageCanvas::PaintPage(document, index, painter, dotsPerCm);
    });
    if (!painter.end())
        throw AppError(FileErrors::WriteFailedMessage());
}

void WritePdf(const TReportDocument &document, const QString &path)
{
    TSafeFile file(path);
    file.Open();
    try {
        WritePdf(document, file);
    } catch (const AppError &e) {
        throw TFileError(path, e.message(), e.message(), true);
    }
    file.Commit();
}

QImage PageImage(const TReportDocument &document, int index, double dpi)
{
    const double dotsPerCm = dpi / 2.54;
    QImage image(qRound(TPageSurface::kPaperWidth * dotsPerCm), qRound(TPageSurface::kPaperHeight * dotsPerCm),
                 QImage::Format_RGB32);
    const int dotsPerMetre = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    TPainterPageCanvas::PaintPage(document, index, painter, TPainterPageCanvas::DotsPerCm(image.logicalDpiX()), true);
    return image;
}

} // namespace ReportOutput
