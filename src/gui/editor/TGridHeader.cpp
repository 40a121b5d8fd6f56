#include "editor/TGridHeader.h"

#include "base/CellDrawing.h"
#include "base/Guarded.h"
#include "editor/JumperSymbol.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

TGridHeader::TGridHeader(Qt::Orientation orientation, TNetworkGrid *grid)
    : QHeaderView(orientation, grid), m_grid(grid)
{
    setHighlightSections(false);
    setSortIndicatorShown(false);
    if (orientation == Qt::Horizontal) {
        setSectionsClickable(true);
        setSectionsMovable(true);
        setSectionResizeMode(QHeaderView::Interactive);
        setCursor(Qt::PointingHandCursor);
        // A click sorts the list and a move changes the document's layout: failures are shown
        // here, not unwound through the header's mouse handling.
        connect(this, &QHeaderView::sectionMoved, this, [this](int section, int from, int to) {
            RunGuarded([&] { sectionWasMoved(section, from, to); });
        });
        connect(this, &QHeaderView::sectionClicked, this, [this](int section) {
            if (!m_grid->Tables()->ColumnDragged)
                RunGuarded([&] { m_grid->Tables()->HeaderClicked(m_grid, section); });
        });
    } else {
        // Row numbers select whole rows (shift extends).
        setSectionsClickable(true);
        setSectionResizeMode(QHeaderView::Fixed);
    }
}

void TGridHeader::DrawCaptionCell(QPainter &painter, const QRect &rect, const QString &text,
                                  bool rowNumber, const QPalette &palette, const QFont &font)
{
    painter.setFont(font);
    painter.setBrush(palette.color(QPalette::Button));
    DrawHeaderCell(painter, rect, QString(), false);
    if (text.isEmpty())
        return;
    // Two text lines high, centred on the cell: one-line captions sit on the upper line.
    QRect textRect = rect.adjusted(1, 1, -1, -1);
    const int grow = (2 * QFontMetrics(font).height() - textRect.height()) / 2;
    textRect.adjust(0, -grow, 0, grow);
    painter.save();
    painter.setClipRect(rect);
    if (rowNumber) {
        painter.setPen(QColor(128, 128, 128));   // the grey text of the fixed cells
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text);
    } else {
        painter.setPen(palette.color(QPalette::Active, QPalette::WindowText));
        painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, text);
    }
    painter.restore();
}

void TGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    try {
        const QRect cell = rect.adjusted(0, 0, -1, -1);
        const TNetworkTableModel *model = m_grid->TableModel();
        if (orientation() == Qt::Horizontal) {
            const TColumnDesc *d = model->Column(logicalIndex);
            if (!d)
                return;
            const QString text =
                d->UnitLine.isEmpty() ? d->Caption : d->Caption + QLatin1Char('\n') + d->UnitLine;
            DrawCaptionCell(*painter, cell, text, false, palette(), m_grid->TableFont());
            return;
        }
        const TBranch *b = model->BranchAt(logicalIndex);
        if (b && !b->Jumpers().IsEmpty()) {
            DrawCaptionCell(*painter, cell, QString(), true, palette(), m_grid->TableFont());
            const QImage &symbol = JumperSymbol();
            painter->drawImage(QPoint(cell.x() + cell.width() - symbol.width() - 1, cell.y()),
                               symbol);
            return;
        }
        DrawCaptionCell(*painter, cell, QString::number(logicalIndex + 1), true, palette(),
                        m_grid->TableFont());
    } catch (...) {
        // A cell that cannot be drawn stays as drawn so far.
    }
}

void TGridHeader::mousePressEvent(QMouseEvent *event)
{
    m_grid->Tables()->ColumnDragged = false;
    QHeaderView::mousePressEvent(event);
}

void TGridHeader::mouseMoveEvent(QMouseEvent *event)
{
    if (orientation() != Qt::Horizontal) {
        QHeaderView::mouseMoveEvent(event);
        return;
    }
    // The header shows the resize cursor over a border and no cursor of its own elsewhere;
    // elsewhere is the pointing hand.
    if (cursor().shape() == Qt::PointingHandCursor)
        unsetCursor();
    QHeaderView::mouseMoveEvent(event);
    if (!testAttribute(Qt::WA_SetCursor))
        setCursor(Qt::PointingHandCursor);
}

void TGridHeader::mouseReleaseEvent(QMouseEvent *event)
{
    QHeaderView::mouseReleaseEvent(event);
}

void TGridHeader::sectionWasMoved(int, int oldVisual, int newVisual)
{
    if (m_undoingMove)
        return;
    // The header keeps visual and logical order equal; the layout itself moves instead.
    m_undoingMove = true;
    moveSection(newVisual, oldVisual);
    m_undoingMove = false;
    m_grid->Tables()->HeaderDragged(m_grid, oldVisual, newVisual);
}
