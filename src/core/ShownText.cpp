#include "ShownText.h"

namespace {

bool IsControl(char16_t c)
{
    return (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F);
}

// Whether the character at i is written as \xHH.
bool Escapes(const QString &text, qsizetype i, bool keepLineBreaks)
{
    const char16_t c = text[i].unicode();
    if (!IsControl(c))
        return false;
    if (!keepLineBreaks)
        return true;
    if (c == u'\r')
        return i + 1 == text.size() || text[i + 1] != u'\n';
    return c != u'\n' || i == 0 || text[i - 1] != u'\r';
}

} // namespace

QString OneLineText(const QString &text, qsizetype maxChars)
{
    qsizetype keep = std::min(text.size(), maxChars);
    const bool cut = keep < text.size();
    if (cut && keep > 0 && text[keep - 1].isHighSurrogate())
        --keep;
    QString line = text.left(keep);
    for (QChar &c : line)
        if (c.unicode() < 0x20 || IsControl(c.unicode()) || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator)
            c = u' ';
    if (cut)
        line += u'…';
    return line;
}

QString EscapedControls(const QString &text, bool keepLineBreaks)
{
    qsizetype first = 0;
    while (first < text.size() && !Escapes(text, first, keepLineBreaks))
        ++first;
    if (first == text.size())
        return text;   // the usual case: nothing copied
    QString out = text.left(first);
    out.reserve(text.size() + 8);
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (Escapes(text, i, keepLineBreaks)) {
            static const char hex[] = "0123456789ABCDEF";
            out += QLatin1String("\\x");
            out += QLatin1Char(hex[c >> 4]);
            out += QLatin1Char(hex[c & 15]);
        } else {
            out += QChar(c);
        }
    }
    return out;
}
