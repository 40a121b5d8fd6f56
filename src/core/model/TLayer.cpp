#include "model/TLayer.h"
#include "AppError.h"
#include "model/TMine.h"

namespace {
TMine *CheckedMine(TMine *mine)
{
    if (!mine)
        throw AppError(QStringLiteral("Параметр Owner не должен быть равным nil"));
    return mine;
}
} // namespace

TLayer::TLayer(TMine *mine) : TLayer(mine, ListKind::Layers) {}

TLayer::TLayer(TMine *mine, ListKind kind) : FMine(CheckedMine(mine))
{
    if (kind == ListKind::Layers)
        FMine->Layers().Append(this);
    else
        FMine->PLFs().Append(this);
    if (FMine->Journal().Active())
        FMine->Journal().Added(this);
    FMine->SetModified(true);
}

TLayer::~TLayer() = default;

void TLayer::Changed() { FMine->SetModified(true); }

void TLayer::Record(TNamedField field)
{
    if (FMine->Journal().Active())
        FMine->Journal().Named(this, field);
}

void TLayer::SetName(const QString &value)
{
    if (value == FName)
        return;
    Record(TNamedField::LayerName);
    FName = value;
    Changed();
}

void TLayer::SetColor(quint32 value)
{
    if (value == FColor)
        return;
    Record(TNamedField::LayerColor);
    FColor = value;
    Changed();
}

void TLayer::SetVisible(bool value)
{
    if (value == Visible())
        return;
    Record(TNamedField::LayerVisible);
    FVisible = value ? 1 : 0;
    if (IMineScheme *scheme = FMine->Scheme())
        scheme->RebuildPicture();
    Changed();
}

void TLayer::SetVisibleByte(quint8 value)
{
    SetVisible(value != 0);
    FVisible = value;
}
