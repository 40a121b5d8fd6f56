// The print dialog and its preview: the enabling rules, the rows a selective report takes,
// printing into a PDF file, the signer kept in the settings, and the preview's zoom, pages and
// copies.
#include "AppTestHooks.h"
#include "FailedWrites.h"
#include "MineText.h"
#include "PdfText.h"
#include "ToolRun.h"
#include "model/TBranch.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"
#include "model/TMine.h"
#include "print/TPageView.h"
#include "print/TPreviewForm.h"
#include "print/TPrintForm.h"
#include "print/TPrintPreviewModel.h"
#include "settings/TConfig.h"
#include "settings/TRegistry.h"
#include "TestConfig.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Nodes(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("u %1 %2 0 0;").arg(i).arg(1000 + i);
    return text;
}

} // namespace

class tst_TPrintForm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void enablingRules_data();
    void enablingRules();
    void previewTablesShowTheValues_data();
    void previewTablesShowTheValues();
    void selectionFollowsTheMode();
    void printsSelectedRowsIntoAPdf();
    void failedPdfKeepsTheOldFile();
    void proposedPdfFile_data();
    void proposedPdfFile();
    void reportAsTheCommandLinePrints();
    void signerGoesBackOnlyAfterPrinting_data();
    void signerGoesBackOnlyAfterPrinting();
    void zoomTexts_data();
    void zoomTexts();
    void previewPaintsOnlyThePageShown();
    void copiesAndClipboard();

private:
    QTemporaryDir m_store;
};

void tst_TPrintForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    TRegistry::SetStoreFolder(m_store.path());
    NewTestConfig();
}

void tst_TPrintForm::cleanupTestCase()
{
    DropTestConfig();
}

void tst_TPrintForm::enablingRules_data()
{
    QTest::addColumn<bool>("title");
    QTest::addColumn<bool>("table");
    QTest::addColumn<QString>("list");        // the radio button chosen last
    QTest::addColumn<bool>("tablesOn");       // tables, "полностью", the list's radio buttons
    QTest::addColumn<bool>("selectiveOn");
    QTest::addColumn<bool>("buttonsOn");      // "&Просмотр" and "&Печать"
    QTest::addColumn<bool>("nodeTableShown");

    QTest::newRow("as opened") << true << true << "все" << true << false << true << false;
    QTest::newRow("title page alone") << true << false << "все" << false << false << true << false;
    QTest::newRow("node list") << false << true << "список узлов" << true << true << true << true;
    QTest::newRow("branch list") << true << true << "список ветвей" << true << true << true << false;
    QTest::newRow("node list without the table") << true << false << "список узлов" << false << false << true << true;
    QTest::newRow("neither box") << false << false << "все" << false << false << false << false;
}

void tst_TPrintForm::enablingRules()
{
    QFETCH(bool, title);
    QFETCH(bool, table);
    QFETCH(QString, list);
    QFETCH(bool, tablesOn);
    QFETCH(bool, selectiveOn);
    QFETCH(bool, buttonsOn);
    QFETCH(bool, nodeTableShown);
    TMine mine;
    minetext::Build(mine, Nodes(3));
    TPrintForm form(mine);
    // "выборочно" chosen first, on a single list: choosing "все" later must undo it.
    form.rbNodeList->setChecked(true);
    form.rbSelective->setChecked(true);
    for (QRadioButton *b : {form.rbAllLists, form.rbNodeList, form.rbBranchList}) {
        if (b->text() == list)
            b->setChecked(true);
    }
    form.chkTitle->setChecked(title);
    form.chkTable->setChecked(table);
    for (QWidget *w : QList<QWidget *>{form.UzelTable, form.BranchTable, form.rbWhole, form.rbAllLists,
                                       form.rbNodeList, form.rbBranchList})
        QCOMPARE(w->isEnabled(), tablesOn);
    QCOMPARE(form.rbSelective->isEnabled(), selectiveOn);
    QCOMPARE(form.rbWhole->isChecked(), list == QStringLiteral("все"));
    QCOMPARE(form.btnPreview->isEnabled(), buttonsOn);
    QCOMPARE(form.btnPrint->isEnabled(), buttonsOn);
    QCOMPARE(form.Tables->currentWidget() == form.UzelTable, nodeTableShown);
}

void tst_TPrintForm::previewTablesShowTheValues_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("row");
    // A sloped branch 5 m long rising 4 m: its angle is 53.1 degrees.
    QTest::newRow("nodes") << int(TPrintPreviewModel::Nodes)
                           << QStringList{"2", "3.0", "0.0", "4.0", "", "", ""};
    QTest::newRow("branches") << int(TPrintPreviewModel::Branches)
                              << QStringList{"7", "1", "2", "5.0", "4.5", "53.1", "Уклон"};
}

