#include "exchange/DxfText.h"

#include "storage/CodePage.h"

namespace {

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// \U+XXXX, the form AutoCAD writes a character the file's code page lacks in.
QString ResolveEscapes(const QString &text)
{
    if (!text.contains(QLatin1String("\\U+")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 6 < text.size() && text[i + 1] == u'U' && text[i + 2] == u'+') {
            int code = 0;
            bool hex = true;
            for (int k = 3; k < 7 && hex; ++k) {
                const int d = HexDigit(text[i + k]);
                hex = d >= 0;
                code = code * 16 + d;
            }
            if (hex) {
                out.append(QChar(char16_t(code)));
                i += 6;
                continue;
            }
        }
        out.append(text[i]);
    }
    return out;
}

QByteArray CodecOf(const std::string &codePage)
{
    QString name = QString::fromLatin1(codePage.data(), qsizetype(codePage.size())).trimmed().toUpper();
    QByteArray codec;
    if (name.startsWith(QLatin1String("ANSI_")))
        codec = "windows-" + name.mid(5).toLatin1();
    else if (name.startsWith(QLatin1String("DOS")))
        codec = "IBM" + name.mid(3).toLatin1();
    if (codec.isEmpty() || !QStringDecoder(codec.constData()).isValid())
        return {};
    return codec;
}

} // namespace

QString DxfText::OneLine(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out.append(u' ');
        blank = false;
        out.append(c);
    }
    return out;
}

namespace {

QString PlainTextValue(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 2 < text.size() && text[i + 1] == u'%') {
            const char16_t code = text[i + 2].toLower().unicode();
            i += 2;
            switch (code) {
            case 'd': out.append(u'\u00B0'); break;
            case 'p': out.append(u'\u00B1'); break;
            case 'c': out.append(u'\u00D8'); break;
            case '%': out.append(u'%'); break;
            case 'u':
            case 'o': break;
            default: out.append(QStringLiteral("%%")).append(text[i]); break;
            }
            continue;
        }
        out.append(text[i]);
    }
    return out;
}

QString PlainMText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'{' || c == u'}')
            continue;
        if (c == u'^' && i + 1 < n && (text[i + 1] == u'J' || text[i + 1] == u'M' || text[i + 1] == u'I')) {
            out.append(u' ');
            ++i;
            continue;
        }
        if (c != u'\\' || i + 1 >= n) {
            out.append(c);
            continue;
        }
        const char16_t code = text[++i].unicode();
        switch (code) {
        case 'P':
        case '~':
        case 'N':
            out.append(u' ');
            break;
        case '\\':
        case '{':
        case '}':
            out.append(QChar(code));
            break;
        case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
            break;
        case 'S': {
            // A stacked fraction "\Snum^den;" reads as num/den.
            const qsizetype end = text.indexOf(u';', i + 1);
            const QString stack = text.mid(i + 1, (end < 0 ? n : end) - i - 1);
            QString fraction = stack;
            fraction.replace(u'^', u'/').replace(u'#', u'/');
            out.append(fraction);
            i = end < 0 ? n : end;
            break;
        }
        case 'A': case 'C': case 'c': case 'F': case 'f': case 'H': case 'Q': case 'T': case 'W': case 'p': {
            // Formatting with a value up to the semicolon: font, height, colour, slant, spacing.
            const qsizetype end = text.indexOf(u';', i + 1);
            i = end < 0 ? n : end;
            break;
        }
        default:
            out.append(QChar(code));
            break;
        }
    }
    return out;
}

} // namespace

namespace DxfText {

TDecoder::TDecoder(const std::string &version, const std::string &codePage)
{
    // AC1021 is AutoCAD 2007, the first version written in UTF-8.
    const QString v = QString::fromLatin1(version.data(), qsizetype(version.size())).trimmed().toUpper();
    bool ok = false;
    const int number = v.startsWith(QLatin1String("AC")) ? v.mid(2).toInt(&ok) : 0;
    FUtf8 = ok && number >= 1021;
    if (!FUtf8)
        FCodec = CodecOf(codePage);
}

QString TDecoder::Decode(const std::string &bytes) const
{
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    QString text;
    if (FUtf8) {
        text = QString::fromUtf8(view);
    } else if (!FCodec.isEmpty()) {
        QStringDecoder decoder(FCodec.constData(), QStringConverter::Flag::Stateless);
        text = decoder.decode(view);
    } else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8.decode(view);
        if (utf8.hasError())
            text = QStringDecoder("windows-1251").decode(view);
    }
    return ResolveEscapes(text);
}

QString PlainText(const QString &text, bool mtext)
{
    return OneLine(mtext ? PlainMText(text) : PlainTextValue(text));
}

QString Fit1251(const QString &text, bool *changed)
{
    if (changed)
        *changed = false;
    if (CodePage::Fits1251(text))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80 || CodePage::Fits1251(QStringView(text).sliced(i, 1))) {
            out.append(c);
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        out.append(u'?');
    }
    if (changed)
        *changed = true;
    return out;
}

} // namespace DxfText
