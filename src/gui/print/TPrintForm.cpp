#include "print/TPrintForm.h"

#include "AppError.h"
#include "ReportOutput.h"
#include "TQtTextMetrics.h"
#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "base/WaitCursor.h"
#include "model/TMine.h"
#include "print/TPreviewForm.h"
#include "print/TPrintPreviewModel.h"
#include "settings/TConfig.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 18;
constexpr int kColumnWidth = 72;

} // namespace

TPrintForm::TPrintForm(const TMine &mine, QWidget *parent)
    : QDialog(parent), m_mine(mine), m_document(std::make_unique<TReportDocument>())
{
    setWindowTitle(QStringLiteral("Печать"));
    setModal(true);
    buildControls();
    updateControls();
}

TPrintForm::~TPrintForm()
{
    // The signer goes back to the settings only from a dialog that printed.
    if (m_printed && m_signerShown && Config) {
        Config->Post = edPost->text();
        Config->Surname = edSurname->text();
    }
}

QString TPrintForm::PdfPrinterName()
{
    return QStringLiteral("Файл PDF");
}

QString TPrintForm::StatusText()
{
    return QStringLiteral("Подготовка к предварительному просмотру или печати");
}

void TPrintForm::buildControls()
{
    auto *printerBox = new QGroupBox(QStringLiteral(" Принтер  "), this);
    cbPrinters = new QComboBox(printerBox);
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    cbPrinters->addItems(printers);
    cbPrinters->addItem(PdfPrinterName());
    const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
    cbPrinters->setCurrentIndex(std::max(0, int(printers.indexOf(defaultPrinter))));
    auto *nameLabel = new QLabel(QStringLiteral("имя:"), printerBox);
    nameLabel->setBuddy(cbPrinters);
    btnProperties = new QPushButton(QStringLiteral("&Свойства"), printerBox);
    auto *printerRow = new QHBoxLayout(printerBox);
    printerRow->addWidget(nameLabel);
    printerRow->addWidget(cbPrinters, 1);
    printerRow->addWidget(btnProperties);

    auto *whatBox = new QGroupBox(QStringLiteral(" Печатать  "), this);
    chkTitle = new QCheckBox(QStringLiteral("титульный лист"), whatBox);
    chkTable = new QCheckBox(QStringLiteral("топологическую таблицу"), whatBox);
    chkTitle->setChecked(true);
    chkTable->setChecked(true);
    rbWhole = new QRadioButton(QStringLiteral("полностью"), whatBox);
    rbSelective = new QRadioButton(QStringLiteral("выборочно"), whatBox);
    rbWhole->setChecked(true);
    auto *howGroup = new QButtonGroup(whatBox);
    howGroup->addButton(rbWhole);
    howGroup->addButton(rbSelective);
    auto *whatLayout = new QVBoxLayout(whatBox);
    whatLayout->addWidget(chkTitle);
    whatLayout->addWidget(chkTable);
    auto *howRow = new QHBoxLayout;
    howRow->addSpacing(16);
    howRow->addWidget(rbWhole);
    howRow->addWidget(rbSelective);
    howRow->addStretch();
    whatLayout->addLayout(howRow);

    auto *listBox = new QGroupBox(this);
    rbAllLists = new QRadioButton(QStringLiteral("все"), listBox);
    rbNodeList = new QRadioButton(QStringLiteral("список узлов"), listBox);
    rbBranchList = new QRadioButton(QStringLiteral("список ветвей"), listBox);
    rbAllLists->setChecked(true);
    auto *listLayout = new QVBoxLayout(listBox);
    listLayout->addWidget(rbAllLists);
    listLayout->addWidget(rbNodeList);
    listLayout->addWidget(rbBranchList);

    seCopies = new QSpinBox(this);
    seCopies->setRange(1, 1000000);
    seCopies->setValue(1);
    auto *copiesLabel = new QLabel(QStringLiteral("Копии"), this);
    copiesLabel->setBuddy(seCopies);

    UzelTable = makeTable(new TPrintPreviewModel(m_mine, TPrintPreviewModel::Nodes, this));
    BranchTable = makeTable(new TPrintPreviewModel(m_mine, TPrintPreviewModel::Branches, this));
    Tables = new QStackedWidget(this);
    Tables->addWidget(BranchTable);
    Tables->addWidget(UzelTable);

    btnPreview = new QPushButton(QStringLiteral("&Просмотр"), this);
    btnPreview->setToolTip(QStringLiteral("Предварительный просмотр"));
    btnHelp = new QPushButton(QStringLiteral("&Помощь"), this);
    btnPrint = new QPushButton(QStringLiteral("&Печать"), this);
    btnPrint->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("От&мена"), this);

    // The calculation's page: never shown, it only carries the signer.
    edPost = new QLineEdit(this);
    edSurname = new QLineEdit(this);
    edPost->hide();
    edSurname->hide();

    auto *top = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    left->addWidget(printerBox);
    auto *choices = new QHBoxLayout;
    choices->addWidget(whatBox, 1);
    choices->addWidget(listBox);
    left->addLayout(choices);
    auto *copiesRow = new QHBoxLayout;
    copiesRow->addWidget(copiesLabel);
    copiesRow->addWidget(seCopies);
    copiesRow->addStretch();
    left->addLayout(copiesRow);
    top->addLayout(left, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btnPreview);
    buttons->addWidget(btnHelp);
    buttons->addStretch();
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnCancel);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Tables, 1);
    resize(600, 480);

    connect(cbPrinters, &QComboBox::currentIndexChanged, this, &TPrintForm::printerChosen);
    connect(btnProperties, &QPushButton::clicked, this, &TPrintForm::btnPropertiesClick);
    for (QCheckBox *box : {chkTitle, chkTable})
        connect(box, &QCheckBox::toggled, this, &TPrintForm::updateControls);
    for (QRadioButton *button : {rbAllLists, rbNodeList, rbBranchList})
        connect(button, &QRadioButton::toggled, this, &TPrintForm::updateControls);
    connect(rbSelective, &QRadioButton::toggled, this, &TPrintForm::selectionModeChanged);
    connect(btnPreview, &QPushButton::clicked, this, &TPrintForm::btnPreviewClick);
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, HelpContext); });
    InstallHelpKey(this, HelpContext);
    connect(btnPrint, &QPushButton::clicked, this, &TPrintForm::btnPrintClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    printerChosen(cbPrinters->currentIndex());
    selectionModeChanged();
}

