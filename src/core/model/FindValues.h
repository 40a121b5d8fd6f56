#pragma once
// What the find dialog lists for a column kind: the value of every node (kinds 0..3) or branch
// (kinds 4..18) as text (ColumnKinds::FindText: the table's text, but a missing plan position
// named "<без позиции>"), sorted by text without regard to letter case, each remembering the
// element's list position.
#include <QString>
#include <vector>

class TMine;

struct TFindValue {
    QString Text;       // as listed
    QString Key;        // Text folded to one letter case: what sorting and matching compare
    int Position = 0;   // the element's position in its list, from 0
};

namespace FindValues {

// Every node's (kind 0..3) or branch's (kind 4..18) value in list order, leaving out values
// that are blank after trimming; all but the element's number and the comment end in
// "    <узел N>" / "    <ветвь N>". Then sorted by Key, equal keys in list order.
std::vector<TFindValue> List(const TMine &mine, int kind);

// The first listed value that begins with typed (letter case ignored), or -1; an empty typed
// text matches nothing. values must be sorted as List gives them.
int FirstMatch(const std::vector<TFindValue> &values, const QString &typed);

} // namespace FindValues
