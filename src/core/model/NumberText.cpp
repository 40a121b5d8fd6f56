#include "model/NumberText.h"

#include "model/Unset.h"

#include <QLocale>
#include <charconv>
#include <cmath>

namespace NumberText {

QChar DecimalSeparator()
{
    static const QChar separator = [] {
        const QString point = QLocale().decimalPoint();
        return point.size() == 1 ? point.front() : QChar(u'.');
    }();
    return separator;
}

QString Int(qint32 value)
{
    return IsUnset(value) ? QString() : QString::number(value);
}

namespace {

template<typename T> QString ShortestOf(T value)
{
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return QString::number(double(value), 'g', 17);
    return QString::fromLatin1(buf, result.ptr - buf);
}

// Only digits, one sign in front, one point and an exponent: what a number is written with.
double ReadC(const QString &plain, bool &ok)
{
    static const QLocale numbers = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
        return c;
    }();
    const double parsed = numbers.toDouble(plain, &ok);
    ok = ok && std::isfinite(parsed);
    return parsed;
}

} // namespace

QString WithUserSeparator(QString text)
{
    const QChar separator = DecimalSeparator();
    if (separator != u'.') {
        const qsizetype dot = text.indexOf(u'.');
        if (dot >= 0)
            text[dot] = separator;
    }
    return text;
}

QString Real(double value, int decimals)
{
    return IsUnset(value) ? QString() : Fixed(value, decimals);
}

QString Fixed(double value, int decimals)
{
    return WithUserSeparator(QString::number(value, 'f', decimals));
}

QString General(double value)
{
    return WithUserSeparator(QString::number(value, 'g', 15));
}

QString Shortest(float value)
{
    return ShortestOf(value);
}

QString Shortest(double value)
{
    return ShortestOf(value);
}

bool ParseInt(const QString &text, qint32 &value)
{
    bool ok = false;
    const int parsed = text.toInt(&ok, 10);
    if (ok)
        value = parsed;
    return ok;
}

bool ParseReal(const QString &text, double &value)
{
    if (text.isEmpty())
        return false;
    QString plain = text;
    const QChar separator = DecimalSeparator();
    if (separator != u'.')
        plain.replace(separator, u'.');
    bool ok = false;
    const double parsed = ReadC(plain, ok);
    if (ok)
        value = parsed;
    return ok;
}

bool HasBothPoints(const QString &text)
{
    return text.contains(u',') && text.contains(u'.');
}

bool ParseDecimal(const QString &text, double &value)
{
    if (text.isEmpty() || HasBothPoints(text))
        return false;
    QString plain = text;
    plain.replace(u',', u'.');
    bool ok = false;
    const double parsed = ReadC(plain, ok);
    if (ok)
        value = parsed;
    return ok;
}

} // namespace NumberText
