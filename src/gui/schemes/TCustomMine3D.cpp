#include "schemes/TCustomMine3D.h"

#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "SchemePicture.h"
#include "TImageSchemeCanvas.h"
#include "model/MineTables.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TPictureSizeDialog.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <cmath>

namespace {

// A 3D frame one pixel wide; right and bottom excluded.
void Frame3D(QPainter &p, int left, int top, int right, int bottom, const QColor &topLeft,
             const QColor &bottomRight)
{
    p.setPen(topLeft);
    p.drawLine(left, bottom - 1, left, top);
    p.drawLine(left, top, right - 1, top);
    p.setPen(bottomRight);
    p.drawLine(right - 1, top, right - 1, bottom - 1);
    p.drawLine(right - 1, bottom - 1, left, bottom - 1);
}

// A number box: black frame, white inside, black text 2 pixels from the left.
void NumberBox(QPainter &p, int left, int top, int right, int bottom, const QString &text)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(left, top, right - left - 1, bottom - top - 1);
    p.drawText(QRect(left + 2, top, right - left - 2, bottom - top), Qt::AlignLeft | Qt::AlignVCenter, text);
}

// The glyph of the centre button: cross hairs in a ring.
QIcon CenterGlyph()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    p.drawLine(QPointF(8, 1), QPointF(8, 6));
    p.drawLine(QPointF(8, 10), QPointF(8, 15));
    p.drawLine(QPointF(1, 8), QPointF(6, 8));
    p.drawLine(QPointF(10, 8), QPointF(15, 8));
    p.setBrush(Qt::red);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(6.5, 6.5, 3, 3));
    return QIcon(pixmap);
}

// The glyph of "Вся шахта": a frame with its corners marked around a small network.
QIcon WholeMineGlyph()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    for (const QPointF &c : {QPointF(1.5, 1.5), QPointF(14.5, 1.5), QPointF(14.5, 14.5), QPointF(1.5, 14.5)}) {
        const double dx = c.x() < 8 ? 4 : -4, dy = c.y() < 8 ? 4 : -4;
        p.drawLine(c, c + QPointF(dx, 0));
        p.drawLine(c, c + QPointF(0, dy));
    }
    p.setPen(QPen(Qt::darkGray, 1.2));
    p.drawPolyline(QPolygonF{QPointF(4.5, 11), QPointF(8, 5.5), QPointF(11.5, 9), QPointF(8, 12)});
    return QIcon(pixmap);
}

QScrollBar *MakeBar(QWidget *parent, Qt::Orientation orientation, int lo, int hi, int start, int page,
                    const QString &hint)
{
    auto *bar = new QScrollBar(orientation, parent);
    bar->setRange(lo, hi);
    bar->setValue(start);
    bar->setPageStep(page);
    bar->setToolTip(hint);
    // A tab stop that answers the keys a scroll bar answers.
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

} // namespace

TCustomMine3D::TCustomMine3D(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // The picture covers every pixel: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(310, 170);
    ScaleBar = MakeBar(this, Qt::Horizontal, 10, 200, 10, 20, QStringLiteral("Масштаб"));
    ZBar = MakeBar(this, Qt::Horizontal, -180, 180, 0, 30, QStringLiteral("Поворот вокруг оси Z"));
    XBar = MakeBar(this, Qt::Vertical, -90, 90, 0, 30, QStringLiteral("Поворот вокруг оси X"));
    CenterButton = new QPushButton(this);
    CenterButton->setIcon(CenterGlyph());
    CenterButton->setToolTip(QStringLiteral("Установка в центр"));
    CenterButton->setFocusPolicy(Qt::NoFocus);
    WholeButton = new QPushButton(this);
    WholeButton->setIcon(WholeMineGlyph());
    WholeButton->setToolTip(QStringLiteral("Вся шахта (Home)"));
    WholeButton->setFocusPolicy(Qt::NoFocus);
    setTabOrder(this, ZBar);
    setTabOrder(ZBar, XBar);
    setTabOrder(XBar, ScaleBar);
    for (QScrollBar *bar : {ZBar, XBar, ScaleBar})
        bar->installEventFilter(this);
    // The bars and the button change the mine's view and draw it anew: a failure is shown here,
    // not unwound through the toolkit's event handling.
    connect(ScaleBar, &QScrollBar::valueChanged, this, [this](int v) { RunGuarded([&] { scaleChanged(v); }); });
    connect(ZBar, &QScrollBar::valueChanged, this, [this] { RunGuarded([this] { rotationChanged(false); }); });
    connect(XBar, &QScrollBar::valueChanged, this, [this] { RunGuarded([this] { rotationChanged(true); }); });
    connect(CenterButton, &QPushButton::clicked, this, [this] { RunGuarded([this] { centerClicked(); }); });
    // Home belongs to the picture: a bar with the focus keeps its own Home (to its start).
    actWholeMine = new QAction(QStringLiteral("Вся шахта"), this);
    actWholeMine->setShortcut(QKeySequence(Qt::Key_Home));
    actWholeMine->setShortcutContext(Qt::WidgetShortcut);
    addAction(actWholeMine);
    connect(actWholeMine, &QAction::triggered, this, [this] { RunGuarded([this] { ShowWholeMine(); }); });
    connect(WholeButton, &QPushButton::clicked, actWholeMine, &QAction::trigger);
    PopupMenu = new QMenu(this);
    PopupMenu->addAction(actWholeMine);
    PopupMenu->addSeparator();
    PopupMenu->addAction(QStringLiteral("Сохранить схему как..."), this, [this] { RunGuarded([this] { SavePictureAs(); }); });
    resize(310, 170);
    layoutControls();
}

