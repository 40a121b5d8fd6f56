#include "settings/TSampleGrid.h"

#include "base/CellDrawing.h"
#include "base/Utils.h"
#include "settings/TConfig.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int Widths[TSampleGrid::ColumnCount] = {18, 61, 360};
const QColor GridLine(192, 192, 192);

} // namespace

TSampleGrid::TSampleGrid(const TConfig *settings, QWidget *parent)
    : QWidget(parent), m_settings(settings)
{
    setFocusPolicy(Qt::StrongFocus);
    ResizeRows();
}

int TSampleGrid::ColumnWidth(int column)
{
    Q_ASSERT(column >= 0 && column < ColumnCount);
    return Widths[column];
}

int TSampleGrid::RowHeight(int row) const
{
    return row == 0 ? 2 * m_rowHeight : m_rowHeight;
}

QRect TSampleGrid::CellRect(int column, int row) const
{
    int x = 0, y = 0;
    for (int c = 0; c < column; ++c)
        x += ColumnWidth(c) + LineWidth;
    for (int r = 0; r < row; ++r)
        y += RowHeight(r) + LineWidth;
    return QRect(x, y, ColumnWidth(column), RowHeight(row));
}

void TSampleGrid::ResizeRows()
{
    m_rowHeight = CellRowHeight(CellFont(m_settings->Fontname, m_settings->FontSize), this);
    setFixedSize(sizeHint());
    update();
}

QSize TSampleGrid::sizeHint() const
{
    const QRect last = CellRect(ColumnCount - 1, RowCount - 1);
    return QSize(last.right() + 1 + LineWidth, last.bottom() + 1 + LineWidth);
}

void TSampleGrid::SetCurrentRow(int row)
{
    m_row = std::clamp(row, 1, RowCount - 1);
    update();
}

void TSampleGrid::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), GridLine);
    const QFont base = CellFont(m_settings->Fontname, m_settings->FontSize);
    const QColor fixedFace = palette().color(QPalette::Button);
    const QColor windowText = palette().color(QPalette::WindowText);

    for (int row = 0; row < RowCount; ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            const QRect cell = CellRect(column, row);
            if (row == 0 || column == 0) {
                p.setFont(base);
                p.setBrush(fixedFace);
                p.setPen(windowText);
                DrawHeaderCell(p, cell,
                               row == 0 && column == 2
                                   ? QStringLiteral("Образец\r\nотображения")
                                   : QString(),
                               true);
                continue;
            }
            const int kind = row - 1;
            const TCellAttr &attr = m_settings->Attr(kind);
            QFont font = base;
            font.setBold(attr.Bold);
            font.setItalic(attr.Italic);
            font.setUnderline(attr.Underline);
            p.setFont(font);
            p.fillRect(cell, ToQColor(attr.Color));
            p.setPen(ToQColor(attr.FontColor));
            const QString text = column == 1 ? QStringLiteral("000") : TConfig::KindText(kind);
            p.save();
            p.setClipRect(cell);
            p.drawText(cell.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       text);
            p.restore();
            if (hasFocus() && row == m_row && column == m_column)
                DrawFocusFrame(p, cell.adjusted(1, 1, -1, -1));
        }
    }
}

void TSampleGrid::chooseCell(int column, int row)
{
    m_column = std::clamp(column, 1, ColumnCount - 1);
    m_row = std::clamp(row, 1, RowCount - 1);
    update();
    emit RowClicked(m_row);
}

void TSampleGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    for (int row = 1; row < RowCount; ++row)
        for (int column = 1; column < ColumnCount; ++column)
            if (CellRect(column, row).contains(pos)) {
                chooseCell(column, row);
                return;
            }
    QWidget::mousePressEvent(event);
}

void TSampleGrid::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up: chooseCell(m_column, m_row - 1); break;
    case Qt::Key_Down: chooseCell(m_column, m_row + 1); break;
    case Qt::Key_Left: chooseCell(m_column - 1, m_row); break;
    case Qt::Key_Right: chooseCell(m_column + 1, m_row); break;
    case Qt::Key_Home: chooseCell(m_column, 1); break;
    case Qt::Key_End: chooseCell(m_column, RowCount - 1); break;
    default: QWidget::keyPressEvent(event);
    }
}

// The focus frame comes and goes with the keyboard focus.
void TSampleGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TSampleGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
