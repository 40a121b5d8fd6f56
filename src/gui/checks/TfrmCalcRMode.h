#pragma once
// The choice of branches for "R из шероховатости для всех ветвей": all branches, or only those
// whose resistance is still 0. Created for one use.
#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;

class TfrmCalcRMode : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCalcRMode(QWidget *parent = nullptr);

    // Runs the dialog modally: 0 "Для всех ветвей", 1 "Для ветвей с R=0", -1 cancelled.
    static int Execute(QWidget *parent);

    // The chosen item when the dialog was closed with OK, else -1.
    int Choice() const;

    QGroupBox *rgSelect = nullptr;
    QButtonGroup *rgButtons = nullptr;
    QRadioButton *rbAll = nullptr;
    QRadioButton *rbZero = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};