TCustomMine3D::~TCustomMine3D()
{
    TSchemeView::SetMine(nullptr);
}

void TCustomMine3D::SetMine(TMine *mine)
{
    m_dragging = false;
    TSchemeView::SetMine(mine);
    if (mine)
        barsFromMine();
    update();
}

void TCustomMine3D::MineDestroyed(TMine *mine)
{
    TSchemeView::MineDestroyed(mine);
    m_dragging = false;
    update();
}

void TCustomMine3D::barsFromMine()
{
    TMine *mine = Mine();
    {
        const QSignalBlocker x(XBar), z(ZBar), s(ScaleBar);
        XBar->setValue(int(std::lround(mine->AngleX())));
        ZBar->setValue(int(std::lround(mine->AngleZ())));
        ScaleBar->setValue(int(std::lround(mine->Scale() * 10)));
    }
    mine->SetAngles(float(XBar->value()), float(ZBar->value()));
    mine->SetScale(float(ScaleBar->value()) / 10);
}

// --- camera controls ------------------------------------------------------------------------

void TCustomMine3D::scaleChanged(int position)
{
    TMine *mine = Mine();
    if (!mine)
        return;
    mine->SetScale(float(position) / 10);
    if (OnScale) {
        float scale = mine->Scale();
        OnScale(this, scale);
    }
}

void TCustomMine3D::rotationChanged(bool x)
{
    TMine *mine = Mine();
    if (!mine)
        return;
    // The bar that moved gives its angle; the other angle stays as the mine has it.
    mine->SetAngles(x ? float(XBar->value()) : mine->AngleX(), x ? mine->AngleZ() : float(ZBar->value()));
    if (OnRotate) {
        float alpha = mine->AngleX(), gamma = mine->AngleZ();
        OnRotate(this, alpha, gamma);
    }
}

void TCustomMine3D::centerClicked()
{
    if (TMine *mine = Mine()) {
        mine->SetCenterRequest(true);
        mine->ProjectNodes();
    }
    update();
}

void TCustomMine3D::ShowWholeMine()
{
    TMine *mine = Mine();
    if (!mine)
        return;
    TSchemeView::ShowWholeMine();
    {
        const QSignalBlocker block(ScaleBar);
        ScaleBar->setValue(10);
    }
    if (OnScale) {
        float scale = mine->Scale();
        OnScale(this, scale);
    }
    update();
}

void TCustomMine3D::layoutControls()
{
    const int w = width(), h = height();
    ScaleBar->setGeometry(8, h - 18, 85, 14);
    ZBar->setGeometry(w - 138, h - 18, 109, 14);
    // The X bar stands higher than the centre button by the height of "Вся шахта" between them.
    XBar->setGeometry(w - 18, h - 158, 14, 109);
    WholeButton->setGeometry(w - 21, h - 41, 20, 20);
    CenterButton->setGeometry(w - 21, h - 21, 20, 20);
}

void TCustomMine3D::resizeEvent(QResizeEvent *)
{
    layoutControls();
    SetDrawRect({6, 27, width() - 26, height() - 26});
    m_picture = QImage(size(), QImage::Format_RGB32);
    if (OnResize)
        OnResize(this);
}

