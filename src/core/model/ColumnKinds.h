#pragma once
// The column kinds of the node and branch tables, and everything a kind means, in one table:
// its header and look, what it holds of a node or a branch, that value as text (on the screen,
// in find, in the report, in full precision for exchange), and the reading of a typed or pasted
// text with the reason of a refusal. The tables, find, sorting, the print dialog, the report and
// CSV read this table; no other file compares a kind with a number.
//
// The codes are what the mine file stores in its column layout (nodes 0..3, branches 4..18) and
// never change. A kind's value is read and written through the element's getters and setters
// only, so a setter still marks the document modified only on a real change.
#include <QChar>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <variant>

class TBranch;
class TMine;
class TUzel;

enum class TColumnKind : quint8 {
    UzelNumber = 0,
    X = 1,
    Y = 2,
    Z = 3,   // height mark
    BranchNumber = 4,
    StartNumber = 5,
    EndNumber = 6,
    Length = 7,
    Section = 8,
    Perimeter = 9,   // shown with the shape symbol; set through the cross-section dialog
    Volume = 10,
    VolumeFactor = 11,
    ExtraVolume = 12,
    Angle = 13,
    Comment = 14,
    Resistance = 15,
    People = 16,   // the number of persons in the branch
    Name = 17,
    PLF = 18,      // the plan position: its index is the value, its name the text
};

// The value of one kind of one element, of the type the model keeps: numbers qint32, the
// single-precision fields float, the resistance double, texts QString. std::monostate: the kind
// is not a column of that element.
using TColumnValue = std::variant<std::monostate, qint32, float, double, QString>;

enum class TColumnTable : quint8 { Uzels, Branches };
// What a value is read as from a text.
enum class TColumnType : quint8 { Int, Float, Double, Text };
// The keys a cell editor admits besides control keys: digits; digits, "-" and the decimal
// separator; digits and the separator; any key of the document's code page.
enum class TColumnKeys : quint8 { Digits, SignedReal, Real, Text };

struct TColumnKindRow {
    TColumnKind Kind;
    TColumnTable Table;
    const char16_t *Caption;    // first header line
    const char16_t *UnitLine;   // second header line, may be empty
    bool Editable;              // its cells may become current and be edited
    qint32 Align;               // 0 left, 2 right
    qint32 Decimals;            // of the text on the screen, in find and in the report
    bool AlwaysHidden;          // never shown, whatever a layout says
    TColumnType Type;
    TColumnKeys Keys;
    float Emptied;              // what an emptied cell stores when not the unset marker
    const char16_t *ZeroRefused;   // the refusal of a 0, for the element numbers
    const char *CsvName;        // its column in the CSV files, or none
    TColumnValue (*UzelValue)(const TUzel &);
    bool (*SetUzel)(TUzel &, const TColumnValue &);
    TColumnValue (*BranchValue)(const TBranch &);
    bool (*SetBranch)(TBranch &, const TColumnValue &);
};

// Why a typed or pasted text is not stored.
enum class TInputFault : quint8 {
    None,
    NotANumber,    // does not read as the kind's number (the key check of a paste included)
    Zero,          // 0 as the number of a node or a branch
    NotStorable,   // a character the document's code page lacks
};

// Where a text comes from: a paste is held to the keys the cell editor admits.
enum class TInputSource : quint8 { Typed, Pasted };

struct TColumnInput {
    TColumnValue Value;   // what the model stores; std::monostate when refused
    TInputFault Fault = TInputFault::None;
    QString Refusal;      // the message of the refusal, empty when the text is taken
};

// A row that the row check refuses: the message and the column it puts the cursor on.
struct TRowFault {
    QString Message;   // empty: the row passes
    TColumnKind Column = TColumnKind::UzelNumber;
};

