#pragma once
// Where a composed report goes without widgets: pages painted onto a paged device (a printer or
// a PDF writer), a PDF file, a page as a picture.
#include "report/TReportDocument.h"

#include <QImage>
#include <QString>
#include <functional>

class QIODevice;
class QPagedPaintDevice;

namespace ReportOutput {

// Paints pages first..last (0-based) copies times, one copy after the other, onto a device whose
// painting origin is the paper's top left corner (a printer in full-page mode, a PDF writer
// without margins). False when the device cannot be painted on.
bool PaintPages(const TReportDocument &document, QPagedPaintDevice &device, int first, int last, int copies = 1);

// Writes every page as an A4 PDF titled like the report. The file is replaced only once it is
// complete (TSafeFile); failures raise TFileError.
void WritePdf(const TReportDocument &document, const QString &path);
// The same PDF into out, open for writing (the caller commits a TSafeFile).
void WritePdf(const TReportDocument &document, QIODevice &out);
// A PDF titled title written while the report is composed: compose gets a sink that paints each
// page as soon as it is finished (the document then drops it), so that a report of any length
// holds one page at a time. Failures raise AppError.
void WritePdf(const QString &title, const std::function<void(const TPageSink &sink)> &compose, QIODevice &out);

// One page on white paper at dpi dots per inch.
QImage PageImage(const TReportDocument &document, int index, double dpi);

} // namespace ReportOutput
