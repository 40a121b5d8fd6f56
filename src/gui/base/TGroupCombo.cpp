#include "base/TGroupCombo.h"

#include "base/Utils.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

class GroupItemDelegate : public QStyledItemDelegate {
public:
    explicit GroupItemDelegate(TGroupCombo *box) : QStyledItemDelegate(box), m_box(box) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        m_box->DrawItem(*painter, option.rect, index.row(), selected, false);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(TGroupCombo::ItemHeight);
        return s;
    }

private:
    TGroupCombo *m_box;
};

} // namespace

TGroupCombo::TGroupCombo(QWidget *parent) : QComboBox(parent)
{
    setItemDelegate(new GroupItemDelegate(this));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMaxVisibleItems(16);
}

void TGroupCombo::Fill(const QList<QPair<QString, QColor>> &groups)
{
    const QSignalBlocker block(this);
    clear();
    addItem(QStringLiteral("<не определен>"));
    setItemData(0, QApplication::palette().color(QPalette::Base), ColorRole);
    for (const auto &g : groups) {
        // One line of what fits: a name may run to millions of characters, and each would be
        // measured below and laid out whole on every paint.
        addItem(OneLineText(g.first));
        setItemData(count() - 1, g.second, ColorRole);
    }
    addItem(QStringLiteral("<редактировать...>"));

    // The list is as wide as its longest item plus the 32 pixels of the swatch column, never
    // narrower than the closed box.
    const QFontMetrics fm(font());
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, fm.horizontalAdvance(itemText(i)));
    int w = widest + 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 32 + 5;
    if (count() > maxVisibleItems())
        w += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_dropDownWidth = w;
}

void TGroupCombo::SelectGroup(int groupIndex)
{
    const QSignalBlocker block(this);
    const int pos = groupIndex + 1;
    setCurrentIndex(pos >= 0 && pos < count() - 1 ? pos : (count() > 0 ? 0 : -1));
}

void TGroupCombo::DrawItem(QPainter &painter, const QRect &rect, int index, bool selected, bool editField) const
{
    if (index < 0 || index >= count())
        return;
    QRect r = rect.adjusted(1, 0, -1, 0);
    const bool last = IsEditItem(index);
    if (!isEnabled())
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    const int textLeft = last ? r.left() : rect.left() + 32;
    painter.drawText(QRect(textLeft, r.top(), r.right() - textLeft, r.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, itemText(index));
    if (last)
        return;
    const QColor color = itemData(index, ColorRole).value<QColor>();
    const int x0 = rect.left() + (editField ? 4 : 2);
    const QRect swatch(x0, r.top() + 1, rect.left() + 30 - x0, r.height() - 2);
    painter.setBrush(color);
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::WindowText));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

void TGroupCombo::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText.clear();
    opt.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, opt);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    const int h = ItemHeight;
    // Swatch and text positions count from the box's own left edge.
    const QRect item(0, field.top() + (field.height() - h) / 2, field.right() + 1, h);
    painter.setPen(palette().color(QPalette::Text));
    DrawItem(painter, item, currentIndex(), false, true);
}

void TGroupCombo::showPopup()
{
    view()->setMinimumWidth(qMax(width(), m_dropDownWidth));
    QComboBox::showPopup();
}
