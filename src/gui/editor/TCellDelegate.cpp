#include "editor/TCellDelegate.h"

#include "base/CellDrawing.h"
#include "base/Guarded.h"
#include "base/Utils.h"
#include "editor/TCellEditor.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/MineTables.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>
#include <algorithm>

namespace {

const TCellAttr &configAttr(int kind)
{
    static const TCellAttr defaults[3] = {TConfig::DefaultAttr(ckData),
                                          TConfig::DefaultAttr(ckSelCell),
                                          TConfig::DefaultAttr(ckSurf)};
    if (!Config)
        return defaults[kind];
    return Config->Attr(kind);
}

// The cross-section symbol inside square: 0 rectangle, 1 arch (upper corners cut),
// 2 trapezoid, 3 circle; other codes draw nothing.
void drawShape(QPainter &painter, const QRect &square, int shape)
{
    const int l = square.left(), t = square.top();
    const int r = square.left() + square.width(), b = square.top() + square.height();
    switch (shape) {
    case MineTables::kSquareShape:
        painter.drawRect(QRect(l, t, r - l - 1, b - t - 1));
        break;
    case MineTables::kArchedShape: {
        const QPoint points[] = {{l, b}, {r, b}, {r, t + 3}, {r - 3, t}, {l + 3, t}, {l, t + 3}};
        painter.drawPolygon(points, 6);
        break;
    }
    case MineTables::kTrapezoidShape: {
        const QPoint points[] = {{l, b}, {r, b}, {r - 2, t}, {l + 2, t}};
        painter.drawPolygon(points, 4);
        break;
    }
    case MineTables::kRoundShape:
        painter.drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
        break;
    default:
        break;
    }
}

// The text of a cell sits 2 pixels in from either side; the perimeter's shape symbol takes 17
// pixels more on the left.
constexpr int kTextInset = 2;
constexpr int kShapeWidth = 17;

int shapeIndent(TColumnKind kind) { return kind == TColumnKind::Perimeter ? kShapeWidth : 0; }

// The font of a cell in the look attr.
QFont lookFont(QFont font, const TCellAttr &attr)
{
    if (attr.Bold || attr.Italic || attr.Underline) {
        font.setBold(attr.Bold);
        font.setItalic(attr.Italic);
        font.setUnderline(attr.Underline);
    }
    return font;
}

} // namespace

TCellDelegate::TCellDelegate(TNetworkGrid *grid, TNetworkTables *tables)
    : QStyledItemDelegate(grid), m_grid(grid), m_tables(tables)
{
}

void TCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const
{
    painter->save();
    try {
        DrawCell(*painter, option.rect, index.row(), index.column());
    } catch (...) {
        // A cell that cannot be drawn stays as drawn so far.
    }
    painter->restore();
}

bool TCellDelegate::isMarked(int row, int column) const
{
    // Selected cells look like the current one.
    return (m_grid->CurrentRow() == row && m_grid->CurrentColumn() == column) ||
           m_grid->IsCellSelected(row, column);
}

TCellAttr TCellDelegate::lookOf(int row, int column) const
{
    const TNetworkTableModel *model = m_grid->TableModel();
    const TUzel *uzel = model->UzelAt(row);
    if (isMarked(row, column))
        return configAttr(ckSelCell);
    if (uzel && uzel->Surface())
        return configAttr(ckSurf);
    TCellAttr attr = configAttr(ckData);
    if (const TColumnDesc *d = model->Column(column); d && !d->Editable)
        attr.Color = ShiftColor(attr.Color, -20);
    return attr;
}

