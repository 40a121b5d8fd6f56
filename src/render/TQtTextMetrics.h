#pragma once
// Report text measured with the fonts the preview, the printer and the PDF draw with. Sizes are
// taken at a fine resolution, so that measures do not depend on a screen's pixels. A report
// measures every number it prints: a number's width is the sum of its characters' advances
// (neither kerned nor joined), kept per font, which is as exact as setting the whole text and
// some fifty times faster.
// Needs a QGuiApplication (fonts).
#include "report/TTextMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <array>
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
    struct TFontEntry {
        TReportFont Font;
        std::unique_ptr<QFontMetricsF> Metrics;
        // Advances of the characters numbers are written with ("0".."9", "-", "+", ".", ",",
        // "e", "E"), 0 where not yet measured.
        std::array<double, 128> Advances{};
    };
    TFontEntry &EntryOf(const TReportFont &font) const;

    QImage FDevice;   // only its resolution matters
    mutable std::vector<std::unique_ptr<TFontEntry>> FCache;
};