QTableView *TPrintForm::makeTable(TPrintPreviewModel *model)
{
    auto *table = new QTableView(this);
    table->setModel(model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setMinimumSectionSize(kRowHeight);
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    table->verticalHeader()->setFixedWidth(12);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    table->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSectionsClickable(false);
    if (model->rowCount() > 0)
        table->selectRow(0);
    return table;
}

void TPrintForm::showEvent(QShowEvent *event)
{
    if (!m_signerShown && Config) {
        edPost->setText(Config->Post);
        edSurname->setText(Config->Surname);
    }
    m_signerShown = true;
    if (!m_preview) {
        m_preview = new TPreviewForm(this);
    }
    QDialog::showEvent(event);
}

bool TPrintForm::PrintsToFile() const
{
    return cbPrinters->currentText() == PdfPrinterName();
}

void TPrintForm::printerChosen(int)
{
    if (PrintsToFile()) {
        m_printer.reset();
    } else {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setPrinterName(cbPrinters->currentText());
    }
    btnProperties->setEnabled(m_printer != nullptr);
}

void TPrintForm::btnPropertiesClick()
{
    if (!m_printer)
        return;
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.exec();
}

void TPrintForm::updateControls()
{
    const bool table = chkTable->isChecked();
    UzelTable->setEnabled(table);
    BranchTable->setEnabled(table);
    rbWhole->setEnabled(table);
    for (QRadioButton *button : {rbAllLists, rbNodeList, rbBranchList})
        button->setEnabled(table);
    const bool oneList = !rbAllLists->isChecked();
    rbSelective->setEnabled(table && oneList);
    if (!oneList && rbSelective->isChecked())
        rbWhole->setChecked(true);
    Tables->setCurrentWidget(rbNodeList->isChecked() ? UzelTable : BranchTable);
    const bool anything = chkTitle->isChecked() || table;
    btnPreview->setEnabled(anything);
    btnPrint->setEnabled(anything);
}

void TPrintForm::selectionModeChanged()
{
    const auto mode = rbSelective->isChecked() ? QAbstractItemView::ContiguousSelection : QAbstractItemView::SingleSelection;
    for (QTableView *table : {UzelTable, BranchTable}) {
        table->setSelectionMode(mode);
        // Back to a single row: the current one stays selected.
        if (mode == QAbstractItemView::SingleSelection && table->currentIndex().isValid())
            table->selectRow(table->currentIndex().row());
    }
}

QTableView *TPrintForm::shownTable() const
{
    return rbNodeList->isChecked() ? UzelTable : BranchTable;
}

TReportChoice TPrintForm::Choice() const
{
    TReportChoice choice;
    choice.TitlePage = chkTitle->isChecked();
    choice.Tables = chkTable->isChecked();
    choice.Lists = rbNodeList->isChecked() ? TReportChoice::NodeList
        : rbBranchList->isChecked()        ? TReportChoice::BranchList
                                           : TReportChoice::AllLists;
    choice.Selective = rbSelective->isChecked() && rbSelective->isEnabled();
    if (choice.Selective) {
        // From the first to the last selected row; none selected prints no rows.
        int first = -1, last = -1;
        for (const QItemSelectionRange &range : shownTable()->selectionModel()->selection()) {
            first = first < 0 ? range.top() : std::min(first, range.top());
            last = std::max(last, range.bottom());
        }
        choice.FirstRow = first < 0 ? 0 : first;
        choice.LastRow = last;
    }
    return choice;
}

const TReportDocument &TPrintForm::BuildDocument()
{
    WaitCursor busy;
    if (ShowStatusText)
        ShowStatusText(StatusText());
    struct ClearOnExit {
        TPrintForm *form;
        ~ClearOnExit()
        {
            if (form->ClearStatusText)
                form->ClearStatusText();
        }
    } clear{this};
    // Lengths and angles need the branch ends resolved, which the document's own tables have only
    // after a check; a copy is resolved so that the report prints them as the command line does.
    const std::unique_ptr<TMine> resolved = TTopologyReport::ResolvedCopy(m_mine);
    TTopologyReport(*resolved, Choice()).Build(*m_document, TQtTextMetrics());
    return *m_document;
}

QString TPrintForm::ProposedPdfFile(const QString &documentFile)
{
    if (documentFile.isEmpty())
        return {};
    const QFileInfo info(documentFile);
    QString name = info.fileName();
    if (name.endsWith(QLatin1String(".mdf"), Qt::CaseInsensitive))
        name.chop(4);
    return info.dir().filePath(name + QStringLiteral(".pdf"));
}

bool TPrintForm::PrintReport()
{
    QString path;
    if (PrintsToFile()) {
        AppDialogs::FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("Печать в файл");
        request.filter = QStringLiteral("Документ PDF (*.pdf)");
        request.defaultSuffix = QStringLiteral("pdf");
        request.fileName = ProposedPdfFile(DocumentFile);
        request.directory = request.fileName.isEmpty() ? (Config ? Config->DataDir : QString())
                                                       : QFileInfo(request.fileName).path();
        path = AppDialogs::RunFileDialog(this, request).value(0);
        if (path.isEmpty())
            return false;
    }
    BuildDocument();
    {
        WaitCursor busy;
        if (m_printer) {
            m_printer->setDocName(m_document->Title());
            m_printer->setFullPage(true);
            m_printer->setPageSize(QPageSize(QPageSize::A4));
            m_printer->setPageOrientation(QPageLayout::Portrait);
            m_printer->setCopyCount(1);
            if (!ReportOutput::PaintPages(*m_document, *m_printer, 0, m_document->PageCount() - 1, seCopies->value()))
                throw AppError(QStringLiteral("Не удалось начать печать на принтере \"%1\"").arg(m_printer->printerName()));
        } else {
            ReportOutput::WritePdf(*m_document, path);
        }
    }
    btnCancel->setText(QStringLiteral("Закрыть"));
    m_printed = true;
    return true;
}

void TPrintForm::btnPreviewClick()
{
    m_preview->Present();
}

void TPrintForm::btnPrintClick()
{
    bool printed = false;
    RunGuarded([&] { printed = PrintReport(); });
    if (printed)
        accept();
}
