#pragma once
// The document window's message list (a QListWidget, lbMessages) as the checks' message sink:
// each line is an item, its reference kept in the item under kInfoRole.
#include "checks/TMessageSink.h"

#include <optional>

class QListWidget;
class QListWidgetItem;

class TListWidgetSink : public TMessageSink {
public:
    explicit TListWidgetSink(QListWidget *list) : m_list(list) {}

    void ClearMessages() override;
    void AddMessage(const QString &text, std::optional<TErrorInfo> info = std::nullopt) override;
    int MessageCount() const override;
    void SelectFirstMessage() override;

    // The reference of a line, none for headers, empty lines and summaries (or no item).
    static std::optional<TErrorInfo> InfoOf(const QListWidgetItem *item);

    static constexpr int kInfoRole = 0x0100 + 17;   // Qt::UserRole + 17

private:
    QListWidget *m_list;
};
