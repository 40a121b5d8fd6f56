#pragma once
// "Названия и комментарии": one of five exchanges between the names and the comments of every
// branch of a mine (NameComment), chosen in a radio group and applied with "&ОК".
#include <QDialog>

class QButtonGroup;
class QPushButton;
class TMine;

class TfrmMoveRemName : public QDialog {
    Q_OBJECT
public:
    static constexpr char HelpPage[] = "names.html";

    TfrmMoveRemName(TMine *mine, QWidget *parent = nullptr);

    // Runs the dialog; true when an operation was applied (the caller redraws the branches).
    static bool Execute(QWidget *parent, TMine *mine);

    int Operation() const;
    void SetOperation(int operation);

    QButtonGroup *rgOperation = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    void apply();

    TMine *m_mine;
};
