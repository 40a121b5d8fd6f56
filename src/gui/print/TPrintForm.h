#pragma once
// TPrintForm ("Печать"): what to print of a document's topology (title page, node table, branch
// table, whole or a range of rows), on which printer and how many copies. Created by the print
// command for the active document and destroyed when it closes, with its preview window.
//
// The dialog builds the report afresh from the mine for every preview and every printing, and
// owns it in between; it never changes the mine. The shell lends it the status bar through two
// callbacks, for the text shown while the report is built.
//
// Printers: the installed ones (the default chosen) and, always last, "Файл PDF", which prints
// into a PDF file the user names; it is chosen when no printer is installed.
//
// The signer's post and surname belong to a page of the dialog the calculation will need; the
// page is never shown, but its fields come from the settings and go back to them once the dialog
// has printed.
#include "report/TReportDocument.h"
#include "report/TTopologyReport.h"

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTableView;
class TMine;
class TPreviewForm;
class TPrintPreviewModel;

class TPrintForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 13;

    explicit TPrintForm(const TMine &mine, QWidget *parent = nullptr);
    ~TPrintForm() override;

    std::function<void(const QString &)> ShowStatusText;
    std::function<void()> ClearStatusText;
    // The document's file, or the name proposed for an untitled one: printing into a PDF file
    // proposes that folder and that name with ".pdf" (ProposedPdfFile).
    QString DocumentFile;
    // "…/Южная.mdf" gives "…/Южная.pdf"; a name without ".mdf" keeps all of it ("…/шахта" gives
    // "…/шахта.pdf"). Empty for an empty document file.
    static QString ProposedPdfFile(const QString &documentFile);

    // "Файл PDF": the printer list's entry that prints into a file.
    static QString PdfPrinterName();
    static QString StatusText();

    // What the boxes ask for now; the rows are those selected in the table shown.
    TReportChoice Choice() const;
    // Builds the report from the mine as it is now, under the hourglass and the status text.
    const TReportDocument &BuildDocument();
    const TReportDocument &Document() const { return *m_document; }
    // Builds and prints the report with "Копии" copies on the chosen printer, or writes it into
    // the PDF file the user names. False when the user gave no file name.
    bool PrintReport();
    bool Printed() const { return m_printed; }
    TPreviewForm *Preview() const { return m_preview; }
    bool PrintsToFile() const;

    QComboBox *cbPrinters = nullptr;
    QPushButton *btnProperties = nullptr;
    QCheckBox *chkTitle = nullptr;
    QCheckBox *chkTable = nullptr;
    QRadioButton *rbWhole = nullptr;
    QRadioButton *rbSelective = nullptr;
    QRadioButton *rbAllLists = nullptr;
    QRadioButton *rbNodeList = nullptr;
    QRadioButton *rbBranchList = nullptr;
    QSpinBox *seCopies = nullptr;
    QStackedWidget *Tables = nullptr;
    QTableView *UzelTable = nullptr;
    QTableView *BranchTable = nullptr;
    QPushButton *btnPreview = nullptr;
    QPushButton *btnHelp = nullptr;
    QPushButton *btnPrint = nullptr;
    QPushButton *btnCancel = nullptr;
    QLineEdit *edPost = nullptr;
    QLineEdit *edSurname = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    QTableView *makeTable(TPrintPreviewModel *model);
    void printerChosen(int index);
    void updateControls();
    void selectionModeChanged();
    void btnPreviewClick();
    void btnPrintClick();
    void btnPropertiesClick();
    QTableView *shownTable() const;

    const TMine &m_mine;
    std::unique_ptr<TReportDocument> m_document;
    std::unique_ptr<QPrinter> m_printer;
    TPreviewForm *m_preview = nullptr;
    bool m_printed = false;
    bool m_signerShown = false;
};
