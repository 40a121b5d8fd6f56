#include "checks/TMessagePanel.h"

#include "checks/TListWidgetSink.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>

namespace {

// Every line has the same fixed height, whatever the font says.
class LineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(TMessagePanel::kLineHeight);
        return size;
    }
};

// The strip left of the list: the hide button on top, grooves below it.
class Strip : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QColor dark = palette().color(QPalette::Dark);
        const QColor light = palette().color(QPalette::Light);
        for (int x = 3; x + 1 < width(); x += 3) {
            p.setPen(dark);
            p.drawLine(x, 15, x, height() - 4);
            p.setPen(light);
            p.drawLine(x + 1, 15, x + 1, height() - 4);
        }
    }
};

// The small cross of the hide button, drawn so that it stays crisp at 11 pixels.
QIcon crossIcon()
{
    QPixmap pm(7, 7);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 0, 6, 6);
    p.drawLine(1, 0, 6, 5);
    p.drawLine(0, 6, 6, 0);
    p.drawLine(1, 6, 6, 1);
    return QIcon(pm);
}

} // namespace

TMessagePanel::TMessagePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlMessages"));
    m_strip = new Strip(this);
    m_strip->setFixedWidth(kStripWidth);

    lbMessages = new QListWidget(this);
    lbMessages->setObjectName(QStringLiteral("lbMessages"));
    lbMessages->setUniformItemSizes(true);
    lbMessages->setItemDelegate(new LineDelegate(lbMessages));
    lbMessages->setSelectionMode(QAbstractItemView::SingleSelection);
    lbMessages->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lbMessages->installEventFilter(this);
    // The reference travels with its line inside the item: removing the line frees it.
    m_sink = std::make_unique<TListWidgetSink>(lbMessages);
    connect(lbMessages, &QListWidget::itemDoubleClicked, this, [this] { FollowSelected(); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip);
    layout->addWidget(lbMessages);

    // The button is one pixel wider than its strip: a child of the panel, standing on top.
    btnHideMessages = new QToolButton(this);
    btnHideMessages->setObjectName(QStringLiteral("btnHideMessages"));
    btnHideMessages->setFixedSize(11, 11);
    btnHideMessages->setIcon(crossIcon());
    btnHideMessages->setIconSize(QSize(7, 7));
    btnHideMessages->setToolTip(QStringLiteral("Убрать сообщения"));
    btnHideMessages->setFocusPolicy(Qt::NoFocus);
    btnHideMessages->move(0, 1);
    btnHideMessages->raise();
    connect(btnHideMessages, &QToolButton::clicked, this, &TMessagePanel::HideRequested);

    resize(width(), kInitialHeight);
}

void TMessagePanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    btnHideMessages->raise();
}

TMessagePanel::~TMessagePanel() = default;

void TMessagePanel::ClearMessages()
{
    m_sink->ClearMessages();
}

void TMessagePanel::AddMessage(const QString &text, std::optional<TErrorInfo> info)
{
    m_sink->AddMessage(text, info);
}

int TMessagePanel::MessageCount() const
{
    return m_sink->MessageCount();
}

void TMessagePanel::SelectFirstMessage()
{
    m_sink->SelectFirstMessage();
}

QString TMessagePanel::MessageText(int row) const
{
    const QListWidgetItem *item = lbMessages->item(row);
    return item ? item->text() : QString();
}

std::optional<TErrorInfo> TMessagePanel::MessageInfo(int row) const
{
    return TListWidgetSink::InfoOf(lbMessages->item(row));
}

QStringList TMessagePanel::Texts() const
{
    QStringList texts;
    texts.reserve(lbMessages->count());
    for (int i = 0; i < lbMessages->count(); ++i)
        texts << lbMessages->item(i)->text();
    return texts;
}

void TMessagePanel::FollowSelected()
{
    if (const std::optional<TErrorInfo> info = MessageInfo(lbMessages->currentRow()))
        emit FollowReference(*info);
}

bool TMessagePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lbMessages && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            FollowSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
