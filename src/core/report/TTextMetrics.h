#pragma once
// Text measurement for report composition, in centimetres. The composition only measures; the
// rendering library answers with the fonts the printer and the PDF will use, tests with made-up
// widths.
#include "report/TReportDocument.h"

#include <QStringView>

class TTextMetrics {
public:
    virtual ~TTextMetrics() = default;
    // Width of the text set as one line.
    virtual double Width(const TReportFont &font, QStringView text) const = 0;
    // Height of the text set as one line: the font's line height.
    virtual double Height(const TReportFont &font, QStringView text) const = 0;
};
