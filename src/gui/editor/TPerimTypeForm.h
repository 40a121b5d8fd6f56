#pragma once
// The cross-section dialog of one branch ("Сечение, периметр, шероховатость"): cross-section,
// its shape and the roughness class of the lining, with the perimeter that follows from the
// first two. OK stores them in the branch; Cancel changes nothing. The branch table opens it
// for the perimeter column instead of an in-place editor.
#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TBranch;

class TPerimTypeForm : public QDialog {
    Q_OBJECT
public:
    TPerimTypeForm(TBranch *branch, QWidget *parent = nullptr);

    static constexpr int HelpContext = 8;
    // Caption of roughness class 0..4.
    static QString RoughnessName(int roughnessClass);

    QLineEdit *SEdit = nullptr;
    QLineEdit *PerimEdit = nullptr;
    QGroupBox *SFormGroup = nullptr;
    QGroupBox *SmoothGroup = nullptr;
    QButtonGroup *SFormButtons = nullptr;
    QButtonGroup *SmoothButtons = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnHelp = nullptr;

    // The dialog's cross-section and perimeter (unset marker when there is none).
    float Section() const { return m_section; }
    float Perimeter() const { return m_perimeter; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void recalculate();
    void accept() override;

    TBranch *m_branch;
    float m_section;
    float m_perimeter;
};
