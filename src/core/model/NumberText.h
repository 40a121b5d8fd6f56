#pragma once
// Numbers as the user reads them: the unset marker as an empty text, reals fixed-point with the
// decimal separator of the current locale.
#include <QString>
#include <QtGlobal>

namespace NumberText {

// The user's decimal separator (from the locale when first asked).
QChar DecimalSeparator();

QString Int(qint32 value);
QString Real(double value, int decimals);

} // namespace NumberText
