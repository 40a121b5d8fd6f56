#pragma once
// Numbers as the user reads them: the unset marker as an empty text, reals fixed-point with the
// decimal separator of the current locale.
#include <QString>
#include <QtGlobal>
#include <string_view>

namespace NumberText {

// The user's decimal separator (from the locale when first asked).
QChar DecimalSeparator();

QString Int(qint32 value);
QString Real(double value, int decimals);
// Fixed point with the user's separator, whatever the value (the unset marker included).
QString Fixed(double value, int decimals);
// The shortest text that reads back as value (at most 15 significant digits), with the user's
// separator: 1, 0.5, 1.15, 1e+20.
QString General(double value);
// The shortest fixed-point text that reads back to the same value, with "." as the point and
// every digit the value needs: what exchange with other programs writes.
QString Shortest(float value);
QString Shortest(double value);
// The same text written at buf, which holds at least kShortestSize characters; returns its end.
inline constexpr int kShortestSize = 400;
char *WriteShortest(char *buf, float value);
char *WriteShortest(char *buf, double value);

// Parsing of typed text (already trimmed): a 32-bit integer in decimal, a real with the user's
// decimal separator (a "." is taken as well). Anything else fails.
bool ParseInt(const QString &text, qint32 &value);
bool ParseReal(const QString &text, double &value);
// A real written with "," or "." as the decimal point, whatever the user's locale: what
// spreadsheets of every language and other programs write. A text with both holds digit
// grouping (HasBothPoints) and fails, as does anything but a sign, digits, one point and an
// exponent, and a value beyond double precision.
bool ParseDecimal(const QString &text, double &value);
bool HasBothPoints(const QString &text);
// A number of ExactText form ("." as the point) with the user's decimal separator.
QString WithUserSeparator(QString text);
// The same rule on UTF-8 bytes, as the CSV import reads them (the text above goes through it);
// whole: a sign and digits alone, in 64 bits.
bool ParseDecimal(std::string_view text, double &value);
bool ParseWhole(std::string_view text, qint64 &value);

} // namespace NumberText
