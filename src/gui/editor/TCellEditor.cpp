#include "editor/TCellEditor.h"

#include "editor/TableText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QValidator>

namespace {

// Pasted or dropped text in a text column: a character the document's code page lacks would
// turn into "?" when saved, so such a change is refused as a typed one is.
class StorableTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        if (TableText::StorableText(input))
            return Acceptable;
        QApplication::beep();
        return Invalid;
    }
};

} // namespace

TCellEditor::TCellEditor(TColumnKind kind, QWidget *parent) : QLineEdit(parent), m_kind(kind)
{
    setFrame(false);
    if (ColumnKinds::IsText(kind))
        setValidator(new StorableTextValidator(this));
}

void TCellEditor::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool plainKey = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plainKey && text.size() == 1 && text.front().isPrint() &&
        !ColumnKinds::KeyAdmitted(m_kind, text.front())) {
        if (ColumnKinds::IsText(m_kind))
            QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    // Left and Right stay in the editor even at its ends: the table must not move under it.
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)
        event->accept();
}
