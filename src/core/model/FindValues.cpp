#include "model/FindValues.h"

#include "model/NumberText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

#include <algorithm>

namespace FindValues {

QString UzelText(const TUzel &uzel, int kind)
{
    switch (kind) {
    case 0: return NumberText::Int(uzel.Number());
    case 1: return NumberText::Real(uzel.X(), 1);
    case 2: return NumberText::Real(uzel.Y(), 1);
    case 3: return NumberText::Real(uzel.Z(), 1);
    default: return QString();
    }
}

QString BranchText(const TBranch &branch, int kind)
{
    switch (kind) {
    case 4: return NumberText::Int(branch.Number());
    case 5: return NumberText::Int(branch.StartNumber());
    case 6: return NumberText::Int(branch.EndNumber());
    case 7: return NumberText::Real(branch.Length(), 1);
    case 8: return NumberText::Real(branch.Section(), 1);
    case 9: return NumberText::Real(branch.Perimeter(), 1);
    case 10: return NumberText::Real(branch.Volume(), 1);
    case 11: return NumberText::Real(branch.VolumeFactor(), 2);
    case 12: return NumberText::Real(branch.ExtraVolume(), 1);
    case 13: return NumberText::Real(branch.Angle(), 1);
    case 14: return branch.Comment();
    case 15: return NumberText::Real(branch.Resistance(), 7);
    case 16: return QString::number(branch.People().Count());
    case 17: return branch.Name();
    case 18: {
        const int index = branch.PLFIndex();
        const TPLFList &plfs = branch.Mine()->PLFs();
        return index >= 0 && index < plfs.Count() ? plfs.Items(index)->Name()
                                                  : QStringLiteral("<без позиции>");
    }
    default: return QString();
    }
}

namespace {

void Append(std::vector<TFindValue> &values, QString text, bool suffix, const QString &element,
            qint32 number, int position)
{
    if (text.trimmed().isEmpty())
        return;
    if (suffix) {
        // "    <ветвь 12>", appended piece by piece: a hundred thousand arg() calls are felt.
        text.reserve(text.size() + element.size() + 18);
        text += QLatin1String("    <");
        text += element;
        text += u' ';
        text += QString::number(number);
        text += u'>';
    }
    TFindValue value;
    value.Key = text.toCaseFolded();
    value.Text = std::move(text);
    value.Position = position;
    values.push_back(std::move(value));
}

} // namespace

std::vector<TFindValue> List(const TMine &mine, int kind)
{
    std::vector<TFindValue> values;
    if (kind >= 0 && kind <= 3) {
        const TUzelList &uzels = mine.Uzels();
        values.reserve(size_t(uzels.Count()));
        const QString element = QStringLiteral("узел");
        for (int i = 1; i <= uzels.Count(); ++i) {
            const TUzel *u = uzels.Items(i);
            Append(values, UzelText(*u, kind), kind != 0, element, u->Number(), i - 1);
        }
    } else if (kind >= 4 && kind <= 18) {
        const TBranchList &branches = mine.Branches();
        values.reserve(size_t(branches.Count()));
        const QString element = QStringLiteral("ветвь");
        for (int i = 1; i <= branches.Count(); ++i) {
            const TBranch *b = branches.Items(i);
            Append(values, BranchText(*b, kind), kind != 4 && kind != 14, element, b->Number(),
                   i - 1);
        }
    }
    std::stable_sort(values.begin(), values.end(),
                     [](const TFindValue &a, const TFindValue &b) { return a.Key < b.Key; });
    return values;
}

int FirstMatch(const std::vector<TFindValue> &values, const QString &typed)
{
    if (typed.isEmpty())
        return -1;
    const QString key = typed.toCaseFolded();
    // Every key beginning with the typed one sorts at or after it, so the first candidate is
    // where it would be inserted.
    const auto it = std::lower_bound(values.begin(), values.end(), key,
                                     [](const TFindValue &v, const QString &k) { return v.Key < k; });
    if (it == values.end() || !it->Key.startsWith(key))
        return -1;
    return int(it - values.begin());
}

} // namespace FindValues
