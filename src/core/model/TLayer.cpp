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
    FMine->SetModified(true);
}

TLayer::~TLayer() = default;

void TLayer::Changed() { FMine->SetModified(true); }

void TLayer::SetName(const QString &value)
{
    if (value == FName)
        return;
    FName = value;
    Changed();
}

void TLayer::SetColor(quint32 value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TLayer::SetVisible(bool value)
{
    if (value == Visible())
        return;
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
