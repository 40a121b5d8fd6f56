#include "model/NumberText.h"

#include "model/Unset.h"

#include <QLocale>
#include <charconv>
#include <cctype>
#include <cmath>
#include <string>

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

// Fixed point never needs more than the 309 digits of the largest double and the 325 places of
// its smallest, so the buffer always holds it.
template<typename T> char *WriteShortestOf(char *buf, T value)
{
    return std::to_chars(buf, buf + kShortestSize, value, std::chars_format::fixed).ptr;
}

template<typename T> QString ShortestOf(T value)
{
    char buf[kShortestSize];
    return QString::fromLatin1(buf, WriteShortestOf(buf, value) - buf);
}

std::string_view WithoutPlus(std::string_view text)
{
    // std::from_chars takes a minus only; a plus is as good, but a sign after it is not.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    return text;
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

char *WriteShortest(char *buf, float value) { return WriteShortestOf(buf, value); }
char *WriteShortest(char *buf, double value) { return WriteShortestOf(buf, value); }

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
    const QByteArray utf8 = text.toUtf8();
    return ParseDecimal(std::string_view(utf8.constData(), size_t(utf8.size())), value);
}

bool ParseDecimal(std::string_view text, double &value)
{
    text = WithoutPlus(text);
    const size_t comma = text.find(',');
    std::string withPoint;
    if (comma != std::string_view::npos) {
        if (text.find('.') != std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
            return false;
        withPoint.assign(text);
        withPoint[comma] = '.';
        text = withPoint;
    }
    // The general format also reads "inf", "nan" and hexadecimal only with a prefix it refuses;
    // a text must be a number from its first character to its last.
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.back())) || text.back() == '.'))
        return false;
    double parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool ParseWhole(std::string_view text, qint64 &value)
{
    text = WithoutPlus(text);
    long long parsed = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

} // namespace NumberText
