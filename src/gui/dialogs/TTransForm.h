#pragma once
// TTransForm, the "Трансформация" dialog: changes the coordinates of the nodes of the active
// document, all of them or the mine's current node only, by a scale and a shift per axis (page
// "Перенос и масштаб") or by a turn in the horizontal plane about a centre (page "Поворот"), whose
// angle is typed, stepped, or dragged on the dial. Nothing changes before "&ОК"; then the nodes
// move through their setters (TNodeTransform) and both tables are redrawn.
//
// The dialog's place on the screen and its last page are remembered for the rest of the run.
// Modal, created for each use: TTransForm::Execute(host).
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TAngleDial;
class TDocumentHost;
class TUpDown;

class TTransForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 20;
    enum Page { ShiftScalePage = 0, RotationPage = 1 };

    explicit TTransForm(TDocumentHost &host, QWidget *parent = nullptr);
    // Shows the dialog modally over the document; true when the nodes were transformed.
    static bool Execute(TDocumentHost &host);
    // The first opening of the run again: centred, on the first page.
    static void ForgetPlacement();

    // The turn's angle in radians, and whether the angle field holds a number.
    double Angle() const { return m_angle; }
    bool AngleValid() const { return m_angleValid; }
    // Steps the angle field by degrees, as the arrows and the Up and Down keys do.
    void StepAngle(double degrees);

    // Controls, open to the tests.
    QRadioButton *WholeMineBtn = nullptr;
    QRadioButton *OnlySelectedBtn = nullptr;
    QLabel *TransCountLabel = nullptr;
    QTabWidget *PageControl = nullptr;
    QCheckBox *ScaleBox = nullptr;
    QCheckBox *OffsetBox = nullptr;
    QLineEdit *ScaleXEdit = nullptr, *ScaleYEdit = nullptr, *ScaleZEdit = nullptr;
    QLineEdit *OffsetXEdit = nullptr, *OffsetYEdit = nullptr, *OffsetZEdit = nullptr;
    QLineEdit *AngleEdit = nullptr;
    TUpDown *AngleBtn = nullptr;
    QLineEdit *X0Edit = nullptr, *Y0Edit = nullptr;
    TAngleDial *AngleBox = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    QWidget *createShiftScalePage();
    QWidget *createRotationPage();
    QLineEdit *numberField(const QString &text);
    void updateCount();
    void updateBoxes();
    void AngleEditChange();
    void AngleBoxDrag(QPoint position, Qt::KeyboardModifiers modifiers);
    void showAngle();
    // The check of a field being left: a text that is not a number takes the focus back.
    void LeaveCheck(QLineEdit *field);
    // The number in field, or the field takes the focus and "Неверно указано число" is raised.
    double readField(QLineEdit *field);
    void btnOKClick();

    TDocumentHost &m_host;
    double m_angle = 0;
    bool m_angleValid = true;
    bool m_writingAngle = false;   // the dialog writes the angle field: no re-reading
};
