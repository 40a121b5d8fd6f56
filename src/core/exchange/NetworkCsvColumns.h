#pragma once
// The columns of the CSV files, shared by their reader and their writer: table columns by the
// names their kinds have in CSV (the table of column kinds, whose rows are set before anything
// runs), and the fields that no table column shows.
#include "model/ColumnKinds.h"

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

enum BranchColumn {
    BNumber, BStart, BEnd, BSection, BShape, BRoughness, BResistance, BLayer, BPLF, BComment, BName,
    BLength, BPerimeter, BAngle, BranchColumnCount
};
inline const char *const kBranchNames[BranchColumnCount] = {
    CsvName(TColumnKind::BranchNumber), CsvName(TColumnKind::StartNumber), CsvName(TColumnKind::EndNumber),
    CsvName(TColumnKind::Section), "Shape", "Roughness", CsvName(TColumnKind::Resistance), "LayerIndex",
    CsvName(TColumnKind::PLF), CsvName(TColumnKind::Comment), CsvName(TColumnKind::Name),
    CsvName(TColumnKind::Length), CsvName(TColumnKind::Perimeter), CsvName(TColumnKind::Angle)};

// The most columns a file has.
inline constexpr int kMaxColumns = 16;
static_assert(NodeColumnCount <= kMaxColumns && BranchColumnCount <= kMaxColumns);

// Seam and plan-position indices are created as groups on import: a bound keeps a stray value
// from making millions of them.
inline constexpr qint32 kMaxGroupIndex = 9999;
inline constexpr qint32 kMaxShape = 3;
inline constexpr qint32 kMaxRoughness = 4;

} // namespace NetworkCsvColumns
