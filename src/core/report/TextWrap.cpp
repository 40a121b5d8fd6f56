#include "report/TextWrap.h"

namespace {

bool IsBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

class TWrapper {
public:
    TWrapper(double width, const TTextMetrics &metrics, const TReportFont &font)
        : FWidth(width), FMetrics(metrics), FFont(font)
    {
    }

    void Paragraph(const QString &text)
    {
        const double whole = Measure(text);
        if (whole <= FWidth) {
            FLines.push_back({text, whole});
            return;
        }
        const qsizetype n = text.size();
        qsizetype start = 0;
        while (start < n) {
            // A line ends after the last word that still fits; each candidate is measured whole,
            // as it will be set, and a line holds a few words.
            qsizetype end = start;
            double width = 0;
            for (qsizetype i = start; i < n;) {
                qsizetype j = i;
                while (j < n && text[j] == u' ')
                    ++j;
                while (j < n && text[j] != u' ')
                    ++j;
                const double w = Measure(QStringView(text).mid(start, j - start));
                if (w > FWidth)
                    break;
                end = j;
                width = w;
                i = j;
            }
            if (end == start)
                end = start + LongestFit(QStringView(text).mid(start), width);
            FLines.push_back({text.mid(start, end - start), width});
            start = end;
            while (start < n && text[start] == u' ')
                ++start;
        }
    }

    std::vector<TTextLine> Take()
    {
        while (!FLines.empty() && FLines.back().Text.isEmpty())
            FLines.pop_back();
        return std::move(FLines);
    }

private:
    double Measure(QStringView text) const { return FMetrics.Width(FFont, text); }

    // How many characters of a word wider than the room fit: at least one character (or a
    // surrogate pair), so that every line takes something.
    qsizetype LongestFit(QStringView text, double &width) const
    {
        qsizetype lo = 1, hi = text.size();
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (Measure(text.left(mid)) <= FWidth)
                lo = mid;
            else
                hi = mid - 1;
        }
        if (lo < text.size() && text[lo - 1].isHighSurrogate())
            lo += lo == 1 ? 1 : -1;
        width = Measure(text.left(lo));
        return lo;
    }

    double FWidth;
    const TTextMetrics &FMetrics;
    const TReportFont &FFont;
    std::vector<TTextLine> FLines;
};

} // namespace

namespace TextWrap {

std::vector<TTextLine> Lines(QStringView text, double width, const TTextMetrics &metrics, const TReportFont &font)
{
    TWrapper wrapper(width, metrics, font);
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && !IsBreak(text[end]))
            ++end;
        QString paragraph = text.mid(start, end - start).toString();
        for (QChar &c : paragraph) {
            if (IsControl(c.unicode()))
                c = u' ';
        }
        wrapper.Paragraph(paragraph);
        // CR LF is one break.
        start = end + (end + 1 < n && text[end] == u'\r' && text[end + 1] == u'\n' ? 2 : 1);
    }
    return wrapper.Take();
}

} // namespace TextWrap
