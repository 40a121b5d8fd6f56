#include "TerminalText.h"

namespace TerminalText {

namespace {

bool IsControl(char16_t c)
{
    return (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F);
}

} // namespace

QString Escaped(const QString &text)
{
    qsizetype first = 0;
    while (first < text.size() && !IsControl(text[first].unicode()))
        ++first;
    if (first == text.size())
        return text;   // the usual case: nothing copied
    QString out = text.left(first);
    out.reserve(text.size() + 8);
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (IsControl(c)) {
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

} // namespace TerminalText
