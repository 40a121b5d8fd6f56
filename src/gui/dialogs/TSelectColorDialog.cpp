#include "dialogs/TSelectColorDialog.h"

#include "base/Help.h"
#include "base/Utils.h"
#include "dialogs/ColorPalette.h"

#include <QColorDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int AreaWidth = 144;
constexpr int AreaHeight = 91;
const QColor CellOutline(128, 128, 128);

// A frame of one pixel, raised (light top left) or sunken (dark top left).
void DrawFrame(QPainter &p, const QRect &r, bool raised, const QPalette &palette)
{
    const QColor light = palette.color(QPalette::Light);
    const QColor dark = palette.color(QPalette::Shadow);
    p.setPen(raised ? light : dark);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(raised ? dark : light);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

// The palette area: the cells, the mark of the current colour and the frame of the cell under
// the pointer.
class TColorPaletteArea : public QWidget {
public:
    explicit TColorPaletteArea(TSelectColorDialog *dialog) : QWidget(dialog), m_dialog(dialog)
    {
        setFixedSize(AreaWidth, AreaHeight);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QSize area = size();
        for (int c = 1; c <= ColorPalette::Columns; ++c) {
            for (int r = 1; r <= ColorPalette::Rows; ++r) {
                const int index = (c - 1) * ColorPalette::Rows + (r - 1);
                const QRect cell = ColorPalette::CellRect(area, c, r);
                const QRect around = cell.adjusted(-3, -3, 3, 3);
                if (index == m_dialog->MarkedIndex()) {
                    p.fillRect(around, palette().color(QPalette::Light));
                    DrawFrame(p, around, false, palette());
                } else if (index == m_dialog->HotIndex()) {
                    DrawFrame(p, around, true, palette());
                }
                p.fillRect(cell, ToQColor(ColorPalette::ColorAt(c, r)));
                p.setPen(CellOutline);
                p.setBrush(Qt::NoBrush);
                p.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        }
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_dialog->setHot(ColorPalette::IndexAt(size(), event->position().toPoint()));
    }
    void leaveEvent(QEvent *) override { m_dialog->setHot(-1); }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const int index = ColorPalette::IndexAt(size(), event->position().toPoint());
        if (index >= 0)
            m_dialog->cellClicked(index);
    }

private:
    TSelectColorDialog *m_dialog;
};

TSelectColorDialog *TSelectColorDialog::Instance()
{
    // Kept for the run; a deleted one (its parent went) is made again.
    static QPointer<TSelectColorDialog> instance;
    if (!instance)
        instance = new TSelectColorDialog;
    return instance;
}

TSelectColorDialog::TSelectColorDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SelectColorDialog"));
    setModal(true);

    PaletteArea = new TColorPaletteArea(this);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    CurrentSample = new QLabel(this);
    CurrentSample->setObjectName(QStringLiteral("CurrentSample"));
    CurrentSample->setFixedSize(22, 22);
    CurrentSample->setFrameStyle(QFrame::Box | QFrame::Plain);
    CurrentSample->setAutoFillBackground(true);
    CurrentSample->setToolTip(QStringLiteral("Текущий цвет"));

    btnCancel = new QToolButton(this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setText(QStringLiteral("X"));
    btnCancel->setAutoRaise(true);
    btnCancel->setToolTip(QStringLiteral("Отмена"));
    btnCancel->setStatusTip(QStringLiteral("Закрытие окна без внесения изменений"));
    connect(btnCancel, &QToolButton::clicked, this, &QDialog::reject);

    btnOther = new QToolButton(this);
    btnOther->setObjectName(QStringLiteral("btnOther"));
    btnOther->setText(QStringLiteral("Другие цвета ..."));
    btnOther->setAutoRaise(true);
    connect(btnOther, &QToolButton::clicked, this, &TSelectColorDialog::otherColors);

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(4, 0, 4, 0);
    bottom->setSpacing(2);
    bottom->addWidget(CurrentSample);
    bottom->addWidget(btnCancel);
    bottom->addStretch();
    bottom->addWidget(btnOther);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 4);
    layout->setSpacing(2);
    layout->addWidget(PaletteArea, 0, Qt::AlignHCenter);
    layout->addWidget(line);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The picker's help topic, on F1 as everywhere.
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelpTopic(this, 31); });

    SetCurrentColor(ColorPalette::ColorAt(1, 1));
}

void TSelectColorDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The panel's own raised edge, as it has no window frame.
    QPainter p(this);
    DrawFrame(p, rect().adjusted(0, 0, -1, -1), true, palette());
}

void TSelectColorDialog::SetCurrentColor(quint32 color)
{
    m_color = color;
    m_marked = ColorPalette::IndexOf(color);
    QPalette sample = CurrentSample->palette();
    sample.setColor(QPalette::Window, ToQColor(color));
    CurrentSample->setPalette(sample);
    PaletteArea->update();
}

bool TSelectColorDialog::Execute(const QPoint &point, quint32 &color)
{
    SetCurrentColor(color);
    m_chosen = false;
    setHot(-1);
    adjustSize();
    const QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    move(screen ? ColorPalette::PlaceInside(point, size(), screen->geometry()) : point);
    exec();
    if (m_chosen)
        color = m_color;
    return m_chosen;
}

void TSelectColorDialog::cellClicked(int index)
{
    SetCurrentColor(ColorPalette::ColorAt(ColorPalette::ColumnOf(index), ColorPalette::RowOf(index)));
    m_chosen = true;
    accept();
}

void TSelectColorDialog::setHot(int index)
{
    if (index == m_hot)
        return;
    m_hot = index;
    PaletteArea->update();
}

void TSelectColorDialog::otherColors()
{
    quint32 color = m_color;
    bool confirmed = false;
    if (PickOtherColor) {
        confirmed = PickOtherColor(color);
    } else {
        QColorDialog dialog(ToQColor(color), this);
        dialog.setWindowTitle(QStringLiteral("Цвет"));
        confirmed = dialog.exec() == QDialog::Accepted;
        if (confirmed)
            color = FromQColor(dialog.currentColor());
    }
    if (!confirmed)
        return;
    SetCurrentColor(color);
    m_chosen = true;
    accept();
}
