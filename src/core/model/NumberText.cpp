#include "model/NumberText.h"

#include "model/Unset.h"

#include <QLocale>

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

QString Real(double value, int decimals)
{
    if (IsUnset(value))
        return QString();
    QString text = QString::number(value, 'f', decimals);
    const QChar separator = DecimalSeparator();
    if (separator != u'.') {
        const qsizetype dot = text.indexOf(u'.');
        if (dot >= 0)
            text[dot] = separator;
    }
    return text;
}

} // namespace NumberText
