#pragma once
// TFilePropForm, the "Свойства" dialog of the active document: the mine's name and notes, its
// mean air temperature and pressure, the parameters kept for the gas-dynamic calculation, and
// which columns the node and branch tables show.
//
// The dialog reads the document once when it opens and writes it only on "&OK", after the
// checks pass (and, when a calculation parameter changes, after the user agreed to lose the
// results); "По &умолчанию" is the exception: it resets the column layout of the document at
// once. The pressure field is written in the unit the box showed when the dialog last wrote it
// (the shown unit); a number field counts as changed only once the user has typed into it.
//
// Modal, created for each use: TFilePropForm::Execute(host).
#include "dialogs/FilePropRules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class TDocumentHost;

class TFilePropForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpTopic = 12;

    explicit TFilePropForm(TDocumentHost &host, QWidget *parent = nullptr);
    // Shows the dialog modally over the document; true when closed with "&OK".
    static bool Execute(TDocumentHost &host);

    // The number fields' changed marks.
    bool TemperatureChanged() const { return m_temperatureChanged; }
    bool PressureChanged() const { return m_pressureChanged; }
    TAirPressureUnit ShownUnit() const { return m_shownUnit; }

    // Controls, open to the tests.
    QTabWidget *PageControl = nullptr;
    QLineEdit *edTitle = nullptr;
    QPlainTextEdit *mmNotes = nullptr;
    QLineEdit *edTemperature = nullptr;
    QComboBox *cbPressureUnit = nullptr;
    QLineEdit *edPressure = nullptr;
    QLabel *lbBoomSpeed = nullptr;
    QSlider *tbBoomSpeed = nullptr;
    QCheckBox *cbAutoUpdate = nullptr;
    QSlider *tbAutoUpdate = nullptr;
    QLabel *lbSaveIterations = nullptr;
    QSlider *tbSaveIterations = nullptr;
    QComboBox *cbCalcMethod = nullptr;
    QCheckBox *ColumnBox[FileProp::ColumnBoxCount] = {};
    QPushButton *btnDefault = nullptr;
    QPushButton *btnSelectAll = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnHelp = nullptr;

private:
    QWidget *createGeneralPage();
    QWidget *createColumnsPage();
    void fill();
    void showColumnBoxes();
    void updateSliderTexts();
    void PressureUnitChange(int index);
    void btnDefaultClick();
    void btnSelectAllClick();
    void btnOKClick();
    // Shows the page "Общие" with the focus in field and raises message.
    [[noreturn]] void refuse(QLineEdit *field, const QString &message);
    bool calculationParameterChanges(qint32 temperature, double pressure) const;
    void write(qint32 temperature, double pressure);

    TDocumentHost &m_host;
    TAirPressureUnit m_shownUnit = TAirPressureUnit::MmHg;
    bool m_temperatureChanged = false;
    bool m_pressureChanged = false;
};
