#include "storage/TMineDocument.h"

#include "model/TMine.h"
#include "storage/MdfFormat.h"

TMineDocument::TMineDocument() : FMine(std::make_unique<TMine>()), FFileVersion(MdfFormat::kCurrentVersion)
{
    ResetColumns();
    SetCellLength(4.0f);
    FMine->SetModified(false);
}

TMineDocument::~TMineDocument() = default;

void TMineDocument::SetCellLength(float v)
{
    FCellLength = v;
    FMine->SetCellLength(v);
}

TNodeColumns TMineDocument::DefaultNodeColumns()
{
    TNodeColumns columns;
    for (int i = 0; i < TColumnDesc::kNodeColumnCount; ++i) {
        columns[i].Kind = quint8(i);
        columns[i].Shown = true;
        columns[i].FillTexts();
    }
    return columns;
}

TBranchColumns TMineDocument::DefaultBranchColumns()
{
    TBranchColumns columns;
    for (int i = 0; i < TColumnDesc::kBranchColumnCount; ++i) {
        columns[i].Kind = quint8(TColumnDesc::kFirstBranchKind + i);
        columns[i].Shown = !TColumnDesc::AlwaysHidden(columns[i].Kind);
        columns[i].FillTexts();
    }
    return columns;
}

void TMineDocument::ResetColumns()
{
    FNodeColumns = DefaultNodeColumns();
    FBranchColumns = DefaultBranchColumns();
}

void TMineDocument::SetNodeColumns(const TNodeColumns &columns)
{
    FNodeColumns = columns;
    for (TColumnDesc &c : FNodeColumns)
        c.FillTexts();
}

void TMineDocument::SetBranchColumns(const TBranchColumns &columns)
{
    FBranchColumns = columns;
    for (TColumnDesc &c : FBranchColumns)
        c.FillTexts();
}