void tst_TPrintForm::previewTablesShowTheValues()
{
    QFETCH(int, kind);
    QFETCH(QStringList, row);
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 3 0 4; b 7 1 2 4.5 \"Уклон\""));
    mine.ResolveIncidence();
    const TPrintPreviewModel model(mine, TPrintPreviewModel::Kind(kind));
    const int last = model.rowCount() - 1;
    QStringList shown;
    for (int c = 0; c < model.columnCount(); ++c)
        shown << model.data(model.index(last, c), Qt::DisplayRole).toString();
    QCOMPARE(shown, row);
}

void tst_TPrintForm::selectionFollowsTheMode()
{
    TMine mine;
    minetext::Build(mine, Nodes(20));
    TPrintForm form(mine);
    form.rbNodeList->setChecked(true);
    QTableView *table = form.UzelTable;
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    form.rbSelective->setChecked(true);
    QCOMPARE(table->selectionMode(), QAbstractItemView::ContiguousSelection);
    table->selectionModel()->select(QItemSelection(table->model()->index(4, 0), table->model()->index(8, 0)),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const TReportChoice choice = form.Choice();
    QVERIFY(choice.Selective);
    QCOMPARE(choice.FirstRow, 4);
    QCOMPARE(choice.LastRow, 8);
    table->setCurrentIndex(table->model()->index(6, 0));
    form.rbWhole->setChecked(true);
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
    QVERIFY(!form.Choice().Selective);
}

void tst_TPrintForm::printsSelectedRowsIntoAPdf()
{
    TMine mine;
    mine.SetTitle(QStringLiteral("Южная"));
    minetext::Build(mine, Nodes(20));
    TPrintForm form(mine);
    QStringList status;
    form.ShowStatusText = [&](const QString &text) { status << text; };
    form.ClearStatusText = [&] { status << QStringLiteral("clear"); };
    form.cbPrinters->setCurrentIndex(form.cbPrinters->findText(TPrintForm::PdfPrinterName()));
    QVERIFY(!form.btnProperties->isEnabled());
    form.chkTitle->setChecked(false);
    form.rbNodeList->setChecked(true);
    form.rbSelective->setChecked(true);
    QTableView *table = form.UzelTable;
    table->selectionModel()->select(QItemSelection(table->model()->index(4, 0), table->model()->index(8, 0)),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

    AppTestHooks hooks;
    QVERIFY(!form.PrintReport());   // no file named: nothing printed
    QVERIFY(!form.Printed());
    QCOMPARE(form.btnCancel->text(), QStringLiteral("От&мена"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Южная.pdf"));
    // The file proposed is the document's, in its folder, with ".pdf".
    form.DocumentFile = dir.filePath(QStringLiteral("шахты/south.MDF"));
    hooks.files.enqueue({path});
    QVERIFY(form.PrintReport());
    QCOMPARE(hooks.fileDialogs.size(), 2);
    QCOMPARE(hooks.fileDialogs.last().fileName, dir.filePath(QStringLiteral("шахты/south.pdf")));
    QCOMPARE(hooks.fileDialogs.last().directory, dir.filePath(QStringLiteral("шахты")));
    QCOMPARE(hooks.fileDialogs.last().filter, QStringLiteral("Документ PDF (*.pdf)"));
    QVERIFY(hooks.fileDialogs.last().save);
    QCOMPARE(status, (QStringList{TPrintForm::StatusText(), QStringLiteral("clear")}));
    QVERIFY(form.Printed());
    QCOMPARE(form.btnCancel->text(), QStringLiteral("Закрыть"));

    const pdftext::Pdf pdf = pdftext::Read(path);
    QCOMPARE(pdf.Pages, 1);
    QCOMPARE(pdf.Title, QStringLiteral("Топология шахты \"Южная\""));
    QCOMPARE(pdf.Lines[0], (QStringList{QStringLiteral("Топологическая таблица узлов"), QStringLiteral("Узел Х Y Z"),
                                        "5 1005.0 0.0 0.0", "6 1006.0 0.0 0.0", "7 1007.0 0.0 0.0",
                                        "8 1008.0 0.0 0.0", "9 1009.0 0.0 0.0", "1"}));
}

// A document just opened has no resolved branch ends; its report still prints lengths and
// angles, the same text as the command line's report of the file, and the document stays as it
// was.
void tst_TPrintForm::reportAsTheCommandLinePrints()
{
    const QString sample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");
    TMineDocument doc;
    TMineFile::Load(doc, sample);
    TMine &mine = *doc.Mine();
    QVERIFY(!mine.Branches().Items(1)->StartUzel());
    TPrintForm form(mine);
    form.cbPrinters->setCurrentIndex(form.cbPrinters->findText(TPrintForm::PdfPrinterName()));
    form.chkTitle->setChecked(false);
    QTemporaryDir dir;
    const QString editor = dir.filePath(QStringLiteral("editor.pdf"));
    const QString tool = dir.filePath(QStringLiteral("tool.pdf"));
    AppTestHooks hooks;
    hooks.files.enqueue({editor});
    QVERIFY(form.PrintReport());
    QCOMPARE(tooltest::Tool({QStringLiteral("report"), sample, tool, QStringLiteral("--parts"),
                             QStringLiteral("nodes,branches")}).ExitCode, 0);
    const pdftext::Pdf printed = pdftext::Read(editor);
    QVERIFY(printed.Pages > 1);
    QCOMPARE(printed.Lines, pdftext::Read(tool).Lines);
    QVERIFY(printed.Lines.last().join(QLatin1Char(' ')).contains(QStringLiteral("Угол")));
    QVERIFY(!mine.Branches().Items(1)->StartUzel());
    QVERIFY(!mine.Modified());
}

void tst_TPrintForm::failedPdfKeepsTheOldFile()
{
    TMine mine;
    minetext::Build(mine, Nodes(20));
    TPrintForm form(mine);
    form.cbPrinters->setCurrentIndex(form.cbPrinters->findText(TPrintForm::PdfPrinterName()));
    QTemporaryDir dir;
    tooltest::WriteFile(dir.filePath(QStringLiteral("r.pdf")), "old report");
    AppTestHooks hooks;
    hooks.files.enqueue({dir.filePath(QStringLiteral("r.pdf"))});
    {
        failedwrites::FileSizeLimit limit(4096);
        form.btnPrint->click();
    }
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(hooks.errors().first().text, QStringLiteral("Ошибка при записи в файл"));
    QVERIFY(!form.Printed());
    QCOMPARE(failedwrites::FilesIn(dir.path()), (QMap<QString, QByteArray>{{QStringLiteral("r.pdf"), "old report"}}));
}

void tst_TPrintForm::proposedPdfFile_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("pdf");
    QTest::newRow("a mine file") << "/home/u/Шахты/Южная.mdf" << "/home/u/Шахты/Южная.pdf";
    QTest::newRow("capitals") << "/m/NORTH.MDF" << "/m/NORTH.pdf";
    QTest::newRow("a name without .mdf keeps it whole") << "/m/шахта.v2" << "/m/шахта.v2.pdf";
    QTest::newRow("no extension") << "/m/копия" << "/m/копия.pdf";
    QTest::newRow("untitled") << "/home/u/Documents/Tarvel/Новый 3.mdf" << "/home/u/Documents/Tarvel/Новый 3.pdf";
    QTest::newRow("none") << "" << "";
}

void tst_TPrintForm::proposedPdfFile()
{
    QFETCH(QString, document);
    QFETCH(QString, pdf);
    QCOMPARE(TPrintForm::ProposedPdfFile(document), pdf);
}

void tst_TPrintForm::signerGoesBackOnlyAfterPrinting_data()
{
    QTest::addColumn<bool>("print");
    QTest::newRow("printed") << true;
    QTest::newRow("closed without printing") << false;
}

void tst_TPrintForm::signerGoesBackOnlyAfterPrinting()
{
    QFETCH(bool, print);
    Config->Post = QStringLiteral("Горный мастер");
    Config->Surname = QStringLiteral("Иванов");
    TMine mine;
    QTemporaryDir dir;
    {
        TPrintForm form(mine);
        form.cbPrinters->setCurrentIndex(form.cbPrinters->findText(TPrintForm::PdfPrinterName()));
        form.show();
        QCOMPARE(form.edPost->text(), QStringLiteral("Горный мастер"));
        QCOMPARE(form.edSurname->text(), QStringLiteral("Иванов"));
        QVERIFY(!form.edPost->isVisible());
        form.edSurname->setText(QStringLiteral("Петров"));
        if (print) {
            AppTestHooks hooks;
            hooks.files.enqueue({dir.filePath(QStringLiteral("r.pdf"))});
            QVERIFY(form.PrintReport());
        }
    }
    QCOMPARE(Config->Surname, print ? QStringLiteral("Петров") : QStringLiteral("Иванов"));
    QCOMPARE(Config->Post, QStringLiteral("Горный мастер"));
}

void tst_TPrintForm::zoomTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("zoom");   // -1: as before (75)

    QTest::newRow("item") << "150%" << 150;
    QTest::newRow("typed number") << "42" << 42;
    QTest::newRow("spaces around") << " 80 % " << 80;
    QTest::newRow("not a number") << "%" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("digits after %") << "5%5" << -1;
    QTest::newRow("too small") << "0" << TPreviewForm::kMinZoom;
    QTest::newRow("too large") << "99999" << TPreviewForm::kMaxZoom;
}

void tst_TPrintForm::zoomTexts()
{
    QFETCH(QString, text);
    QFETCH(int, zoom);
    TMine mine;
    TPrintForm form(mine);
    form.show();
    TPreviewForm *preview = form.Preview();
    QVERIFY(preview);
    QCOMPARE(preview->cbZoom->count(), 9);
    QCOMPARE(preview->cbZoom->itemText(8), QStringLiteral("C") + QStringLiteral("траница целиком"));
    preview->ApplyZoomText(QStringLiteral("75%"));
    preview->ApplyZoomText(text);
    const int expected = zoom < 0 ? 75 : zoom;
    QCOMPARE(preview->ZoomPercent(), expected);
    QCOMPARE(preview->cbZoom->currentText(), QString::number(expected) + QLatin1Char('%'));
}

void tst_TPrintForm::previewPaintsOnlyThePageShown()
{
    TMine mine;
    minetext::Build(mine, Nodes(400));   // title page, 5 pages of nodes, the empty branch table
    TPrintForm form(mine);
    form.show();
    TPreviewForm *preview = form.Preview();
    QSignalSpy painted(preview->PageView, &TPageView::PagePainted);
    preview->resize(900, 700);
    preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    QTRY_VERIFY(!painted.isEmpty());
    QCOMPARE(preview->cbPage->count(), 7);
    QCOMPARE(preview->cbPage->itemText(6), QStringLiteral("7"));
    // Fitted to the width, and at most 100 % once activated.
    const int shown = preview->ZoomPercent();
    QVERIFY(shown > 10 && shown <= 100);
    preview->ApplyZoomText(QStringLiteral("По ширине страницы"));
    const int fitted = preview->ZoomPercent();
    QVERIFY(fitted >= shown);
    preview->ApplyZoomText(QStringLiteral("Cтраница целиком"));
    QVERIFY(preview->ZoomPercent() < fitted);
    // Typing admits digits and "%" only; Enter applies the text and selects it.
    QLineEdit *zoomEdit = preview->cbZoom->lineEdit();
    zoomEdit->clear();
    QTest::keyClicks(zoomEdit, QStringLiteral("1a5%"));
    QTest::keyClick(zoomEdit, Qt::Key_Return);
    QCOMPARE(preview->ZoomPercent(), 15);
    QCOMPARE(zoomEdit->selectedText(), QStringLiteral("15%"));
    QCoreApplication::processEvents();
    for (const QList<QVariant> &call : painted)
        QCOMPARE(call.value(0).toInt(), 0);
    QVERIFY(!preview->btnPrev->isEnabled());
    QVERIFY(preview->btnNext->isEnabled());
    preview->btnNext->click();
    QCOMPARE(preview->CurrentPage(), 1);
    QCOMPARE(preview->cbPage->currentIndex(), 1);
    QVERIFY(preview->btnPrev->isEnabled());
    preview->cbPage->setCurrentIndex(6);
    QCOMPARE(preview->CurrentPage(), 6);
    QVERIFY(!preview->btnNext->isEnabled());
    QTRY_COMPARE(painted.last().value(0).toInt(), 6);
}

void tst_TPrintForm::copiesAndClipboard()
{
    TMine mine;
    minetext::Build(mine, Nodes(3));
    TPrintForm form(mine);
    form.show();
    TPreviewForm *preview = form.Preview();
    preview->show();
    form.seCopies->setValue(3);
    QCOMPARE(preview->seCopies->value(), 3);
    preview->seCopies->setValue(7);
    QCOMPARE(form.seCopies->value(), 7);
    QApplication::clipboard()->clear();
    preview->btnCopy->click();
    const QImage image = QApplication::clipboard()->image();
    QVERIFY(!image.isNull());
    QVERIFY(qAbs(double(image.height()) / image.width() - 29.7 / 21.0) < 0.01);
}

QTEST_MAIN(tst_TPrintForm)
#include "tst_TPrintForm.moc"