namespace ColumnKinds {

inline constexpr int kCount = 19;
inline constexpr int kUzelCount = 4;
inline constexpr int kBranchCount = 15;
inline constexpr TColumnKind kFirstBranchKind = TColumnKind::BranchNumber;

extern const TColumnKindRow kRows[kCount];

constexpr int Code(TColumnKind kind) { return int(kind); }
inline const TColumnKindRow &Row(TColumnKind kind) { return kRows[Code(kind)]; }
// The kind of a stored code; none outside 0..18.
std::optional<TColumnKind> FromCode(int code);
// The kind of a code in table, none when the code is not one of its kinds.
std::optional<TColumnKind> FromCode(int code, TColumnTable table);

inline bool IsText(TColumnKind kind) { return Row(kind).Type == TColumnType::Text; }
// A node's coordinate: a change moves the node on the schemes.
inline bool IsCoordinate(TColumnKind kind)
{
    return kind == TColumnKind::X || kind == TColumnKind::Y || kind == TColumnKind::Z;
}
// A branch's own or an end node's number: a change may move its stoppings on the schemes.
inline bool IsBranchNumbering(TColumnKind kind)
{
    return kind == TColumnKind::BranchNumber || kind == TColumnKind::StartNumber ||
           kind == TColumnKind::EndNumber;
}
// Its cells show a number (the plan position, kept as an index, shows a name).
inline bool ShowsNumber(TColumnKind kind) { return !IsText(kind) && kind != TColumnKind::PLF; }
// Typed and pasted values reach the model through a setter (the computed kinds and the
// perimeter, which the cross-section dialog sets, have none).
inline bool Settable(TColumnKind kind) { return Row(kind).SetUzel || Row(kind).SetBranch; }
// The header on one line, as messages name a column: "Коор. X м", "Нач. узел".
QString HeaderText(TColumnKind kind);

// --- the value of an element
TColumnValue Value(TColumnKind kind, const TUzel &uzel);
TColumnValue Value(TColumnKind kind, const TBranch &branch);
// Through the element's setter; false when the kind has none for the element or value is not
// of the kind's type.
bool SetValue(TColumnKind kind, TUzel &uzel, const TColumnValue &value);
bool SetValue(TColumnKind kind, TBranch &branch, const TColumnValue &value);
// What an emptied cell stores: the unset marker, or the default of the volume coefficient (1)
// and of the additional volume (0); an empty text for the text kinds.
TColumnValue EmptiedValue(TColumnKind kind);

// --- texts
// As the tables, the report and the print dialog show it: integers in decimal, reals fixed with
// the kind's decimals and the user's decimal separator, the unset marker empty, texts as
// stored, the plan position's name (empty without one).
QString Text(TColumnKind kind, const TUzel &uzel);
QString Text(TColumnKind kind, const TBranch &branch);
// The texts of a number column of kind that are the widest of its table in mine: those of the
// smallest and the largest value (the most digits, the minus sign) and of a value that is no
// number (a file may hold one). None for the other kinds and an empty table. One pass over the
// list without making a text per element.
QStringList WidestTexts(TColumnKind kind, const TMine &mine);
// As find lists it: the same, but a branch without a plan position has "<без позиции>".
QString FindText(TColumnKind kind, const TBranch &branch);
// In full: integers in decimal, reals as the shortest fixed-point text that reads back to the
// same value with "." as the point, the unset marker empty, texts as stored.
QString ExactText(const TColumnValue &value);
// The value in full; the plan position by its name.
QString ExactText(TColumnKind kind, const TUzel &uzel);
QString ExactText(TColumnKind kind, const TBranch &branch);
// In full with the user's decimal separator: what a copy to the clipboard carries, so that a
// spreadsheet of the user's language reads a number and a paste gives the same value back.
QString CopyText(TColumnKind kind, const TUzel &uzel);
QString CopyText(TColumnKind kind, const TBranch &branch);
// A number as the sorts compare it (texts and none give 0).
double SortNumber(const TColumnValue &value);

// --- typed and pasted text
// Whether the cell editor of kind admits key (control keys always pass).
bool KeyAdmitted(TColumnKind kind, QChar key);
// What text (trimmed by the caller, or a cell's own text restored) stores in a column of kind:
// an empty text, or a lone "-" where an emptied cell is unset, stores EmptiedValue; texts must
// fit the document's code page. A pasted text must also consist of keys the editor admits,
// with "," or "." (not both) as the decimal point in any locale, as the CSV import reads it.
TColumnInput ReadInput(TColumnKind kind, const QString &text, TInputSource source);

// --- the row check of Enter and of a paste
TRowFault UzelRowFault(qint32 number);
TRowFault BranchRowFault(qint32 number, qint32 start, qint32 end);

} // namespace ColumnKinds
