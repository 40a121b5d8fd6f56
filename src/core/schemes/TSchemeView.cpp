#include "schemes/TSchemeView.h"

#include "model/TMine.h"
#include "schemes/SchemeDrawing.h"

TSchemeView::~TSchemeView()
{
    if (m_mine && m_mine->Scheme() == this)
        m_mine->SetScheme(nullptr);
}

void TSchemeView::SetMine(TMine *mine)
{
    if (m_mine && m_mine->Scheme() == this)
        m_mine->SetScheme(nullptr);
    m_mine = mine;
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
    m_rect = rect;
    m_origin = RectCenter();
}

QPoint TSchemeView::RectCenter() const
{
    return QPoint((m_rect.Left + m_rect.Right) / 2, (m_rect.Top + m_rect.Bottom) / 2);
}

void TSchemeView::Draw(TSchemeCanvas &canvas)
{
    if (m_mine)
        SchemeDrawing::DrawScheme(*m_mine, canvas, m_rect, m_origin);
}

void TSchemeView::DrawAt(TSchemeCanvas &canvas, QPoint topLeft)
{
    if (!m_mine)
        return;
    const QPoint shift = topLeft - QPoint(m_rect.Left, m_rect.Top);
    const TSchemeRect rect{m_rect.Left + shift.x(), m_rect.Top + shift.y(), m_rect.Right + shift.x(),
                           m_rect.Bottom + shift.y()};
    SchemeDrawing::DrawScheme(*m_mine, canvas, rect, m_origin + shift);
}

TUzel *TSchemeView::HitNode(QPoint at) const
{
    return m_mine ? SchemeDrawing::HitNode(*m_mine, m_origin, at) : nullptr;
}

TBranch *TSchemeView::HitBranch(QPoint at) const
{
    return m_mine ? SchemeDrawing::HitBranch(*m_mine, m_origin, at) : nullptr;
}

void TSchemeView::SetFocusPoint(float x, float y, float z)
{
    SetRotationCenter(x, y, z);
}

void TSchemeView::SetRotationCenter(float x, float y, float z)
{
    m_centerX = x;
    m_centerY = y;
    m_centerZ = z;
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
    if (m_mine == mine)
        m_mine = nullptr;
}
