#include "TQtTextMetrics.h"

namespace {

constexpr double kDotsPerInch = 1200;
constexpr double kCmPerDot = 2.54 / kDotsPerInch;

} // namespace

TQtTextMetrics::TQtTextMetrics() : FDevice(1, 1, QImage::Format_ARGB32)
{
    const int dotsPerMetre = qRound(kDotsPerInch / 0.0254);
    FDevice.setDotsPerMeterX(dotsPerMetre);
    FDevice.setDotsPerMeterY(dotsPerMetre);
}

QFont TQtTextMetrics::QtFont(const TReportFont &font)
{
    QFont f(font.Name);
    f.setPointSizeF(font.Size);
    f.setBold(font.StyleFlags & TReportFont::Bold);
    f.setItalic(font.StyleFlags & TReportFont::Italic);
    // Same shapes at every resolution, so that what was measured is what is drawn.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

const QFontMetricsF &TQtTextMetrics::MetricsOf(const TReportFont &font) const
{
    for (const auto &[key, metrics] : FCache) {
        if (key == font)
            return *metrics;
    }
    FCache.emplace_back(font, std::make_unique<QFontMetricsF>(QtFont(font), &FDevice));
    return *FCache.back().second;
}

double TQtTextMetrics::Width(const TReportFont &font, QStringView text) const
{
    return MetricsOf(font).horizontalAdvance(text.toString()) * kCmPerDot;
}

double TQtTextMetrics::Height(const TReportFont &font, QStringView) const
{
    return MetricsOf(font).height() * kCmPerDot;
}
