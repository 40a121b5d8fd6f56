#include "compare/MineDiff.h"

#include "model/BranchGeometry.h"
#include "model/ColumnKinds.h"
#include "model/MineTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/TMineDocument.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <vector>

bool TMineDiff::Different() const
{
    return std::any_of(Items.begin(), Items.end(), [](const TDiffItem &i) { return i.Kind != TDiffKind::Remark; });
}

namespace MineDiff {

namespace {

// How a value is shown: a number in full, a text, "Да"/"Нет" for a flag (the byte itself when
// neither 0 nor 1), the name of a code (the code when it has none).
enum class TShow : quint8 { Number, Text, Flag, Name };

// A field outside the table of column kinds.
template<typename T> struct TSpec {
    const char *Key;
    const char16_t *Caption;
    TColumnValue (*Get)(const T &);
    TShow Show = TShow::Number;
    QString (*Namer)(int) = nullptr;
};

template<typename Bits, typename Real> Bits BitsOf(Real v)
{
    Bits b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

bool Same(const TColumnValue &a, const TColumnValue &b)
{
    if (a.index() != b.index())
        return false;
    if (const float *x = std::get_if<float>(&a))
        return BitsOf<quint32>(*x) == BitsOf<quint32>(std::get<float>(b));
    if (const double *x = std::get_if<double>(&a))
        return BitsOf<quint64>(*x) == BitsOf<quint64>(std::get<double>(b));
    return a == b;
}

std::optional<QString> Shown(const TColumnValue &v, TShow show = TShow::Number, QString (*namer)(int) = nullptr)
{
    if (std::holds_alternative<std::monostate>(v))
        return std::nullopt;
    if (const qint32 *i = std::get_if<qint32>(&v)) {
        if (show == TShow::Flag && (*i == 0 || *i == 1))
            return *i ? QStringLiteral("Да") : QStringLiteral("Нет");
        if (show == TShow::Name && namer && !namer(*i).isEmpty())
            return namer(*i);
        if (show == TShow::Number && IsUnset(*i))
            return std::nullopt;
    }
    if (const float *f = std::get_if<float>(&v); f && IsUnset(*f))
        return std::nullopt;
    if (const double *d = std::get_if<double>(&v); d && IsUnset(*d))
        return std::nullopt;
    return ColumnKinds::ExactText(v);
}

TDiffField Field(const QString &key, const QString &caption, const TColumnValue &a, const TColumnValue &b,
                 TShow show = TShow::Number, QString (*namer)(int) = nullptr)
{
    const bool text = show != TShow::Name && (std::holds_alternative<QString>(a) || std::holds_alternative<QString>(b));
    return TDiffField{key, caption, Shown(a, show, namer), Shown(b, show, namer), text};
}

template<typename T> void CompareSpecs(const T &a, const T &b, const std::vector<TSpec<T>> &specs, QList<TDiffField> &out)
{
    for (const TSpec<T> &s : specs) {
        const TColumnValue x = s.Get(a), y = s.Get(b);
        if (!Same(x, y))
            out.append(Field(QString::fromLatin1(s.Key), QString::fromUtf16(s.Caption), x, y, s.Show, s.Namer));
    }
}

// The columns of a table a user types into, its element's number aside: compared by the table of
// column kinds.
template<typename T> void CompareColumns(const T &a, const T &b, TColumnTable table, QList<TDiffField> &out)
{
    for (const TColumnKindRow &row : ColumnKinds::kRows) {
        if (row.Table != table || row.ZeroRefused || !ColumnKinds::Settable(row.Kind))
            continue;
        const TColumnValue x = ColumnKinds::Value(row.Kind, a), y = ColumnKinds::Value(row.Kind, b);
        if (Same(x, y))
            continue;
        const QString key = row.CsvName ? QString::fromLatin1(row.CsvName)
                                        : QStringLiteral("Column%1").arg(ColumnKinds::Code(row.Kind));
        out.append(Field(key, ColumnKinds::HeaderText(row.Kind), x, y));
    }
}

TColumnValue Int(qint64 v) { return qint32(v); }

template<typename List> TColumnValue GroupName(const List &list, qint32 index)
{
    if (index < 0 || index >= list.Count())
        return std::monostate();
    return list.Items(index)->Name();
}

const std::vector<TSpec<TUzel>> &UzelSpecs()
{
    static const std::vector<TSpec<TUzel>> specs = {
        {"Surface", u"Поверхностный", [](const TUzel &u) { return Int(u.SurfaceByte()); }, TShow::Flag},
        {"Extra1", u"Extra1", [](const TUzel &u) { return Int(u.Extra1()); }},
        {"Extra2", u"Extra2", [](const TUzel &u) { return Int(u.Extra2()); }},
    };
    return specs;
}

const std::vector<TSpec<TBranch>> &BranchSpecs()
{
    using B = const TBranch &;
    static const std::vector<TSpec<TBranch>> specs = {
        {"PLFIndex", u"Позиция ПЛА", [](B b) { return GroupName(b.Mine()->PLFs(), b.PLFIndex()); }, TShow::Text},
        {"LayerIndex", u"Пласт", [](B b) { return GroupName(b.Mine()->Layers(), b.LayerIndex()); }, TShow::Text},
        {"Shape", u"Форма сечения", [](B b) { return Int(b.Shape()); }, TShow::Name, MineTables::ShapeName},
        {"Roughness", u"Шероховатость", [](B b) { return Int(b.Roughness()); }},
        {"Gas1", u"Загазованность (1)", [](B b) { return Int(b.ZoneByte(1)); }, TShow::Flag},
        {"Gas1Kind", u"Вид газа (1)", [](B b) { return Int(b.Gas1Kind()); }},
        {"Gas1From", u"Зона (1) от, м", [](B b) { return TColumnValue(b.Gas1From()); }},
        {"Gas1To", u"Зона (1) до, м", [](B b) { return TColumnValue(b.Gas1To()); }},
        {"Gas2", u"Загазованность (2)", [](B b) { return Int(b.ZoneByte(2)); }, TShow::Flag},
        {"Gas2Kind", u"Вид газа (2)", [](B b) { return Int(b.Gas2Kind()); }},
        {"Gas2From", u"Зона (2) от, м", [](B b) { return TColumnValue(b.Gas2From()); }},
        {"Gas2To", u"Зона (2) до, м", [](B b) { return TColumnValue(b.Gas2To()); }},
        {"Zone3", u"Зона 3", [](B b) { return Int(b.ZoneByte(3)); }, TShow::Flag},
        {"Zone3From", u"Зона 3 от, м", [](B b) { return TColumnValue(b.Zone3From()); }},
        {"Zone3To", u"Зона 3 до, м", [](B b) { return TColumnValue(b.Zone3To()); }},
        {"Zone4", u"Зона 4", [](B b) { return Int(b.ZoneByte(4)); }, TShow::Flag},
        {"Zone4From", u"Зона 4 от, м", [](B b) { return TColumnValue(b.Zone4From()); }},
        {"Zone4To", u"Зона 4 до, м", [](B b) { return TColumnValue(b.Zone4To()); }},
        {"OptA", u"Параметры A", [](B b) { return Int(b.OptionByte(1)); }, TShow::Flag},
        {"OptA1", u"Параметр A1", [](B b) { return TColumnValue(b.OptA1()); }},
        {"OptA2", u"Параметр A2", [](B b) { return TColumnValue(b.OptA2()); }},
        {"OptB", u"Параметры B", [](B b) { return Int(b.OptionByte(2)); }, TShow::Flag},
        {"OptB1", u"Параметр B1", [](B b) { return TColumnValue(b.OptB1()); }},
        {"OptB2", u"Параметр B2", [](B b) { return TColumnValue(b.OptB2()); }},
        {"NormalResult", u"Результат расчета по шахте", [](B b) { return Int(b.NormalResult()); }},
        {"RouteResult", u"Результат расчета по маршруту", [](B b) { return Int(b.RouteResult()); }},
        {"LinkIndex", u"Связанная ветвь (место в списке)", [](B b) { return Int(b.LinkIndex()); }},
    };
    return specs;
}

TColumnValue Values(const double *v)
{
    return ColumnKinds::ExactText(v[0]) + u' ' + ColumnKinds::ExactText(v[1]) + u' ' + ColumnKinds::ExactText(v[2]);
}

// The stopping table's columns and the fields the calculation keeps.
const std::vector<TSpec<TJumper>> &JumperSpecs()
{
    using J = const TJumper &;
    static const std::vector<TSpec<TJumper>> specs = {
        {"Caption", u"Номер", [](J j) { return TColumnValue(j.Caption()); }, TShow::Text},
        {"Material", u"Материал", [](J j) { return Int(j.Material()); }, TShow::Name, MineTables::MaterialName},
        {"CutIn", u"Вруб", [](J j) { return Int(j.CutInByte()); }, TShow::Flag},
        {"Vent", u"Вент.", [](J j) { return Int(j.VentByte()); }, TShow::Flag},
        {"Thickness", u"Толщ. м", [](J j) { return TColumnValue(j.Thickness()); }},
        {"Position", u"Положен.", [](J j) { return TColumnValue(j.Position()); }},
        {"Measured", u"Замерено", [](J j) { return Int(j.MeasuredByte()); }, TShow::Flag},
        {"Depression", u"H замер. мм вод.ст.", [](J j) { return TColumnValue(j.Depression()); }},
        {"Flow", u"Q замер. м3/с", [](J j) { return TColumnValue(j.Flow()); }},
        {"Resistance", u"R km", [](J j) { return TColumnValue(j.Resistance()); }},
        {"ReverseResistance", u"R реверс. km", [](J j) { return TColumnValue(j.ReverseResistance()); }},
        {"BreakPressure", u"P разр. Ат", [](J j) { return TColumnValue(j.BreakPressure()); }},
        {"Doors", u"Двери", [](J j) { return Int(j.Doors()); }, TShow::Name, MineTables::DoorName},
        {"Opening", u"Проемы", [](J j) { return Int(j.Opening()); }, TShow::Name, MineTables::OpeningName},
        {"OpeningArea", u"Площадь проема м2", [](J j) { return TColumnValue(j.OpeningArea()); }},
        {"NormalHit", u"Отметка расчета по шахте", [](J j) { return Int(j.NormalHitByte()); }, TShow::Flag},
        {"NormalStep", u"Шаг расчета по шахте", [](J j) { return Int(j.NormalStep()); }},
        {"NormalValues", u"Значения расчета по шахте", [](J j) { return Values(j.NormalValues()); }},
        {"RouteHit", u"Отметка расчета по маршруту", [](J j) { return Int(j.RouteHitByte()); }, TShow::Flag},
        {"RouteStep", u"Шаг расчета по маршруту", [](J j) { return Int(j.RouteStep()); }},
        {"RouteValues", u"Значения расчета по маршруту", [](J j) { return Values(j.RouteValues()); }},
    };
    return specs;
}

const std::vector<TSpec<TPeopleInfo>> &PersonSpecs()
{
    using P = const TPeopleInfo &;
    static const std::vector<TSpec<TPeopleInfo>> specs = {
        {"TabNumber", u"Табельн. номер", [](P p) { return Int(p.TabNumber()); }},
        {"FullName", u"Ф.И.О.", [](P p) { return TColumnValue(p.FullName()); }, TShow::Text},
        {"Site", u"Участок", [](P p) { return Int(p.Site()); }},
        {"JobTitle", u"Должность", [](P p) { return TColumnValue(p.JobTitle()); }, TShow::Text},
        {"Position", u"Положение", [](P p) { return TColumnValue(p.Position()); }},
    };
    return specs;
}

QString LayoutText(const auto &columns)
{
    QStringList parts;
    for (const TColumnDesc &c : columns)
        parts << ColumnKinds::HeaderText(c.ColumnKind()) + (c.Shown ? QString() : QStringLiteral(" (скрыт)"));
    return parts.join(QStringLiteral(", "));
}

const std::vector<TSpec<TMineDocument>> &DocumentSpecs()
{
    using D = const TMineDocument &;
    static const std::vector<TSpec<TMineDocument>> specs = {
        {"Title", u"Название шахты", [](D d) { return TColumnValue(d.Mine()->Title()); }, TShow::Text},
        {"Temperature", u"Температура, °C", [](D d) { return Int(d.Mine()->Temperature()); }},
        {"Pressure", u"Давление, ат", [](D d) { return TColumnValue(d.Mine()->Pressure()); }},
        {"AutoUpdate", u"Автообновление", [](D d) { return Int(d.AutoUpdateByte()); }, TShow::Flag},
        {"AutoUpdateIterations", u"Итераций автообновления", [](D d) { return Int(d.AutoUpdateIterations()); }},
        {"SaveIterations", u"Итераций между сохранениями", [](D d) { return Int(d.SaveIterations()); }},
        {"CellLength", u"Длина ячейки, м", [](D d) { return TColumnValue(d.CellLength()); }},
        {"Reserved1", u"Reserved1", [](D d) { return Int(d.Reserved1()); }},
        {"BoomSpeed", u"Скорость, м/с", [](D d) { return TColumnValue(d.BoomSpeed()); }},
        {"Calculated", u"Расчет выполнен", [](D d) { return Int(d.CalculatedByte()); }, TShow::Flag},
        {"Reserved2", u"Reserved2", [](D d) { return Int(d.Reserved2Byte()); }, TShow::Flag},
        {"CalcMethod", u"Метод расчета", [](D d) { return Int(d.CalcMethod()); }},
        {"NodeColumns", u"Столбцы узлов", [](D d) { return TColumnValue(LayoutText(d.NodeColumns())); }, TShow::Text},
        {"BranchColumns", u"Столбцы ветвей", [](D d) { return TColumnValue(LayoutText(d.BranchColumns())); }, TShow::Text},
    };
    return specs;
}

// Elements matched by number: the k-th element of a number in one list with the k-th of that
// number in the other. Pairs in the order of the numbers, then of the lists; -1 for none.
struct TPair {
    int A = -1, B = -1;
    qint32 Number = 0;
    int Ordinal = 1;
};

struct TMatch {
    std::vector<TPair> Pairs;
    bool Reordered = false;          // the pairs' order in B differs from their order in A
    std::vector<qint32> Duplicated;  // numbers carried by more than one element of either list
};

template<typename NumberA, typename NumberB>
TMatch MatchByNumber(int countA, int countB, NumberA numberA, NumberB numberB)
{
    std::vector<std::pair<qint32, int>> a(static_cast<size_t>(countA)), b(static_cast<size_t>(countB));
    for (int i = 0; i < countA; ++i)
        a[size_t(i)] = {numberA(i), i};
    for (int i = 0; i < countB; ++i)
        b[size_t(i)] = {numberB(i), i};
    std::stable_sort(a.begin(), a.end());
    std::stable_sort(b.begin(), b.end());
    TMatch m;
    m.Pairs.reserve(std::max(a.size(), b.size()));
    size_t i = 0, k = 0;
    while (i < a.size() || k < b.size()) {
        const qint32 n = k == b.size() || (i < a.size() && a[i].first < b[k].first) ? a[i].first : b[k].first;
        int ordinal = 0;
        size_t runA = 0, runB = 0;
        while (i < a.size() && a[i].first == n) {
            const bool paired = k < b.size() && b[k].first == n;
            m.Pairs.push_back({a[i].second, paired ? b[k].second : -1, n, ++ordinal});
            ++i, ++runA;
            if (paired)
                ++k, ++runB;
        }
        for (; k < b.size() && b[k].first == n; ++k, ++runB)
            m.Pairs.push_back({-1, b[k].second, n, ++ordinal});
        if (runA > 1 || runB > 1)
            m.Duplicated.push_back(n);
    }
    // The matched pairs taken in A's order must climb in B.
    std::vector<std::pair<int, int>> order;
    order.reserve(m.Pairs.size());
    for (const TPair &p : m.Pairs)
        if (p.A >= 0 && p.B >= 0)
            order.push_back({p.A, p.B});
    std::sort(order.begin(), order.end());
    for (size_t j = 1; j < order.size() && !m.Reordered; ++j)
        m.Reordered = order[j].second < order[j - 1].second;
    return m;
}

QString Ordinal(int k) { return QStringLiteral("%1-й").arg(k); }

class Comparer {
public:
    Comparer(const TMineDocument &a, const TMineDocument &b) : FA(a), FB(b), FMa(*a.Mine()), FMb(*b.Mine()) {}

    TMineDiff Run()
    {
        Uzels();
        Branches();
        Groups(false);
        Groups(true);
        Document();
        TMineDiff diff;
        for (QList<TDiffItem> *group : {&FUzels, &FBranches, &FJumpers, &FPeople, &FGroups, &FDocument})
            diff.Items.append(std::move(*group));
        return diff;
    }

private:
    static TDiffItem Item(TDiffGroup group, TDiffKind kind, const QString &title, qint32 number = 0, int ordinal = 1)
    {
        TDiffItem item;
        item.Group = group;
        item.Kind = kind;
        item.Title = title;
        item.Number = number;
        item.Ordinal = ordinal;
        return item;
    }

    static TDiffItem Remark(TDiffGroup group, const QString &text) { return Item(group, TDiffKind::Remark, text); }

    static void Remarks(QList<TDiffItem> &out, TDiffGroup group, const TMatch &m, const QString &elements,
                        const QString &one)
    {
        if (m.Reordered)
            out.append(Remark(group, QStringLiteral("Порядок %1 в списке другой").arg(elements)));
        for (const qint32 n : m.Duplicated)
            out.append(Remark(group, QStringLiteral("Номер %1 носят несколько %2: сопоставлены по порядку в списке")
                                         .arg(IsUnset(n) ? QStringLiteral("«не задан»") : QString::number(n), one)));
    }

    static QString NumberTitle(const QString &what, qint32 number, int ordinal, bool duplicated)
    {
        QString title = what + u' ' + (IsUnset(number) ? QStringLiteral("без номера") : QString::number(number));
        if (duplicated)
            title += QStringLiteral(" (%1 с этим номером)").arg(Ordinal(ordinal));
        return title;
    }

    void Uzels()
    {
        const TMatch m = MatchByNumber(
            FMa.Uzels().Count(), FMb.Uzels().Count(), [this](int i) { return FMa.Uzels().Items(i + 1)->Number(); },
            [this](int i) { return FMb.Uzels().Items(i + 1)->Number(); });
        Remarks(FUzels, TDiffGroup::Uzels, m, QStringLiteral("узлов"), QStringLiteral("узлов"));
        const QSet<qint32> duplicated(m.Duplicated.begin(), m.Duplicated.end());
        for (const TPair &p : m.Pairs) {
            const QString title = NumberTitle(QStringLiteral("Узел"), p.Number, p.Ordinal, duplicated.contains(p.Number));
            if (p.B < 0 || p.A < 0) {
                TDiffItem item = Item(TDiffGroup::Uzels, p.B < 0 ? TDiffKind::Removed : TDiffKind::Added, title,
                                      p.Number, p.Ordinal);
                item.Place.Uzel = p.A;
                FUzels.append(item);
                continue;
            }
            const TUzel &a = *FMa.Uzels().Items(p.A + 1), &b = *FMb.Uzels().Items(p.B + 1);
            QList<TDiffField> fields;
            CompareColumns(a, b, TColumnTable::Uzels, fields);
            const bool moved = !fields.isEmpty();
            CompareSpecs(a, b, UzelSpecs(), fields);
            if (fields.isEmpty())
                continue;
            TDiffItem item = Item(TDiffGroup::Uzels, TDiffKind::Changed, title, p.Number, p.Ordinal);
            item.Place.Uzel = p.A;
            item.Fields = fields;
            // Branches resolve their ends to the first node of a number.
            if (moved && p.Ordinal == 1)
                FMoved.insert(p.Number, int(FUzels.size()));
            FUzels.append(item);
        }
    }

    // The first node of each number, as branches resolve their ends.
    static QHash<qint32, const TUzel *> FirstUzels(const TMine &mine)
    {
        QHash<qint32, const TUzel *> first;
        first.reserve(mine.Uzels().Count());
        for (int i = mine.Uzels().Count(); i >= 1; --i)
            first[mine.Uzels().Items(i)->Number()] = mine.Uzels().Items(i);
        return first;
    }

    static std::optional<float> LengthOf(const TBranch &b, const QHash<qint32, const TUzel *> &uzels)
    {
        const TUzel *s = uzels.value(b.StartNumber()), *e = uzels.value(b.EndNumber());
        if (!s || !e)
            return std::nullopt;
        return BranchGeometry::Length(s, e);
    }

    // A node moved: the branches whose length changed with it, under the node.
    void MovedLengths(const TBranch &a, const TBranch &b)
    {
        if (a.StartNumber() != b.StartNumber() || a.EndNumber() != b.EndNumber())
            return;
        const auto start = FMoved.constFind(a.StartNumber()), end = FMoved.constFind(a.EndNumber());
        if (start == FMoved.cend() && end == FMoved.cend())
            return;
        if (FFirstA.isEmpty()) {
            FFirstA = FirstUzels(FMa);
            FFirstB = FirstUzels(FMb);
        }
        const std::optional<float> la = LengthOf(a, FFirstA), lb = LengthOf(b, FFirstB);
        if (!la || !lb || BitsOf<quint32>(*la) == BitsOf<quint32>(*lb))
            return;
        const TDiffField field{QStringLiteral("Length"),
                               QStringLiteral("Длина ветви %1, м").arg(a.Number()), ColumnKinds::ExactText(*la),
                               ColumnKinds::ExactText(*lb), false};
        for (const auto &at : {start, end})
            if (at != FMoved.cend() && (at == start || end != start))
                FUzels[at.value()].Fields.append(field);
    }

    void Branches()
    {
        const TMatch m = MatchByNumber(
            FMa.Branches().Count(), FMb.Branches().Count(),
            [this](int i) { return FMa.Branches().Items(i + 1)->Number(); },
            [this](int i) { return FMb.Branches().Items(i + 1)->Number(); });
        Remarks(FBranches, TDiffGroup::Branches, m, QStringLiteral("ветвей"), QStringLiteral("ветвей"));
        const QSet<qint32> duplicated(m.Duplicated.begin(), m.Duplicated.end());
        for (const TPair &p : m.Pairs) {
            const QString title = NumberTitle(QStringLiteral("Ветвь"), p.Number, p.Ordinal, duplicated.contains(p.Number));
            const TBranch *a = p.A >= 0 ? FMa.Branches().Items(p.A + 1) : nullptr;
            const TBranch *b = p.B >= 0 ? FMb.Branches().Items(p.B + 1) : nullptr;
            if (!a || !b) {
                TDiffItem item = Item(TDiffGroup::Branches, a ? TDiffKind::Removed : TDiffKind::Added, title, p.Number,
                                      p.Ordinal);
                item.Place.Branch = p.A;
                FBranches.append(item);
            } else {
                QList<TDiffField> fields;
                CompareColumns(*a, *b, TColumnTable::Branches, fields);
                CompareSpecs(*a, *b, BranchSpecs(), fields);
                if (!FMoved.isEmpty())
                    MovedLengths(*a, *b);
                if (!fields.isEmpty()) {
                    TDiffItem item = Item(TDiffGroup::Branches, TDiffKind::Changed, title, p.Number, p.Ordinal);
                    item.Place.Branch = p.A;
                    item.Fields = fields;
                    FBranches.append(item);
                }
            }
            Members(a, b, p, title);
        }
    }

    // Stoppings and people of a pair of branches, matched by their place in the branch's list.
    template<typename T, typename List>
    void MembersOf(const List *la, const List *lb, const TPair &p, const QString &branchTitle, const QString &what,
                   QString (*name)(const T &), const std::vector<TSpec<T>> &specs, TDiffGroup group,
                   QList<TDiffItem> &out, int TDiffPlace::*place)
    {
        const int na = la ? la->Count() : 0, nb = lb ? lb->Count() : 0;
        for (int k = 0; k < std::max(na, nb); ++k) {
            const T *a = k < na ? la->Items(k) : nullptr;
            const T *b = k < nb ? lb->Items(k) : nullptr;
            const QString n = name(a ? *a : *b);
            const QString title = QStringLiteral("%1, %2 %3%4").arg(branchTitle, what).arg(k + 1).arg(
                n.isEmpty() ? QString() : QStringLiteral(" «%1»").arg(n));
            TDiffItem item = Item(group, !a ? TDiffKind::Added : !b ? TDiffKind::Removed : TDiffKind::Changed, title,
                                  p.Number, k + 1);
            if (a && b) {
                CompareSpecs(*a, *b, specs, item.Fields);
                if (item.Fields.isEmpty())
                    continue;
            }
            if (a) {
                item.Place.Branch = p.A;
                item.Place.*place = k;
            }
            out.append(item);
        }
    }

    void Members(const TBranch *a, const TBranch *b, const TPair &p, const QString &branchTitle)
    {
        MembersOf<TJumper>(a ? &a->Jumpers() : nullptr, b ? &b->Jumpers() : nullptr, p, branchTitle,
                           QStringLiteral("перемычка"), [](const TJumper &j) { return j.Caption(); }, JumperSpecs(),
                           TDiffGroup::Jumpers, FJumpers, &TDiffPlace::Jumper);
        MembersOf<TPeopleInfo>(a ? &a->People() : nullptr, b ? &b->People() : nullptr, p, branchTitle,
                               QStringLiteral("человек"), [](const TPeopleInfo &x) { return x.FullName(); },
                               PersonSpecs(), TDiffGroup::People, FPeople, &TDiffPlace::Person);
    }

    // Seams or plan positions by name; equal names in list order.
    void Groups(bool plans)
    {
        const TLayerList &la = plans ? static_cast<const TLayerList &>(FMa.PLFs()) : FMa.Layers();
        const TLayerList &lb = plans ? static_cast<const TLayerList &>(FMb.PLFs()) : FMb.Layers();
        const QString what = plans ? QStringLiteral("Позиция ПЛА") : QStringLiteral("Пласт");
        // Names ranked by their sorted order stand in for numbers.
        QStringList names;
        for (const TLayer *g : la)
            names << g->Name();
        for (const TLayer *g : lb)
            names << g->Name();
        names.sort();
        names.removeDuplicates();
        QHash<QString, qint32> rank;
        for (int i = 0; i < names.size(); ++i)
            rank.insert(names[i], i);
        const TMatch m = MatchByNumber(
            la.Count(), lb.Count(), [&](int i) { return rank.value(la.Items(i)->Name()); },
            [&](int i) { return rank.value(lb.Items(i)->Name()); });
        if (m.Reordered)
            FGroups.append(Remark(TDiffGroup::Groups, plans ? QStringLiteral("Порядок позиций ПЛА в списке другой")
                                                            : QStringLiteral("Порядок пластов в списке другой")));
        static const std::vector<TSpec<TLayer>> specs = {
            {"Visible", u"Видимый", [](const TLayer &g) { return Int(g.VisibleByte()); }, TShow::Flag},
            {"Color", u"Цвет (0xBBGGRR)",
             [](const TLayer &g) { return TColumnValue(QStringLiteral("0x%1").arg(g.Color(), 6, 16, QLatin1Char('0')).toUpper()); },
             TShow::Name},
        };
        for (const TPair &p : m.Pairs) {
            const TLayer *a = p.A >= 0 ? la.Items(p.A) : nullptr;
            const TLayer *b = p.B >= 0 ? lb.Items(p.B) : nullptr;
            QString title = QStringLiteral("%1 «%2»").arg(what, (a ? a : b)->Name());
            if (p.Ordinal > 1 || std::find(m.Duplicated.begin(), m.Duplicated.end(), p.Number) != m.Duplicated.end())
                title += QStringLiteral(" (%1 с этим именем)").arg(Ordinal(p.Ordinal));
            TDiffItem item = Item(TDiffGroup::Groups, !a ? TDiffKind::Added : !b ? TDiffKind::Removed : TDiffKind::Changed,
                                  title, p.Number, p.Ordinal);
            if (a && b) {
                CompareSpecs(*a, *b, specs, item.Fields);
                if (item.Fields.isEmpty())
                    continue;
            }
            FGroups.append(item);
        }
    }

    void Document()
    {
        TDiffItem item = Item(TDiffGroup::Document, TDiffKind::Changed, QStringLiteral("Документ"));
        CompareSpecs(FA, FB, DocumentSpecs(), item.Fields);
        const QStringList &na = FA.Notes(), &nb = FB.Notes();
        for (qsizetype k = 0; k < std::max(na.size(), nb.size()); ++k) {
            if (k < na.size() && k < nb.size() && na[k] == nb[k])
                continue;
            TDiffField f{QStringLiteral("Notes[%1]").arg(k), QStringLiteral("Примечание, строка %1").arg(k + 1),
                         std::nullopt, std::nullopt, true};
            if (k < na.size())
                f.Old = na[k];
            if (k < nb.size())
                f.New = nb[k];
            item.Fields.append(f);
        }
        if (!item.Fields.isEmpty())
            FDocument.append(item);
    }

    const TMineDocument &FA, &FB;
    const TMine &FMa, &FMb;
    QList<TDiffItem> FUzels, FBranches, FJumpers, FPeople, FGroups, FDocument;
    QHash<qint32, int> FMoved;   // number of a moved node (the first of its number) -> its item
    QHash<qint32, const TUzel *> FFirstA, FFirstB;
};

} // namespace

TMineDiff Compare(const TMineDocument &a, const TMineDocument &b)
{
    return Comparer(a, b).Run();
}

QString GroupCaption(TDiffGroup group)
{
    switch (group) {
    case TDiffGroup::Uzels: return QStringLiteral("Узлы");
    case TDiffGroup::Branches: return QStringLiteral("Ветви");
    case TDiffGroup::Jumpers: return QStringLiteral("Перемычки");
    case TDiffGroup::People: return QStringLiteral("Люди");
    case TDiffGroup::Groups: return QStringLiteral("Пласты и позиции ПЛА");
    case TDiffGroup::Document: return QStringLiteral("Документ");
    }
    return QString();
}

} // namespace MineDiff
