#pragma once
// Report text measured with the fonts the preview, the printer and the PDF draw with. Sizes are
// taken at a fine resolution, so that measures do not depend on a screen's pixels.
// Needs a QGuiApplication (fonts).
#include "report/TTextMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <memory>
#include <vector>

class TQtTextMetrics : public TTextMetrics {
public:
    TQtTextMetrics();
    double Width(const TReportFont &font, QStringView text) const override;
    double Height(const TReportFont &font, QStringView text) const override;

    // The font a report font is drawn with.
    static QFont QtFont(const TReportFont &font);

private:
    const QFontMetricsF &MetricsOf(const TReportFont &font) const;

    QImage FDevice;   // only its resolution matters
    mutable std::vector<std::pair<TReportFont, std::unique_ptr<QFontMetricsF>>> FCache;
};
