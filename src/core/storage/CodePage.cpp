#include "storage/CodePage.h"

#include <QByteArray>
#include <QSet>
#include <QStringDecoder>

namespace {

// The 127 characters the code page has above ASCII (byte 0x98 is unassigned).
const QSet<char16_t> &Upper1251()
{
    static const QSet<char16_t> set = [] {
        QByteArray bytes;
        for (int b = 0x80; b <= 0xFF; ++b)
            bytes.append(char(b));
        QStringDecoder decoder("windows-1251");
        const QString chars = decoder.decode(bytes);
        QSet<char16_t> s;
        for (const QChar c : chars)
            if (c != QChar::ReplacementCharacter)
                s.insert(c.unicode());
        return s;
    }();
    return set;
}

} // namespace

namespace CodePage {

qsizetype First1251Misfit(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80 && !Upper1251().contains(c))
            return i;
    }
    return -1;
}

} // namespace CodePage
