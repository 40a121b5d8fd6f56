#include "editor/TChoiceBox.h"

#include "base/Utils.h"
#include "settings/TConfig.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QStyledItemDelegate>

namespace {

// Items of the drop-down as high as asked, whatever the style would make them.
class ItemHeightDelegate : public QStyledItemDelegate {
public:
    ItemHeightDelegate(int height, QObject *parent) : QStyledItemDelegate(parent), m_height(height)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_height);
        return size;
    }

private:
    int m_height;
};

} // namespace

TChoiceBox::TChoiceBox(const QStringList &items, int current, int itemHeight, QWidget *table,
                       QWidget *parent)
    : QComboBox(parent), m_table(table), m_itemHeight(std::max(itemHeight, 1))
{
    setObjectName(QStringLiteral("ChoiceBox"));
    setFont(CellFont(QStringLiteral("Arial"), Config ? Config->FontSize : 8));
    setFrame(false);
    setFocusPolicy(Qt::ClickFocus);   // reached by becoming current, never by Tab
    // A plain list view honours the item delegate's height in every style.
    setView(new QListView(this));
    view()->setItemDelegate(new ItemHeightDelegate(m_itemHeight, view()));
    addItems(items);
    setCurrentIndex(current);
    FitDropDownWidth(this, 0);
}

bool TChoiceBox::IsDroppedDown() const
{
    return view() && view()->isVisible();
}

void TChoiceBox::keyPressEvent(QKeyEvent *event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    const int key = event->key();
    if (!IsDroppedDown() && m_table) {
        if ((key == Qt::Key_Left || key == Qt::Key_Right) && !alt) {
            QKeyEvent forwarded(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(m_table, &forwarded);
            event->accept();
            return;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            if (alt) {
                showPopup();
            } else {
                QKeyEvent forwarded(QEvent::KeyPress, key, Qt::NoModifier);
                QApplication::sendEvent(m_table, &forwarded);
                m_table->update();
            }
            event->accept();
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}
