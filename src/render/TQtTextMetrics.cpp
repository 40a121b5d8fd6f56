#include "TQtTextMetrics.h"

namespace {

constexpr double kDotsPerInch = 1200;
constexpr double kCmPerDot = 2.54 / kDotsPerInch;

bool IsNumberCharacter(char16_t c)
{
    return (c >= u'0' && c <= u'9') || c == u'-' || c == u'+' || c == u'.' || c == u',' || c == u'e' || c == u'E';
}

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

TQtTextMetrics::TFontEntry &TQtTextMetrics::EntryOf(const TReportFont &font) const
{
    for (const auto &entry : FCache) {
        if (entry->Font == font)
            return *entry;
    }
    auto entry = std::make_unique<TFontEntry>();
    entry->Font = font;
    entry->Metrics = std::make_unique<QFontMetricsF>(QtFont(font), &FDevice);
    FCache.push_back(std::move(entry));
    return *FCache.back();
}

double TQtTextMetrics::Width(const TReportFont &font, QStringView text) const
{
    TFontEntry &entry = EntryOf(font);
    double sum = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!IsNumberCharacter(u))
            return entry.Metrics->horizontalAdvance(text.toString()) * kCmPerDot;
        double &advance = entry.Advances[u];
        if (advance == 0)
            advance = entry.Metrics->horizontalAdvance(QString(c));
        sum += advance;
    }
    return sum * kCmPerDot;
}

double TQtTextMetrics::Height(const TReportFont &font, QStringView) const
{
    return EntryOf(font).Metrics->height() * kCmPerDot;
}
