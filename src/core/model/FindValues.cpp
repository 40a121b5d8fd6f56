#include "model/FindValues.h"

#include "model/ColumnKinds.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

#include <algorithm>

namespace FindValues {

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
    const std::optional<TColumnKind> k = ColumnKinds::FromCode(kind);
    if (!k)
        return values;
    // The element's own number and the comment need no "<ветвь N>" after them.
    const bool suffix = *k != TColumnKind::UzelNumber && *k != TColumnKind::BranchNumber &&
                        *k != TColumnKind::Comment;
    if (ColumnKinds::Row(*k).Table == TColumnTable::Uzels) {
        const TUzelList &uzels = mine.Uzels();
        values.reserve(size_t(uzels.Count()));
        const QString element = QStringLiteral("узел");
        for (int i = 1; i <= uzels.Count(); ++i) {
            const TUzel *u = uzels.Items(i);
            Append(values, ColumnKinds::Text(*k, *u), suffix, element, u->Number(), i - 1);
        }
    } else {
        const TBranchList &branches = mine.Branches();
        values.reserve(size_t(branches.Count()));
        const QString element = QStringLiteral("ветвь");
        for (int i = 1; i <= branches.Count(); ++i) {
            const TBranch *b = branches.Items(i);
            Append(values, ColumnKinds::FindText(*k, *b), suffix, element, b->Number(), i - 1);
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
