#include "editor/TableText.h"

#include "model/NumberText.h"
#include "storage/CodePage.h"
#include "storage/TColumnDesc.h"

namespace TableText {

QChar DecimalSeparator()
{
    return NumberText::DecimalSeparator();
}

QString FormatReal(double value, int decimals)
{
    return NumberText::Real(value, decimals);
}

QString FormatInt(qint32 value)
{
    return NumberText::Int(value);
}

QString UzelCell(const TColumnDesc &column, const TUzel &uzel)
{
    return ColumnKinds::Text(column.ColumnKind(), uzel);
}

QString BranchCell(const TColumnDesc &column, const TBranch &branch)
{
    return ColumnKinds::Text(column.ColumnKind(), branch);
}

bool ParseInt(const QString &text, qint32 &value)
{
    return NumberText::ParseInt(text, value);
}

bool ParseReal(const QString &text, double &value)
{
    return NumberText::ParseReal(text, value);
}

bool StorableText(const QString &text)
{
    return CodePage::Fits1251(text);
}

QString TooLongToEdit(qsizetype length)
{
    return QStringLiteral("Текст длиной %1 знаков нельзя править в таблице: строка правки вмещает не более %2 знаков.\n"
                          "Текст остается без изменений.")
        .arg(length)
        .arg(kMaxEditChars);
}

} // namespace TableText
