#pragma once
// TOptionsForm, the "Установки" dialog: the table font and the look of the nine cell kinds,
// edited on a working copy of the settings and watched in a sample table, and how stopping
// destruction pressure is shown, and how often a document with unsaved changes is copied for
// recovery after a crash. "&OK" copies the working copy's display settings into Config
// and applies them to every open document; "&Отмена" drops the copy. Nothing is written to the
// store here (that happens at shut-down).
//
// Modal, created for each use: TOptionsForm::Execute(parent).
#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class TColorGrid;
class TConfig;
class TSampleGrid;

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    // Applies Config's display settings (font, size, row heights, cell looks, pressure
    // presentation) to every open document window. Filled in by the main window; "&OK" calls it
    // after copying the working copy into Config. Empty while no main window exists.
    static std::function<void()> ApplyDisplaySettings;

    static constexpr int HelpTopic = 18;

    explicit TOptionsForm(QWidget *parent = nullptr);
    ~TOptionsForm() override;

    // Shows the dialog modally; true when closed with "&OK".
    static bool Execute(QWidget *parent);

    const TConfig &WorkingCopy() const { return *m_work; }

    // Controls, open to the tests.
    QTabWidget *PageControl = nullptr;
    QListWidget *lbItems = nullptr;
    TColorGrid *ColorGrid = nullptr;
    QCheckBox *cbBold = nullptr;
    QCheckBox *cbItalic = nullptr;
    QCheckBox *cbUnderline = nullptr;
    QComboBox *cbFont = nullptr;
    QLineEdit *edSize = nullptr;
    TSampleGrid *sgSample = nullptr;
    QRadioButton *rbAt = nullptr;
    QRadioButton *rbMPa = nullptr;
    QSpinBox *edRecovery = nullptr;   // minutes between recovery copies, 0 none
    QSpinBox *edUndoLimit = nullptr;  // steps kept for undo, 0 none
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnHelp = nullptr;
    QPushButton *btnReset = nullptr;

private:
    QWidget *createColoursPage();
    QWidget *createViewPage();
    void fillFontList();
    void showFont();

    void LoadKind(int cell);
    void lbItemsClick();
    void AttrChange();
    void sgSampleClick(int row);
    void FontChange();
    void btnResetClick();
    void rgPressureClick(int mode);
    void btnOKClick();
    void btnHelpClick();

    std::unique_ptr<TConfig> m_work;
    QScrollArea *m_sampleArea = nullptr;
    bool m_loading = false;   // controls being filled: their change events must not write back
};
