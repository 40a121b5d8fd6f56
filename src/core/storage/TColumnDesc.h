#pragma once
// A column of the node or branch table. The document keeps one descriptor per column kind in
// display order; only Kind and Shown travel through the mine file, the rest is filled from the
// kind (FillTexts) whenever the kinds change.
#include <QString>
#include <array>

struct TColumnDesc {
    quint8 Kind = 0;        // column kind 0..18 (nodes 0..3, branches 4..18)
    bool Shown = true;
    QString Caption;        // first header line
    QString UnitLine;       // second header line, may be empty
    bool Editable = false;
    qint32 Align = 0;       // 0 left, 2 right
    qint32 Decimals = 0;

    static constexpr int kNodeColumnCount = 4;
    static constexpr int kBranchColumnCount = 15;
    static constexpr int kKindCount = 19;
    static constexpr quint8 kFirstBranchKind = 4;
    static constexpr quint8 kLastKind = 18;
    // Kinds 11 (volume coefficient) and 12 (additional volume) are never shown.
    static bool AlwaysHidden(int kind) { return kind == 11 || kind == 12; }
    static bool IsNodeKind(int kind) { return kind >= 0 && kind < kFirstBranchKind; }
    static bool IsBranchKind(int kind) { return kind >= kFirstBranchKind && kind <= kLastKind; }

    // Caption, UnitLine, Editable, Align and Decimals from the kind table.
    void FillTexts();
};

using TNodeColumns = std::array<TColumnDesc, TColumnDesc::kNodeColumnCount>;
using TBranchColumns = std::array<TColumnDesc, TColumnDesc::kBranchColumnCount>;
