#pragma once
// A column of the node or branch table. The document keeps one descriptor per column kind in
// display order; only Kind and Shown travel through the mine file, the rest is filled from the
// kind's row of the table of column kinds (FillTexts) whenever the kinds change.
#include "model/ColumnKinds.h"

#include <QString>
#include <array>

struct TColumnDesc {
    quint8 Kind = 0;        // column kind code 0..18 (nodes 0..3, branches 4..18)
    bool Shown = true;
    QString Caption;        // first header line
    QString UnitLine;       // second header line, may be empty
    bool Editable = false;
    qint32 Align = 0;       // 0 left, 2 right
    qint32 Decimals = 0;

    static constexpr int kNodeColumnCount = ColumnKinds::kUzelCount;
    static constexpr int kBranchColumnCount = ColumnKinds::kBranchCount;
    static constexpr int kKindCount = ColumnKinds::kCount;
    static constexpr quint8 kFirstBranchKind = quint8(ColumnKinds::kFirstBranchKind);
    static constexpr quint8 kLastKind = quint8(ColumnKinds::kCount - 1);
    // The kinds no layout shows (the volume coefficient and the additional volume).
    static bool AlwaysHidden(int code)
    {
        const std::optional<TColumnKind> kind = ColumnKinds::FromCode(code);
        return kind && ColumnKinds::Row(*kind).AlwaysHidden;
    }
    // The kind of a descriptor read from a file or made by the program (always one of 0..18).
    TColumnKind ColumnKind() const { return ColumnKinds::FromCode(Kind).value_or(TColumnKind::UzelNumber); }

    // Caption, UnitLine, Editable, Align and Decimals from the kind's row.
    void FillTexts();
};

using TNodeColumns = std::array<TColumnDesc, TColumnDesc::kNodeColumnCount>;
using TBranchColumns = std::array<TColumnDesc, TColumnDesc::kBranchColumnCount>;
