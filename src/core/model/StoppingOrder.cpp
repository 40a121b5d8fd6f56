#include "model/StoppingOrder.h"

#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"

#include <QByteArray>
#include <QStringEncoder>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace StoppingOrder {

std::vector<TJumper *> AllStoppings(const TMine &mine)
{
    std::vector<TJumper *> list;
    list.reserve(size_t(mine.Jumpers().Count()));
    const TBranchList &branches = mine.Branches();
    for (int i = 1; i <= branches.Count(); ++i)
        for (TJumper *j : branches.Items(i)->Jumpers())
            list.push_back(j);
    return list;
}

namespace {

// One stopping's keys, taken once so that comparing never reaches back into the model.
struct Keyed {
    TJumper *jumper;
    double value;        // the column's value (not used for the designation)
    qint32 branch;
    double position;
};

// Three-way comparison of reals in which a value that is not a number (a damaged file can hold
// one) comes after every number and equals any other: the sort needs a strict weak order, and
// the plain < has none once NaN takes part.
int CompareReal(double a, double b)
{
    const bool aNan = std::isnan(a), bNan = std::isnan(b);
    if (aNan || bNan)
        return int(aNan) - int(bNan);
    return a < b ? -1 : (b < a ? 1 : 0);
}

template<typename Less> void SortKeyed(std::vector<TJumper *> &stoppings, std::vector<Keyed> &keyed,
                                       Less less)
{
    std::stable_sort(keyed.begin(), keyed.end(), less);
    for (size_t i = 0; i < keyed.size(); ++i)
        stoppings[i] = keyed[i].jumper;
}

double ValueOf(const TJumper &j, int column)
{
    switch (column) {
    case MaterialColumn: return j.Material();
    case CutInColumn: return j.CutIn() ? 1 : 0;
    case VentColumn: return j.Vent() ? 1 : 0;
    case ThicknessColumn: return j.Thickness();
    case PositionColumn: return j.Position();
    case DepressionColumn: return j.Depression();
    case FlowColumn: return j.Flow();
    case ResistanceColumn: return j.Resistance();
    case ReverseResistanceColumn: return j.ReverseResistance();
    case BreakPressureColumn: return j.BreakPressure();
    case DoorsColumn: return j.Doors();
    case OpeningColumn: return j.Opening();
    default: return 0;
    }
}

} // namespace

void Sort(std::vector<TJumper *> &stoppings, int column)
{
    if (column < BranchColumn || column > LastColumn)
        return;
    std::vector<Keyed> keyed;
    keyed.reserve(stoppings.size());
    for (TJumper *j : stoppings)
        keyed.push_back({j, ValueOf(*j, column), j->Branch()->Number(), j->Position()});

    const auto byBranchThenPosition = [](const Keyed &a, const Keyed &b) {
        if (a.branch != b.branch)
            return a.branch < b.branch;
        return CompareReal(a.position, b.position) < 0;
    };
    if (column == BranchColumn) {
        SortKeyed(stoppings, keyed, byBranchThenPosition);
    } else if (column == CaptionColumn) {
        // The designations as the file holds them, compared byte by byte (unsigned).
        QStringEncoder encoder("windows-1251");
        std::vector<QByteArray> captions(keyed.size());
        std::vector<size_t> order(keyed.size());
        for (size_t i = 0; i < keyed.size(); ++i)
            captions[i] = encoder.encode(keyed[i].jumper->Caption());
        std::iota(order.begin(), order.end(), size_t(0));
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int c = captions[a].compare(captions[b]);
            if (c != 0)
                return c < 0;
            return byBranchThenPosition(keyed[a], keyed[b]);
        });
        for (size_t i = 0; i < order.size(); ++i)
            stoppings[i] = keyed[order[i]].jumper;
    } else if (column == PositionColumn) {
        SortKeyed(stoppings, keyed, [](const Keyed &a, const Keyed &b) {
            if (const int c = CompareReal(a.value, b.value))
                return c < 0;
            return a.branch < b.branch;
        });
    } else {
        SortKeyed(stoppings, keyed, [&](const Keyed &a, const Keyed &b) {
            if (const int c = CompareReal(a.value, b.value))
                return c < 0;
            return byBranchThenPosition(a, b);
        });
    }
}

} // namespace StoppingOrder
