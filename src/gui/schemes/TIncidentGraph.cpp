#include "schemes/TIncidentGraph.h"

#include "TImageSchemeCanvas.h"
#include "base/Guarded.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "model/Unset.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

using namespace IncidenceScheme;

namespace {

TSchemeColor SchemeColorOf(const QColor &c) { return SchemeRgb(c.red(), c.green(), c.blue()); }

} // namespace

TIncidentGraph::TIncidentGraph(QWidget *parent)
    : QWidget(parent), m_centerUzel(kUnsetInt), m_centerBranch(kUnsetInt)
{
    setFocusPolicy(Qt::StrongFocus);
    // The picture covers every pixel.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(280, 170);
}

void TIncidentGraph::SetMine(TMine *mine)
{
    m_mine = mine;
    m_layoutValid = false;
    update();
}

void TIncidentGraph::ShowUzel(qint32 n)
{
    m_mode = TMode::Uzel;
    m_centerUzel = n;
    update();
}

void TIncidentGraph::ShowBranch(qint32 n)
{
    m_mode = TMode::Branch;
    m_centerBranch = n;
    update();
}

void TIncidentGraph::SetLabelMode(int mode)
{
    m_labelMode = mode == 1 ? 1 : 0;
    update();
}

TLook TIncidentGraph::look() const
{
    const QPalette &pal = palette();
    TLook look;
    look.Face = SchemeColorOf(pal.color(QPalette::Button));
    look.Shadow = SchemeColorOf(pal.color(QPalette::Dark));
    look.Highlight = SchemeColorOf(pal.color(QPalette::Light));
    look.LabelBack = SchemeColorOf(pal.color(QPalette::ToolTipBase));
    const QFont &f = font();
    look.FontFamily = f.family();
    // Points at 96 pixels per inch, as the canvas sets them.
    look.FontPoints = f.pointSize() > 0 ? f.pointSize() : std::max(1, int(std::lround(f.pixelSize() * 72.0 / 96.0)));
    return look;
}

void TIncidentGraph::layOut(TLayout &layout) const
{
    const qint32 number = m_mode == TMode::Uzel ? m_centerUzel : m_centerBranch;
    if (m_mine) {
        Layout(*m_mine, m_mode, number, width(), height(), layout);
    } else {
        layout.Shown = false;
        layout.Spokes.clear();
    }
}

void TIncidentGraph::paintEvent(QPaintEvent *)
{
    m_layoutValid = false;
    if (m_picture.size() != size())
        m_picture = QImage(size(), QImage::Format_RGB32);
    {
        QPainter p(&m_picture);
        TImageSchemeCanvas canvas(p, m_picture);
        try {
            layOut(m_layout);
        } catch (const std::bad_alloc &) {
            // No memory for the mine's incidence: the background, and no clicks.
            m_layout.Shown = false;
            m_layout.Spokes.clear();
        }
        Draw(m_layout, canvas, width(), height(), m_labelMode, look());
    }
    QPainter(this).drawImage(0, 0, m_picture);
    m_layoutValid = m_layout.Shown;
    if (OnPaint)
        OnPaint(this);
}

void TIncidentGraph::resizeEvent(QResizeEvent *)
{
    m_picture = QImage(size(), QImage::Format_RGB32);
    if (OnResize)
        OnResize(this);
}

void TIncidentGraph::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    // What a click sets off (the tables, the 3D scheme) may fail; its error stops here.
    RunGuarded([&] { pressed(at); });
}

void TIncidentGraph::pressed(QPoint at)
{
    if (!m_layoutValid || !m_mine)
        return;
    TMine *mine = m_mine;
    // The model may have changed since the paint: the spokes are found again, as drawn now.
    layOut(m_layout);
    const THit hit = HitTest(m_layout, at);
    if (hit.What == THit::Uzel) {
        ShowUzel(hit.FarNumber);
        TUzel *uzel = mine->Uzels().Find(hit.FarNumber);
        // A far end naming no node leaves the background: nothing to select.
        if (!uzel || IsUnset(hit.FarNumber))
            return;
        mine->SelectUzel(uzel);
        if (OnSelectUzel)
            OnSelectUzel(this, mine->Uzels().ItemPosition(uzel), uzel);
    } else if (hit.What == THit::Branch) {
        ShowBranch(hit.Spoke->Number());
        if (OnSelectBranch)
            OnSelectBranch(this, mine->Branches().ItemPosition(hit.Spoke), hit.Spoke);
    }
}
