#pragma once
// The 3D scheme control: the picture of a mine that the user turns about two axes, zooms, pans
// and clicks on. TMine3D is the control as windows use it; TCustomMine3D holds everything.
//
// Who owns what: the control owns its camera controls (scale bar, Z and X rotation bars, centre
// button), its off-screen picture and the mouse handling. It shows a mine it does not own: it
// attaches itself as the mine's scheme (TSchemeView) and the mine keeps the view state (angles,
// zoom, labels, colouring), so every document keeps its own. The drawing and the hit tests are
// the mine's (core schemes/); the control only supplies the rectangle, the screen origin and the
// rotation centre.
//
// Layout (W, H the control's size, never under 310 x 170): the picture in the drawing rectangle
// (6, 27)-(W - 26, H - 26) on a black ground; a strip along the right edge with the X bar and,
// under it, the "Вся шахта" button, one along the bottom with the scale bar and its zoom box at
// the left and the Z bar at the right, the centre button in the corner; the angle boxes at the
// top right.
//
// Keyboard: the control and then the Z, X and scale bars are tab stops; a bar with the focus
// answers the arrows, Page Up/Down, Home and End as scroll bars do, and is framed. Home on the
// picture itself shows the whole mine.
//
// The picture is composed in a 32-bit image, so the fixed colours come out exactly, and copied
// to the screen in one step.
#include "schemes/TSchemeView.h"

#include <QImage>
#include <QWidget>
#include <functional>

class QAction;
class QMenu;
class QPushButton;
class QScrollBar;

class TCustomMine3D : public QWidget, public TSchemeView {
    Q_OBJECT
public:
    explicit TCustomMine3D(QWidget *parent = nullptr);
    // The mine forgets the control.
    ~TCustomMine3D() override;

    TMine *Mine() const { return TSchemeView::Mine(); }
    // Attaches the mine (none detaches): the mine's current element is selected again (the view
    // turns about it and comes to the middle), the bars take the mine's angles and zoom, the
    // nodes are projected and the control repaints.
    void SetMine(TMine *mine);

    // Events; each is raised only when assigned.
    // After a rotation bar changed the angles: Alpha is the mine's AngleX, Gamma its AngleZ.
    std::function<void(TCustomMine3D *sender, float &alpha, float &gamma)> OnRotate;
    // After the scale bar changed the mine's Scale.
    std::function<void(TCustomMine3D *sender, float &scale)> OnScale;
    // After each paint with a mine; after each size change.
    std::function<void(TCustomMine3D *sender)> OnPaint;
    std::function<void(TCustomMine3D *sender)> OnResize;
    // OnSelectUzel, OnSelectBranch, OnSelectJumper (TSchemeView) come from the mine's selection.

    // "Вся шахта" (Home): the whole network at zoom 1 about its own centre, in the middle; the
    // scale bar follows.
    void ShowWholeMine();

    // The picture as a PNG or SVG file (by the name's extension): the drawing rectangle as it is
    // on screen, or the same view fitted to another size.
    bool SavePicture(const QString &path, QString *error, QSize size = QSize());
    // "Сохранить схему как...": asks for a file, then for the picture's size, and writes it;
    // errors in a box. A name without an extension takes that of the chosen file type.
    void SavePictureAs();

    QScrollBar *ScaleBar = nullptr;   // "Масштаб", 10..200: Scale x 10
    QScrollBar *ZBar = nullptr;       // "Поворот вокруг оси Z", -180..180
    QScrollBar *XBar = nullptr;       // "Поворот вокруг оси X", -90..90
    QPushButton *CenterButton = nullptr;   // "Установка в центр"
    QPushButton *WholeButton = nullptr;    // "Вся шахта (Home)"
    QAction *actWholeMine = nullptr;       // "Вся шахта", Home on the picture
    QMenu *PopupMenu = nullptr;

    // Texts of the number boxes: zoom with one decimal, angles whole.
    static QString ZoomText(float scale);
    static QString AngleText(float angle);

    // --- IMineScheme (through TSchemeView)
    void Refresh() override { update(); }
    void LayersChanged() override { emit layersChanged(); }
    void PLFsChanged() override { emit plfsChanged(); }
    void MineDestroyed(TMine *mine) override;

    QSize sizeHint() const override { return QSize(310, 170); }
    QSize minimumSizeHint() const override { return QSize(310, 170); }

signals:
    // The mine's seam (plan-position) list changed: the window refreshes its filter lists.
    void layersChanged();
    void plfsChanged();
    // A mouse button went down on the control (the window closes its drop-down lists).
    void pressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutControls();
    void composePicture();
    void scaleChanged(int position);
    // The X bar (x) or the Z bar moved.
    void rotationChanged(bool x);
    void centerClicked();
    void mousePressed(QMouseEvent *event);
    // Bars to the mine's angles and zoom without raising their own handlers.
    void barsFromMine();
    bool acceptsMouse(QPoint at) const;

    QImage m_picture;
    bool m_dragging = false;
    QPoint m_grab;          // cursor minus screen origin at the start of a drag
    QPoint m_pressAt;       // where the right button went down on empty space
    bool m_moved = false;   // the drag really moved the picture
    int m_wheel = 0;        // wheel turn not yet worth a step
};

class TMine3D : public TCustomMine3D {
    Q_OBJECT
public:
    using TCustomMine3D::TCustomMine3D;
};
