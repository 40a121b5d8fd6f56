#include "checks/TListWidgetSink.h"

#include "base/Utils.h"

#include <QListWidget>

Q_DECLARE_METATYPE(TErrorInfo)

void TListWidgetSink::ClearMessages()
{
    m_list->clear();
}

void TListWidgetSink::AddMessage(const QString &text, std::optional<TErrorInfo> info)
{
    // A line quotes a branch's comment, which may run to millions of characters: the list
    // shows one line of what fits.
    auto *item = new QListWidgetItem(OneLineText(text));
    if (info)
        item->setData(kInfoRole, QVariant::fromValue(*info));
    m_list->addItem(item);
}

int TListWidgetSink::MessageCount() const
{
    return m_list->count();
}

void TListWidgetSink::SelectFirstMessage()
{
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

std::optional<TErrorInfo> TListWidgetSink::InfoOf(const QListWidgetItem *item)
{
    if (!item)
        return std::nullopt;
    const QVariant v = item->data(kInfoRole);
    if (!v.canConvert<TErrorInfo>())
        return std::nullopt;
    return v.value<TErrorInfo>();
}
