#include "app/DdeMacro.h"


namespace {

bool isBlank(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u' ';
}

// Trim of leading and trailing blanks and control characters.
QString trimControl(const QString &s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && s.at(e - 1).unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

qsizetype indexOfAny(const QString &s, qsizetype from, QChar a, QChar b)
{
    for (qsizetype i = from; i < s.size(); ++i) {
        if (s.at(i) == a || s.at(i) == b)
            return i;
    }
    return -1;
}

} // namespace

QString LowerCase1251(const QString &text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t u = out.at(i).unicode();
        if (u >= u'A' && u <= u'Z') {
            out[i] = QChar(char16_t(u + 32));
        } else if ((u >= 0x0400 && u <= 0x042F) || u == 0x0490) {
            // Ѐ..Я and Ґ; QChar knows their lower-case partners.
            out[i] = out.at(i).toLower();
        }
    }
    return out;
}

bool ParseDdeMacro(const QString &text, int n, QString &name, QString &argument)
{
    name.clear();
    argument.clear();
    if (n < 1)
        return false;
    const qsizetype len = text.size();
    qsizetype pos = 0;
    int count = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'[', pos);
        if (open < 0)
            return false;
        pos = open + 1;
        while (pos < len && isBlank(text.at(pos)))
            ++pos;
        if (pos >= len)
            return false;

        QString cmdName;
        QString cmdArg;
        if (text.at(pos) == u']') {
            ++pos;
        } else {
            const qsizetype stop = indexOfAny(text, pos, u'(', u']');
            if (stop < 0)
                return false;
            cmdName = trimControl(text.mid(pos, stop - pos));
            pos = stop + 1;
            if (text.at(stop) == u'(') {
                while (pos < len && isBlank(text.at(pos)))
                    ++pos;
                if (pos >= len) {
                    // The text ends inside the parentheses: an empty argument, nothing after it.
                } else if (text.at(pos) == u']') {
                    ++pos;
                } else if (text.at(pos) == u')') {
                    const qsizetype close = text.indexOf(u']', pos);
                    pos = close < 0 ? len : close;
                } else if (text.at(pos) == u'"') {
                    qsizetype q = pos + 1;
                    while (q < len && !(text.at(q) == u'"' && text.at(q - 1) != u'\\'))
                        ++q;
                    QString raw = text.mid(pos + 1, q - pos - 1);
                    raw.replace(QStringLiteral("\\\""), QStringLiteral("\""));
                    cmdArg = raw;
                    const qsizetype close = q < len ? text.indexOf(u']', q + 1) : -1;
                    pos = close < 0 ? len : close;
                } else {
                    const qsizetype stopArg = indexOfAny(text, pos, u')', u']');
                    const qsizetype end = stopArg < 0 ? len : stopArg;
                    cmdArg = text.mid(pos, end - pos);
                    const qsizetype close = end < len ? text.indexOf(u']', end) : -1;
                    pos = close < 0 ? len : close;
                }
            }
        }
        ++count;
        if (count == n) {
            name = LowerCase1251(cmdName);
            argument = cmdArg;
            return true;
        }
    }
}

QString DdeMacroFirstLine(const QString &text)
{
    qsizetype end = 0;
    while (end < text.size() && text.at(end) != u'\r' && text.at(end) != u'\n')
        ++end;
    return text.left(end);
}

QStringList DdeOpenPaths(const QString &macro)
{
    const QString line = DdeMacroFirstLine(macro);
    QStringList paths;
    QString name;
    QString arg;
    for (int n = 1; ParseDdeMacro(line, n, name, arg); ++n) {
        if (name == QLatin1String("open") && !arg.isEmpty())
            paths << arg;
    }
    return paths;
}

QString BuildDdeOpenMacro(const QStringList &paths)
{
    QString macro;
    for (QString p : paths) {
        p.replace(QStringLiteral("\""), QStringLiteral("\\\""));
        macro += QStringLiteral("[open(\"%1\")]").arg(p);
    }
    return macro;
}
