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
    if (FMine)
        SchemeDrawing::DrawScheme(*FMine, canvas, FRect, FOrigin);
}

void TSchemeView::DrawAt(TSchemeCanvas &canvas, QPoint topLeft)
{
    if (!FMine)
        return;
    const QPoint shift = topLeft - QPoint(FRect.Left, FRect.Top);
    const TSchemeRect rect{FRect.Left + shift.x(), FRect.Top + shift.y(), FRect.Right + shift.x(),
                           FRect.Bottom + shift.y()};
    SchemeDrawing::DrawScheme(*FMine, canvas, rect, FOrigin + shift);
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
    if (FMine == mine)
        FMine = nullptr;
}
