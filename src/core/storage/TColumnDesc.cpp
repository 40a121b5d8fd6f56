#include "storage/TColumnDesc.h"

void TColumnDesc::FillTexts()
{
    Q_ASSERT(Kind <= kLastKind);
    const TColumnKindRow &row = ColumnKinds::Row(ColumnKind());
    Caption = QString::fromUtf16(row.Caption);
    UnitLine = QString::fromUtf16(row.UnitLine);
    Editable = row.Editable;
    Align = row.Align;
    Decimals = row.Decimals;
}