// --- picture --------------------------------------------------------------------------------

QString TCustomMine3D::ZoomText(float scale)
{
    return QLocale().toString(double(scale), 'f', 1);
}

QString TCustomMine3D::AngleText(float angle)
{
    return QLocale().toString(double(angle), 'f', 0);
}

void TCustomMine3D::composePicture()
{
    const int w = width(), h = height();
    if (m_picture.size() != size())
        m_picture = QImage(size(), QImage::Format_RGB32);
    TMine *mine = Mine();
    QPainter p(&m_picture);
    const QPalette &pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    if (mine && mine->TopologyValid()) {
        p.setPen(Qt::black);
        p.drawRect(0, 0, w - 1, h - 1);
    }
    Frame3D(p, 0, 0, w, h, pal.color(QPalette::Dark), pal.color(QPalette::Light));
    Frame3D(p, w - 21, 1, w - 1, h - 21, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    Frame3D(p, 1, h - 21, w - 21, h - 1, pal.color(QPalette::Light), pal.color(QPalette::Dark));

    QFont font = TPainterSchemeCanvas::SchemeFont(this->font().family(), 8);
    p.setFont(font);
    const int ascent = p.fontMetrics().ascent();
    p.setPen(Qt::black);
    p.drawText(w - 168, 7 + ascent, QStringLiteral("Углы   X"));
    p.drawText(w - 76, 7 + ascent, QStringLiteral("Z"));
    const int zoomLeft = ScaleBar->geometry().left() + ScaleBar->width() + 5;
    NumberBox(p, zoomLeft, h - 18, zoomLeft + 28, h - 4, mine ? ZoomText(mine->Scale()) : QStringLiteral("1"));
    NumberBox(p, w - 120, 5, w - 85, 22, mine ? AngleText(mine->AngleX()) : QStringLiteral("0"));
    NumberBox(p, w - 64, 5, w - 29, 22, mine ? AngleText(mine->AngleZ()) : QStringLiteral("0"));

    // The bar with the focus is framed: scroll bars draw no focus of their own.
    for (const QScrollBar *bar : {ZBar, XBar, ScaleBar}) {
        if (bar->hasFocus()) {
            p.setPen(QPen(pal.color(QPalette::Highlight), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(bar->geometry().adjusted(-2, -2, 1, 1));
        }
    }

    if (mine) {
        TImageSchemeCanvas canvas(p, m_picture);
        Draw(canvas);
    }
    // The picture itself with the focus (Home, the menu key): a dotted frame inside its edge.
    if (hasFocus()) {
        const TSchemeRect &r = DrawRect();
        p.setPen(QPen(QColor(192, 192, 192), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(r.Left + 1, r.Top + 1), QPoint(r.Right - 2, r.Bottom - 2)));
    }
}

void TCustomMine3D::paintEvent(QPaintEvent *)
{
    // A picture that cannot be composed (out of memory) stays as it was; a box from painting
    // would only bring the next paint.
    try {
        composePicture();
        QPainter(this).drawImage(0, 0, m_picture);
        if (Mine() && OnPaint)
            OnPaint(this);
    } catch (...) {
    }
}

bool TCustomMine3D::SavePicture(const QString &path, QString *error, QSize size)
{
    if (!Mine()) {
        if (error)
            *error = QStringLiteral("Схема не показывает ни одной шахты.");
        return false;
    }
    return SchemePicture::Write(*this, path, error, size);
}

namespace {

// Where the last picture went, for the next one while the program runs.
QString &LastPictureFolder()
{
    static QString folder;
    return folder;
}

// The folder the save dialog opens in: the last picture's, else the user's pictures, else home.
// A folder that does not exist would make the dialog take its name for the file's.
QString PictureFolder()
{
    for (const QString &folder : {LastPictureFolder(), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return QDir::homePath();
}

} // namespace

void TCustomMine3D::SavePictureAs()
{
    AppDialogs::FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Сохранить схему как");
    request.filter = QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)");
    request.defaultSuffix = QStringLiteral("png");
    request.directory = PictureFolder();
    // No extension: the file type chosen in the dialog gives it.
    request.fileName = QStringLiteral("Топологическая схема");
    const QStringList chosen = AppDialogs::RunFileDialog(this, request);
    if (chosen.isEmpty())
        return;
    QString path = chosen.first();
    if (SchemePicture::FormatOf(path) == SchemePicture::TFormat::Unknown)
        path += QStringLiteral(".png");
    const TSchemeRect &r = DrawRect();
    QSize size;
    if (!TPictureSizeDialog::Ask(this, QSize(std::abs(r.Width()), std::abs(r.Height())), &size))
        return;
    QString error;
    if (!SavePicture(path, &error, size)) {
        AppDialogs::ShowError(this, error);
        return;
    }
    LastPictureFolder() = QFileInfo(path).absolutePath();
}

// --- mouse ----------------------------------------------------------------------------------

bool TCustomMine3D::acceptsMouse(QPoint at) const
{
    const TMine *mine = Mine();
    return mine && mine->TopologyValid() && DrawRect().Contains(at.x(), at.y());
}

void TCustomMine3D::mousePressEvent(QMouseEvent *event)
{
    // A pick selects in the mine, whose owner moves its tables (applying an edit on the way).
    RunGuarded([&] { mousePressed(event); });
}

void TCustomMine3D::mousePressed(QMouseEvent *event)
{
    emit pressed();
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    if (!acceptsMouse(at))
        return;
    TMine *mine = Mine();
    const Qt::MouseButton button = event->button();
    if (TUzel *uzel = HitNode(at)) {
        mine->SelectUzel(uzel);
        if (button == Qt::RightButton) {
            AppDialogs::ShowInformation(this, uzel->InfoText(), MineTables::InfoBoxCaption());
            return;
        }
        if (button != Qt::MiddleButton)
            return;
    }
    if (TBranch *branch = HitBranch(at)) {
        mine->SelectBranch(branch);
        if (button == Qt::RightButton)
            AppDialogs::ShowInformation(this, branch->InfoText(), MineTables::InfoBoxCaption());
        return;
    }
    if (button == Qt::RightButton) {
        m_dragging = true;
        m_moved = false;
        m_pressAt = at;
        m_grab = at - ScreenOrigin();
    }
}

void TCustomMine3D::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const QPoint at = event->position().toPoint();
    if (!m_moved && (at - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_moved = true;
    SetScreenOrigin(at - m_grab);
    update();
}

void TCustomMine3D::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    // A right click on empty space that did not pan opens the menu.
    if (!m_moved && event->button() == Qt::RightButton)
        PopupMenu->popup(event->globalPosition().toPoint());
}

void TCustomMine3D::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's right button has its own meaning (information, panning); the menu key opens
    // the menu at once.
    if (event->reason() != QContextMenuEvent::Mouse)
        PopupMenu->popup(event->globalPos());
}

bool TCustomMine3D::eventFilter(QObject *watched, QEvent *event)
{
    // A bar taking or losing the focus gains or loses its frame.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        update();
    // The keys move a bar's thumb the way they point, as on any scroll bar of the desktop: the
    // toolkit's own horizontal scroll bars take Left and Right the other way round.
    auto *bar = qobject_cast<QScrollBar *>(watched);
    if (bar && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool across = bar->orientation() == Qt::Horizontal;
        QAbstractSlider::SliderAction action = QAbstractSlider::SliderNoAction;
        switch (key->key()) {
        case Qt::Key_Left:
            action = across ? QAbstractSlider::SliderSingleStepSub : action;
            break;
        case Qt::Key_Right:
            action = across ? QAbstractSlider::SliderSingleStepAdd : action;
            break;
        case Qt::Key_Up:
            action = across ? action : QAbstractSlider::SliderSingleStepSub;
            break;
        case Qt::Key_Down:
            action = across ? action : QAbstractSlider::SliderSingleStepAdd;
            break;
        case Qt::Key_PageUp: action = QAbstractSlider::SliderPageStepSub; break;
        case Qt::Key_PageDown: action = QAbstractSlider::SliderPageStepAdd; break;
        case Qt::Key_Home: action = QAbstractSlider::SliderToMinimum; break;
        case Qt::Key_End: action = QAbstractSlider::SliderToMaximum; break;
        default: break;
        }
        if (action != QAbstractSlider::SliderNoAction && key->modifiers() == Qt::NoModifier) {
            bar->triggerAction(action);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCustomMine3D::wheelEvent(QWheelEvent *event)
{
    // One step of the scale bar per notch, through the bar, so that the box and OnScale follow.
    m_wheel += event->angleDelta().y();
    const int steps = m_wheel / QWheelEvent::DefaultDeltasPerStep;
    m_wheel -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        ScaleBar->setValue(ScaleBar->value() + steps * ScaleBar->singleStep());
    event->accept();
}
