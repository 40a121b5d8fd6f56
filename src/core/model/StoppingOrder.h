#pragma once
// The order of the stopping list: every stopping of a mine, branch by branch in list order and
// within a branch in its own (position) order, sortable by any column of the list. The list
// holds the mine's stoppings; it owns none of them.
//
// Columns are those of the list window: 1 the branch number, then 2..14 the stopping table's
// columns in their order ("Номер", "Материал", "Вруб", "Вент.", "Толщ.", "Положен.",
// "H замер.", "Q замер.", "R", "R реверс.", destruction pressure, "Двери", "Проемы").
#include <vector>

class TJumper;
class TMine;

namespace StoppingOrder {

enum TColumn : int {
    BranchColumn = 1,
    CaptionColumn,
    MaterialColumn,
    CutInColumn,
    VentColumn,
    ThicknessColumn,
    PositionColumn,
    DepressionColumn,
    FlowColumn,
    ResistanceColumn,
    ReverseResistanceColumn,
    BreakPressureColumn,
    DoorsColumn,
    OpeningColumn,
    LastColumn = OpeningColumn
};

std::vector<TJumper *> AllStoppings(const TMine &mine);

// Ascending by the column's value; equal values by branch number and then by position (the
// position column only by branch number); stoppings equal in all of these keep their order.
// Codes and flags compare as stored numbers ("Нет" before "Да"), the designation byte by byte
// in the file's code page. A column outside 1..14 leaves the list as it is.
void Sort(std::vector<TJumper *> &stoppings, int column);

} // namespace StoppingOrder
