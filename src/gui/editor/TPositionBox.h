#pragma once
// The position box under the stopping (people) table: the current branch drawn as a bar from
// its start node to its end node, the stoppings (persons) at their positions along it, the
// distances between them, and dragging of a stopping (person) to a new position.
//
// The box reads the branch through the panel (CurrentBranch) every time it paints, so it never
// holds a branch of its own; the only model change it makes is SetPosition of the dragged
// element. Geometry (bar, x of a position, hit test) is public for the tests.
#include <QImage>
#include <QRect>
#include <QWidget>
#include <functional>

class TBranch;

class TPositionBox : public QWidget {
    Q_OBJECT
public:
    enum Kind { Stoppings, People };

    explicit TPositionBox(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }

    // Where the box takes the branch it draws (null: nothing is drawn) and the element of the
    // table's current row (drawn with a blue outline). Set by the panel.
    std::function<TBranch *()> Branch;
    std::function<int()> CurrentIndex;
    // Asked before a drag changes the model (the document's results question); false stops it.
    std::function<bool()> ConfirmEdit;

    // Geometry for a box of width w and height h.
    static QRect BarRect(int w, int h);               // left 10, top (h-25) div 2, 26 high
    static int PositionX(double position, int w);     // 10 + round((w-20) * p), halves to even
    // Index of the first element (list order) within 5 pixels of point, inside the bar; -1.
    int HitTest(QPoint point) const;

    int DraggedIndex() const { return m_dragged; }
    // The stopping (person) being dragged, or null.
    void *DraggedElement() const { return m_draggedElement; }

    // The 25 × 29 picture of a person, transparent around the figure.
    static const QImage &PersonPicture();

signals:
    // A press hit element index (the table's current row goes there).
    void ElementPressed(int index);
    // The dragged element moved (and was re-sorted) to index.
    void ElementMoved(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int count(const TBranch *branch) const;
    double positionOf(const TBranch *branch, int index) const;
    void *elementAt(TBranch *branch, int index) const;
    int indexOf(TBranch *branch, void *element) const;
    void DrawDimension(QPainter &p, const TBranch *branch, double a, double b, bool above,
                       int offset) const;

    Kind m_kind;
    int m_dragged = -1;
    void *m_draggedElement = nullptr;
    bool m_dragConfirmed = false;
    quint64 m_dragKey = 0;   // merges the moves of one drag into one undo step
};
