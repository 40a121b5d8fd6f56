#pragma once
// The message panel at the bottom of a document window: a narrow strip with the hide button and
// the list lbMessages the checks write into, one finding a line. A line may carry a reference
// (TErrorInfo) to the element it is about; the list owns it, and a double click or Enter on the
// line asks the document window to follow it (FollowReference). The window decides where the
// panel stands and when it is shown; the panel only holds and shows the lines.
#include "checks/TMessageSink.h"

#include <QWidget>
#include <memory>
#include <optional>

class QListWidget;
class QToolButton;
class TListWidgetSink;

class TMessagePanel : public QWidget, public TMessageSink {
    Q_OBJECT
public:
    static constexpr int kInitialHeight = 75;
    static constexpr int kStripWidth = 10;
    static constexpr int kLineHeight = 13;

    explicit TMessagePanel(QWidget *parent = nullptr);
    ~TMessagePanel() override;

    // TMessageSink: what the checks write.
    void ClearMessages() override;
    void AddMessage(const QString &text, std::optional<TErrorInfo> info = std::nullopt) override;
    int MessageCount() const override;
    void SelectFirstMessage() override;

    QString MessageText(int row) const;
    std::optional<TErrorInfo> MessageInfo(int row) const;
    QStringList Texts() const;

    // Follows the selected line's reference, if it has one.
    void FollowSelected();

    QListWidget *lbMessages = nullptr;
    QToolButton *btnHideMessages = nullptr;

signals:
    void FollowReference(const TErrorInfo &info);
    // The hide button: the window clears the list and hides the panel.
    void HideRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_strip = nullptr;
    std::unique_ptr<TListWidgetSink> m_sink;
};
