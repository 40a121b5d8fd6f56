#include "editor/TableText.h"

#include "model/NumberText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "model/Unset.h"
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
    switch (column.Kind) {
    case 0: return FormatInt(uzel.Number());
    case 1: return FormatReal(uzel.X(), column.Decimals);
    case 2: return FormatReal(uzel.Y(), column.Decimals);
    case 3: return FormatReal(uzel.Z(), column.Decimals);
    default: return QString();
    }
}

QString BranchCell(const TColumnDesc &column, const TBranch &branch)
{
    const int d = column.Decimals;
    switch (column.Kind) {
    case 4: return FormatInt(branch.Number());
    case 5: return FormatInt(branch.StartNumber());
    case 6: return FormatInt(branch.EndNumber());
    case 7: return FormatReal(branch.Length(), d);
    case 8: return FormatReal(branch.Section(), d);
    case 9: return FormatReal(branch.Perimeter(), d);
    case 10: return FormatReal(branch.Volume(), d);
    case 11: return FormatReal(branch.VolumeFactor(), d);
    case 12: return FormatReal(branch.ExtraVolume(), d);
    case 13: return FormatReal(branch.Angle(), d);
    case 14: return branch.Comment();
    case 15: return FormatReal(branch.Resistance(), d);
    case 16: return QString::number(branch.People().Count());
    case 17: return branch.Name();
    case 18: {
        const int index = branch.PLFIndex();
        const TPLFList &plfs = branch.Mine()->PLFs();
        return index >= 0 && index < plfs.Count() ? plfs.Items(index)->Name() : QString();
    }
    default: return QString();
    }
}

bool ParseInt(const QString &text, qint32 &value)
{
    return NumberText::ParseInt(text, value);
}

bool ParseReal(const QString &text, double &value)
{
    return NumberText::ParseReal(text, value);
}

bool KeyAdmitted(int kind, QChar key)
{
    if (key.unicode() < 32)
        return true;
    const bool digit = key >= u'0' && key <= u'9';
    switch (kind) {
    case 0:
    case 4:
    case 5:
    case 6:
        return digit;
    case 1:
    case 2:
    case 3:
        return digit || key == u'-' || key == DecimalSeparator();
    case 14:
    case 17:
        return StorableText(QString(key));
    default:
        return digit || key == DecimalSeparator();
    }
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
