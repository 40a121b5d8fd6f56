#pragma once
// The incidence scheme control: a node's star or a branch's two fans (core
// schemes/IncidenceScheme.h), walked by clicks. A click on a spoke's outer disc makes the node at
// the far end the centre (the mine selects it); a click on a spoke shows that branch.
//
// Who owns what: the control shows a mine it does not own and keeps of it only the mode and the
// number of the element in the middle, never an element: the layout is built afresh for every
// paint and every click, so a deleted element leaves only the background and nothing that is gone
// is touched. Whoever gives it a mine takes it back (SetMine(nullptr)) before the mine goes.
//
// The picture is composed in a 32-bit off-screen image the size of the control, in the control's
// font and the system's colours (button face, its shadow and light, the tool tips' background),
// and copied to the screen in one step.
#include "schemes/IncidenceScheme.h"

#include <QImage>
#include <QWidget>
#include <functional>

class TMine;
class TUzel;
class TBranch;

class TIncidentGraph : public QWidget {
    Q_OBJECT
public:
    explicit TIncidentGraph(QWidget *parent = nullptr);

    TMine *Mine() const { return m_mine; }
    void SetMine(TMine *mine);
    // Node mode with node n in the middle; branch mode with branch n (the first of that number).
    void ShowUzel(qint32 n);
    void ShowBranch(qint32 n);
    IncidenceScheme::TMode Mode() const { return m_mode; }
    qint32 CenterUzel() const { return m_centerUzel; }
    qint32 CenterBranch() const { return m_centerBranch; }
    // 0 node numbers at the outer discs, 1 branch numbers along the spokes.
    void SetLabelMode(int mode);
    int LabelMode() const { return m_labelMode; }
    // A complete paint showed an element: mouse presses count only then.
    bool LayoutValid() const { return m_layoutValid; }

    // Raised after a click moved the view; index is the 1-based position in the mine's list.
    std::function<void(TIncidentGraph *sender, int index, TUzel *uzel)> OnSelectUzel;
    std::function<void(TIncidentGraph *sender, int index, TBranch *branch)> OnSelectBranch;
    std::function<void(TIncidentGraph *sender)> OnPaint;
    std::function<void(TIncidentGraph *sender)> OnResize;

    QSize sizeHint() const override { return QSize(280, 170); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    IncidenceScheme::TLook look() const;
    void layOut(IncidenceScheme::TLayout &layout) const;
    void pressed(QPoint at);

    TMine *m_mine = nullptr;
    IncidenceScheme::TMode m_mode = IncidenceScheme::TMode::Uzel;
    qint32 m_centerUzel;
    qint32 m_centerBranch;
    int m_labelMode = 0;
    bool m_layoutValid = false;
    QImage m_picture;
    IncidenceScheme::TLayout m_layout;   // of the last paint, kept for its buffers
};
