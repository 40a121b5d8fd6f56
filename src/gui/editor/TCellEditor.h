#pragma once
// The in-place editor of a network table cell: a frameless line edit that admits only the keys
// of its column kind (the user's decimal separator for reals; for text columns only what the
// document file can store — anything else is refused with a beep).
#include "model/ColumnKinds.h"

#include <QLineEdit>

class TCellEditor : public QLineEdit {
    Q_OBJECT
public:
    TCellEditor(TColumnKind kind, QWidget *parent);
    TColumnKind Kind() const { return m_kind; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    TColumnKind m_kind;
};
