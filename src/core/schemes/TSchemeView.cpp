#include "schemes/TSchemeView.h"

#include "model/TMine.h"
#include "schemes/SchemeDrawing.h"

TSchemeView::~TSchemeView()
{
    if (FMine && FMine->Scheme() == this)
        FMine->SetScheme(nullptr);
}

void TSchemeView::SetMine(TMine *mine)
{
    if (FMine && FMine->Scheme() == this)
        FMine->SetScheme(nullptr);
    FMine = mine;
    FScene.Clear();
    if (!mine)
        return;
    if (IMineScheme *other = mine->Scheme(); other && other != this)
        other->MineDestroyed(mine);   // a mine shows in one scheme at a time
    mine->SetScheme(this);
    if (mine->SelKind() != 0)
        mine->SelectBranch(mine->CurBranch());
    else
        mine->SelectUzel(mine->CurUzel());
    mine->SetCenterRequest(true);
    if (!mine->NetworkShown() && mine->TopologyValid())
        mine->CentreOnNetwork();
}

void TSchemeView::ShowWholeMine()
{
    if (FMine)
        FMine->ShowWholeMine();
}

// A mine attached before its topology was valid (a document window becomes active before its
// file is read) shows its whole network when there first is one to draw.
void TSchemeView::ShowNetworkFirst()
{
    if (!FMine->NetworkShown() && FMine->TopologyValid()) {
        FMine->CentreOnNetwork();
        FMine->ProjectNodes();
    }
}

void TSchemeView::SetDrawRect(const TSchemeRect &rect)
{
    FRect = rect;
    FOrigin = RectCenter();
}

QPoint TSchemeView::RectCenter() const
{
    return QPoint((FRect.Left + FRect.Right) / 2, (FRect.Top + FRect.Bottom) / 2);
}

void TSchemeView::Draw(TSchemeCanvas &canvas)
{
    if (!FMine)
        return;
    ShowNetworkFirst();
    SchemeDrawing::DrawScheme(*FMine, canvas, FRect, FOrigin, FShowSelection, &FScene);
}

void TSchemeView::DrawInto(TSchemeCanvas &canvas, const TSchemeRect &rect)
{
    if (!FMine)
        return;
    ShowNetworkFirst();
    const float fit = SchemeDrawing::FitFactor(*FMine, FRect);
    const float fitThere = SchemeDrawing::FitFactor(*FMine, rect);
    const double grow = fit > 0 ? double(fitThere) / fit : 1.0;
    const QPoint off = FOrigin - RectCenter();
    const QPoint origin(int((qint64(rect.Left) + rect.Right) / 2) + TMine::Nearest(off.x() * grow),
                        int((qint64(rect.Top) + rect.Bottom) / 2) + TMine::Nearest(off.y() * grow));
    const float kept = FMine->FitFactor();
    try {
        SchemeDrawing::DrawScheme(*FMine, canvas, rect, origin, FShowSelection, &FScene);
    } catch (...) {
        FMine->SetFitFactor(kept);
        throw;
    }
    FMine->SetFitFactor(kept);
}

TUzel *TSchemeView::HitNode(QPoint at) const
{
    return FMine ? SchemeDrawing::HitNode(*FMine, FOrigin, at) : nullptr;
}

TBranch *TSchemeView::HitBranch(QPoint at) const
{
    return FMine ? SchemeDrawing::HitBranch(*FMine, FOrigin, at) : nullptr;
}

void TSchemeView::SetFocusPoint(float x, float y, float z)
{
    SetRotationCenter(x, y, z);
}

void TSchemeView::SetRotationCenter(float x, float y, float z)
{
    FCenterX = x;
    FCenterY = y;
    FCenterZ = z;
}

void TSchemeView::SelectUzelEvent(TMine *mine, int index, TUzel *uzel)
{
    if (OnSelectUzel)
        OnSelectUzel(mine, index, uzel);
}

void TSchemeView::SelectBranchEvent(TMine *mine, int index, TBranch *branch)
{
    if (OnSelectBranch)
        OnSelectBranch(mine, index, branch);
}

void TSchemeView::SelectJumperEvent(TMine *mine, TJumper *jumper)
{
    if (OnSelectJumper)
        OnSelectJumper(mine, jumper);
}

void TSchemeView::MineDestroyed(TMine *mine)
{
    if (FMine == mine) {
        FMine = nullptr;
        FScene.Clear();
    }
}
