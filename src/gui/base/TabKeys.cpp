#include "base/TabKeys.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace {

class TCtrlTabInserts : public QObject {
public:
    explicit TCtrlTabInserts(QPlainTextEdit *edit) : QObject(edit), m_edit(edit) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier && !m_edit->isReadOnly()) {
                m_edit->insertPlainText(QStringLiteral("\t"));
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPlainTextEdit *m_edit;
};

} // namespace

void LetTabMoveFocus(QPlainTextEdit *edit)
{
    edit->setTabChangesFocus(true);
    edit->installEventFilter(new TCtrlTabInserts(edit));
}