void TCellDelegate::DrawCell(QPainter &painter, const QRect &rect, int row, int column) const
{
    const TNetworkTableModel *model = m_grid->TableModel();
    const TColumnDesc *d = model->Column(column);
    if (!d)
        return;
    const bool current = m_grid->CurrentRow() == row && m_grid->CurrentColumn() == column;
    const bool marked = isMarked(row, column);
    const TBranch *branch = model->BranchAt(row);
    const TCellAttr attr = lookOf(row, column);
    const QFont font = lookFont(m_grid->TableFont(), attr);
    painter.setFont(font);
    painter.fillRect(rect, ToQColor(attr.Color));
    QRect textRect = rect.adjusted(kTextInset, 1, -kTextInset, -1);
    QColor fontColor = ToQColor(attr.FontColor);
    const QRect narrowed = textRect;

    if (d->ColumnKind() == TColumnKind::Perimeter && branch) {
        const int side = textRect.height();
        const QRect square = QRect(textRect.left(), textRect.top(), side, side).adjusted(1, 1, -1, -1);
        const int layer = branch->LayerIndex();
        quint32 fill = configAttr(ckData).Color;
        if (layer != -1) {
            const TLayer *seam = branch->Mine()->Layers().Items(layer);
            if (!seam)
                return;   // a seam that no longer exists: the cell stays as drawn so far
            fill = seam->Color();
        }
        painter.setBrush(ToQColor(fill));
        painter.setPen(marked ? QColor(255, 255, 255) : QColor(0, 0, 255));
        drawShape(painter, square, branch->Shape());
        textRect.setLeft(textRect.left() + kShapeWidth);
    } else if (d->ColumnKind() == TColumnKind::PLF && branch && branch->PLFIndex() != -1) {
        const TPLF *plf = branch->Mine()->PLFs().Items(branch->PLFIndex());
        if (!plf)
            return;
        const quint32 color = plf->Color();
        painter.fillRect(textRect, ToQColor(color));
        fontColor = ToQColor(InvertColor(color));
    }

    // Only what fits is drawn: a comment may run to millions of characters. A number is shown
    // whole or not at all.
    QString text = OneLineText(model->CellText(row, column));
    if (ColumnKinds::ShowsNumber(d->ColumnKind()))
        text = FittedText(d->ColumnKind(), text, font, rect.width());
    if (!text.isEmpty() && textRect.width() > 0) {
        painter.setPen(fontColor);
        painter.setClipRect(rect, Qt::IntersectClip);
        const int align = d->Align == 2 ? Qt::AlignRight : Qt::AlignLeft;
        painter.drawText(textRect, align | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter.setClipping(false);
    }
    if (current && m_grid->hasFocus())
        DrawFocusFrame(painter, narrowed.adjusted(-1, -1, 1, 1));
}

int TCellDelegate::ColumnWidthFor(TColumnKind kind, const QString &text) const
{
    int widest = 0;
    for (const int look : {ckData, ckSelCell, ckSurf}) {
        const QFontMetrics metrics(lookFont(m_grid->TableFont(), configAttr(look)));
        QChar widestDigit = u'0';
        for (char16_t digit = u'1'; digit <= u'9'; ++digit)
            if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widestDigit))
                widestDigit = QChar(digit);
        QString sample = text;
        for (QChar &c : sample)
            if (c.isDigit())
                c = widestDigit;
        widest = std::max(widest, metrics.horizontalAdvance(sample));
    }
    // As wide as the table lays out a column for its header: 7 pixels over the text.
    return widest + 7 + shapeIndent(kind);
}

QString TCellDelegate::FittedText(TColumnKind kind, const QString &text, const QFont &font, int width) const
{
    const int room = width - 2 * kTextInset - shapeIndent(kind);
    if (text.isEmpty() || QFontMetrics(font).horizontalAdvance(text) <= room)
        return text;
    return QStringLiteral("###");
}

bool TCellDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                              const QModelIndex &index)
{
    const TNetworkTableModel *model = m_grid->TableModel();
    const TColumnDesc *d = model->Column(index.column());
    if (event->type() == QEvent::ToolTip && d && ColumnKinds::ShowsNumber(d->ColumnKind())) {
        const QString text = model->CellText(index.row(), index.column());
        const QFont font = lookFont(m_grid->TableFont(), lookOf(index.row(), index.column()));
        if (FittedText(d->ColumnKind(), text, font, option.rect.width()) != text) {
            QToolTip::showText(event->globalPos(), text, view, option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

QWidget *TCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                     const QModelIndex &index) const
{
    auto *editor = new TCellEditor(m_grid->TableModel()->Column(index.column())->ColumnKind(), parent);
    editor->setFont(m_grid->TableFont());
    const int row = index.row(), column = index.column();
    connect(editor, &QLineEdit::textEdited, this, [this, row, column](const QString &text) {
        RunGuarded([&] { m_tables->ApplyEditText(m_grid, row, column, text); });
    });
    return editor;
}

void TCellDelegate::setEditorData(QWidget *editor, const QModelIndex &) const
{
    // The view asks again whenever the row's data changes, which every applied keystroke does;
    // only the first request fills the editor.
    if (editor->property("loaded").toBool())
        return;
    editor->setProperty("loaded", true);
    static_cast<QLineEdit *>(editor)->setText(m_tables->SavedEditText);
}

void TCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    const QString text = static_cast<QLineEdit *>(editor)->text();
    RunGuarded(
        [&] { m_tables->ApplyEditText(m_grid, index.row(), index.column(), text); });
}

void TCellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                         const QModelIndex &) const
{
    editor->setGeometry(option.rect);
}

bool TCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) ||
            key->modifiers() == Qt::KeypadModifier) {
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                RunGuarded([&] { m_tables->EditorEnter(m_grid); });
                return true;
            case Qt::Key_Escape:
                RunGuarded([&] { m_tables->EditorEscape(m_grid); });
                return true;
            case Qt::Key_Insert:
                RunGuarded([&] { m_tables->InsertKey(m_grid); });
                return true;
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                // Tab leaves the table as it does from any other control.
                return false;
            default:
                break;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
