#pragma once
// What changed between two versions of a mine document: the elements added, removed and
// changed, each changed field with its caption and its value before and after, in full
// precision. tarvel-mdf diff prints it, the editor's compare window lists it.
//
// Matching: nodes and branches by number (elements sharing a number are matched in list order,
// and a remark says so), stoppings and people by their branch and their place in its list,
// seams and plan positions by name; the document's own fields and notes as they stand. A
// branch's seam and plan position compare by name, so that a seam inserted before others does
// not change every branch. The columns of the node and branch tables compare through the table
// of column kinds (its captions, its values, its full-precision texts); reals compare exactly
// (by their bits: -0 is not 0, a NaN equals the same NaN). A node moved also lists the lengths
// of its branches that changed with it. An order of a list that differs with the same elements
// is a remark, not a difference.
#include <QList>
#include <QString>
#include <optional>

class TMineDocument;

enum class TDiffGroup : quint8 { Uzels, Branches, Jumpers, People, Groups, Document };
enum class TDiffKind : quint8 { Added, Removed, Changed, Remark };

struct TDiffField {
    QString Key;                  // as the dump names the field: "X", "Section", "Notes[2]"
    QString Caption;              // as the tables head it: "Коор. X м"
    std::optional<QString> Old;   // in full; none: not given (the unset marker) or no such line
    std::optional<QString> New;
    bool Text = false;            // a text (shown in quotes), not a number or a name
};

// Where an element of the first document stands, for making it current: list positions from 0,
// -1 for none (an element only the second document has, a seam, the document itself).
struct TDiffPlace {
    int Uzel = -1;
    int Branch = -1;
    int Jumper = -1;   // in the branch's list
    int Person = -1;   // in the branch's list
};

struct TDiffItem {
    TDiffGroup Group = TDiffGroup::Document;
    TDiffKind Kind = TDiffKind::Changed;
    QString Title;        // "Узел 12", "Ветвь 5, перемычка 2 «П-1»", "Пласт «Основной»"; a remark's text
    qint32 Number = 0;    // the node's or branch's number (for stoppings and people their branch's)
    int Ordinal = 1;      // among the elements of that number, or in the branch's list, from 1
    TDiffPlace Place;     // in the first document
    QList<TDiffField> Fields;   // Changed only
};

struct TMineDiff {
    QList<TDiffItem> Items;   // grouped in the order of TDiffGroup, by number within a group
    // Anything but remarks.
    bool Different() const;
};

namespace MineDiff {

TMineDiff Compare(const TMineDocument &a, const TMineDocument &b);

// The group's heading: "Узлы", "Ветви", "Перемычки", "Люди", "Пласты и позиции ПЛА", "Документ".
QString GroupCaption(TDiffGroup group);

} // namespace MineDiff
