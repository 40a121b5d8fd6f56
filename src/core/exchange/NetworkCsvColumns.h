#pragma once
// The columns of the CSV files, shared by their reader and their writer: table columns by the
// names their kinds have in CSV (the table of column kinds, whose rows are set before anything
// runs), and the fields that no table column shows.
#include "model/ColumnKinds.h"
#include "model/MineTables.h"

#include <QtGlobal>

namespace NetworkCsvColumns {

inline const char *CsvName(TColumnKind kind) { return ColumnKinds::Row(kind).CsvName; }

enum NodeColumn { NNumber, NX, NY, NZ, NSurface, NodeColumnCount };
inline const char *const kNodeNames[NodeColumnCount] = {
    CsvName(TColumnKind::UzelNumber), CsvName(TColumnKind::X), CsvName(TColumnKind::Y),
    CsvName(TColumnKind::Z), "Surface"};
// The kinds of the node columns that have one (the others: none, as Surface).
inline const TColumnKind kNodeKinds[NSurface] = {TColumnKind::UzelNumber, TColumnKind::X, TColumnKind::Y,
                                                 TColumnKind::Z};

// The gas zones come last: scripts that read the columns by position keep their places.
enum BranchColumn {
    BNumber, BStart, BEnd, BSection, BShape, BRoughness, BResistance, BLayer, BPLF, BComment, BName,
    BLength, BPerimeter, BAngle, BGas1, BGas1Kind, BGas1From, BGas1To, BGas2, BGas2Kind, BGas2From, BGas2To,
    BranchColumnCount
};
inline const char *const kBranchNames[BranchColumnCount] = {
    CsvName(TColumnKind::BranchNumber), CsvName(TColumnKind::StartNumber), CsvName(TColumnKind::EndNumber),
    CsvName(TColumnKind::Section), "Shape", "Roughness", CsvName(TColumnKind::Resistance), "LayerIndex",
    CsvName(TColumnKind::PLF), CsvName(TColumnKind::Comment), CsvName(TColumnKind::Name),
    CsvName(TColumnKind::Length), CsvName(TColumnKind::Perimeter), CsvName(TColumnKind::Angle),
    "Gas1", "Gas1Kind", "Gas1From", "Gas1To", "Gas2", "Gas2Kind", "Gas2From", "Gas2To"};

// Stoppings and people stand in a branch, named by its number, at a position along it (0..1);
// their columns are the English of the stopping and people tables' captions. Materials, doors
// and openings are the indices of their lists.
enum StoppingColumn {
    SBranch, SPosition, SNumber, SMaterial, SCutIn, SVent, SThickness, SDepression, SFlow, SMeasured,
    SResistance, SReverseResistance, SBreakPressure, SDoors, SOpening, SOpeningArea, StoppingColumnCount
};
inline const char *const kStoppingNames[StoppingColumnCount] = {
    "Branch", "Position", "Number", "Material", "CutIn", "Vent", "Thickness", "Depression", "Flow", "Measured",
    "Resistance", "ReverseResistance", "BreakPressure", "Doors", "Opening", "OpeningArea"};

enum PersonColumn { PBranch, PPosition, PTabNumber, PFullName, PSite, PJobTitle, PersonColumnCount };
inline const char *const kPersonNames[PersonColumnCount] = {"Branch", "Position", "TabNumber", "FullName", "Site",
                                                            "JobTitle"};

// The document's own values, a row each: a name and its value.
enum DocumentColumn { DName, DValue, DocumentColumnCount };
inline const char *const kDocumentNames[DocumentColumnCount] = {"Name", "Value"};
// The names of the rows. Note comes once for each line of the notes; Layer and PLF once for each
// seam and plan position in list order, each followed by its colour (#RRGGBB) and whether the 3D
// view shows it.
enum DocumentRow { RTitle, RTemperature, RPressure, RNote, RLayer, RLayerColor, RLayerVisible, RPLF, RPLFColor, RPLFVisible, DocumentRowCount };
inline const char *const kDocumentRows[DocumentRowCount] = {
    "Title", "Temperature", "Pressure", "Note", "Layer", "LayerColor", "LayerVisible", "PLF", "PLFColor", "PLFVisible"};

// The most columns a file has.
inline constexpr int kMaxColumns = 24;
static_assert(NodeColumnCount <= kMaxColumns && BranchColumnCount <= kMaxColumns &&
              StoppingColumnCount <= kMaxColumns);

// Seam and plan-position indices are created as groups on import: a bound keeps a stray value
// from making millions of them.
inline constexpr qint32 kMaxGroupIndex = 9999;
inline constexpr qint32 kMaxShape = 3;
inline constexpr qint32 kMaxRoughness = 4;
inline constexpr qint32 kMaxGasKind = 3;
inline constexpr qint32 kMaxMaterial = MineTables::kMaterialCount - 1;
inline constexpr qint32 kMaxDoors = MineTables::kDoorCount - 1;
inline constexpr qint32 kMaxOpening = MineTables::kOpeningCount - 1;

} // namespace NetworkCsvColumns
