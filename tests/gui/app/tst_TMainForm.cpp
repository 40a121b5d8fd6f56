// The main window on real widgets: enabling rules, documents arriving by every road, the close
// question, clearing results, recent files, the status bar, the group boxes and the error display.
#include "AppError.h"
#include "AppTestHooks.h"
#include "MainFormFixture.h"
#include "app/DdeMacro.h"
#include "app/TAboutBox.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "app/TSingleInstance.h"
#include "base/TGroupCombo.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"
#include "RequestSender.h"
#include "Settle.h"
#include "TestConfig.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>
#include <QTextDocument>
#include <QtTest>

#include <sys/stat.h>

namespace {

// Lets the event loop wait for events once, as it does when the user is idle.
void idle()
{
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
}

// A small mine: nodes 1..3, branches 10 (1-2, seam 0) and 20 (3-1, no seam), with one stopping
// on branch 10; two seams and one plan position.
void writeMine(const QString &path, const QString &title = QStringLiteral("Северная"))
{
    TMineDocument doc;
    TMine *mine = doc.Mine();
    mine->SetTitle(title);
    mine->AddUzel(1, 0, 0, 0);
    mine->AddUzel(2, 100, 0, -5);
    mine->AddUzel(3, 50, 80, -10);
    TBranch *b10 = mine->AddBranch(10, 1, 2, QStringLiteral("штрек"), 12.5f);
    mine->AddBranch(20, 3, 1, QStringLiteral("уклон"), 9.0f);
    auto *seam = new TLayer(mine);
    seam->SetName(QStringLiteral("Пласт К2"));
    seam->SetColor(0x000000FF);
    auto *seam2 = new TLayer(mine);
    seam2->SetName(QStringLiteral("Пласт К5"));
    seam2->SetColor(0x0000FF00);
    auto *plf = new TPLF(mine);
    plf->SetName(QStringLiteral("П1"));
    b10->SetLayerIndex(0);
    new TJumper(b10);
    TMineFile::Save(doc, path);
}

QStringList enabledNames(const TMainForm &form)
{
    QStringList names;
    for (QAction *a : form.ActionList())
        if (a->isEnabled())
            names << a->objectName();
    names.sort();
    return names;
}

} // namespace

class tst_TMainForm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void rulesWithoutDocument();
    void rulesOfEmptyMine();
    void rulesOfLoadedMine();
    void viewCommandsKeepOneTable();
    void ctrlShiftLSortsByEndNode();

    void commandLine_data();
    void commandLine();
    void commandLineStopsAtFailingDocument();
    void openDialogChoice();
    void alreadyOpenBroughtToFront();
    void thirdWindowTitle();
    void ddeMacroOpensPathsAsGiven();
    void secondInstanceHandsOver();
    void droppedFiles();
    void mineUnderAnotherNameSavesUnderIt();

    void closeQuestion_data();
    void closeQuestion();
    void closingProgramAsksEveryDocument();
    void failedSaveReportedAndKeepsChanges();
    void clearResultsSideFiles_data();
    void clearResultsSideFiles();
    void clearResultsOfUnsavedDocument();
    void confirmEdit();
    void recentFiles();

    void statusBar();
    void statusPanelsFitTexts_data();
    void statusPanelsFitTexts();
    void hugeTitleInOneLine();
    void groupBoxes();
    void windowMenuListsDocuments();
    void tilingMakesOneRowOrColumn();
    void newWindowsCascadeInsideWorkspace();
    void aboutBox();

private:
    QString mine(const QString &name, const QString &title = QStringLiteral("Северная"))
    {
        const QString path = m_dir->filePath(name);
        writeMine(path, title);
        return path;
    }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TMainForm> m_form;
};

void tst_TMainForm::initTestCase()
{
    NewTestConfig();
}

void tst_TMainForm::cleanupTestCase()
{
    m_form.reset();
    DropTestConfig();
}

void tst_TMainForm::init()
{
    m_form.reset();
    settle();
    Config->LastFiles.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    OpenMainForm(m_form);
}

void tst_TMainForm::rulesWithoutDocument()
{
    m_form->UpdateActions();
    QStringList expected{"actNew", "actOpen", "actExit", "actSetup", "actHelpTopic", "actUstav",
                         "actHelpOnHelp", "actAbout", "actImportCsv", "actImportDxf"};
    expected.sort();
    QCOMPARE(enabledNames(*m_form), expected);
    QCOMPARE(m_form->cbLayers->count(), 0);
    QCOMPARE(m_form->cbPLFs->count(), 0);
    QVERIFY(!m_form->lbLayers->isEnabled());
    QVERIFY(!m_form->lbPLFs->isEnabled());
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_form->StatusPanelText(i).isEmpty());
}

void tst_TMainForm::rulesOfEmptyMine()
{
    m_form->actNew->trigger();
    m_form->UpdateActions();
    QCOMPARE(m_form->DocumentCount(), 1);
    const QStringList enabled = enabledNames(*m_form);
    for (const char *name : {"actAddUzel", "actAddBranch", "actSaveAs", "actClose", "actSaveAll",
                             "actEditView", "actCheckTopology", "actFind", "actViewJumpers",
                             "actSortUzelsNum", "actSortR", "actClearAccountResults", "actCascade"})
        QVERIFY2(enabled.contains(name), name);
    for (const char *name : {"actDelUzel", "actSurfUzel", "actTransform", "actDelBranch", "actMakeR",
                             "actMakeAllR", "actAddjumper", "actDelJumper", "actSave", "actUseColor",
                             "actNormalCalc", "actNormalResults", "actPathCalc", "actPathResults",
                             "actNormalCalc2", "actNormalResults2", "actPathCalc2", "actPathResults2"})
        QVERIFY2(!enabled.contains(name), name);
    QVERIFY(m_form->lbLayers->isEnabled());
    // Only "<не определен>" and "<редактировать...>".
    QCOMPARE(m_form->cbLayers->count(), 2);
}

void tst_TMainForm::rulesOfLoadedMine()
{
    AppTestHooks hooks;
    m_form->OpenDocumentFile(mine("a.mdf"));
    m_form->UpdateActions();
    QVERIFY(hooks.errors().isEmpty());
    QVERIFY(m_form->actDelUzel->isEnabled());
    QVERIFY(m_form->actSurfUzel->isEnabled());
    QVERIFY(m_form->actDelBranch->isEnabled());
    QVERIFY(m_form->actAddjumper->isEnabled());
    QVERIFY(m_form->actDelJumper->isEnabled()); // branch 10, current, has a stopping
    QVERIFY(!m_form->actSave->isEnabled());
    QVERIFY(!m_form->actNormalCalc->isEnabled());

    // The surface command flips the flag and its tick follows.
    QVERIFY(!m_form->actSurfUzel->isChecked());
    m_form->actSurfUzel->trigger();
    m_form->UpdateActions();
    TChildForm *child = m_form->ActiveChild();
    QVERIFY(child->CurrentUzel()->Surface());
    QVERIFY(m_form->actSurfUzel->isChecked());
    QVERIFY(m_form->actSave->isEnabled()); // the change marked the mine modified

    // The stopping commands work on the current branch through the stopping panel.
    TBranch *branch = child->CurrentBranch();
    QCOMPARE(branch->Number(), 10);
    QCOMPARE(branch->Jumpers().Count(), 1);
    m_form->actAddjumper->trigger();
    QCOMPARE(branch->Jumpers().Count(), 2);
    hooks.answers.enqueue(QMessageBox::Yes);
    m_form->actDelJumper->trigger();
    QCOMPARE(branch->Jumpers().Count(), 1);

    // Rules follow by themselves once the event loop is idle.
    child->Mine()->SetModified(false);
    idle();
    QVERIFY(!m_form->actSave->isEnabled());
    child->Mine()->SetModified(true);
    idle();
    QVERIFY(m_form->actSave->isEnabled());
}

void tst_TMainForm::viewCommandsKeepOneTable()
{
    m_form->actNew->trigger();
    m_form->UpdateActions();
    TChildForm *child = m_form->ActiveChild();
    QVERIFY(m_form->actViewUzels->isChecked());
    m_form->actViewUzels->trigger();
    m_form->UpdateActions();
    QVERIFY(!child->IsUzelTableVisible());
    QVERIFY(!m_form->actViewBranches->isEnabled());
    QVERIFY(!m_form->actViewUzels->isChecked());
    m_form->actViewUzels->trigger();
    m_form->actViewBranches->trigger();
    m_form->UpdateActions();
    QVERIFY(child->IsUzelTableVisible());
    QVERIFY(!child->IsBranchTableVisible());
    QVERIFY(!m_form->actViewUzels->isEnabled());

    QVERIFY(!child->IsMessagePanelVisible());
    m_form->actViewMessage->trigger();
    QVERIFY(child->IsMessagePanelVisible());
    m_form->actViewMessage->trigger(); // it never hides the panel
    QVERIFY(child->IsMessagePanelVisible());

    const bool jumpers = child->IsJumperPanelVisible();
    m_form->actViewJumpers->trigger();
    QCOMPARE(child->IsJumperPanelVisible(), !jumpers);
}

void tst_TMainForm::ctrlShiftLSortsByEndNode()
{
    AppTestHooks hooks;
    m_form->OpenDocumentFile(mine("sort.mdf"));
    m_form->UpdateActions();
    TMine *m = m_form->ActiveChild()->Mine();
    QCOMPARE(m->Branches().Items(1)->Number(), 10); // ends 2, then 1
    QSignalSpy colour(m_form->actUseColor, &QAction::triggered);
    m_form->activateWindow();
    QTest::keyClick(m_form.get(), Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m->Branches().Items(1)->Number(), 20);
    QCOMPARE(colour.count(), 0);
    QVERIFY(hooks.errors().isEmpty());
}

void tst_TMainForm::commandLine_data()
{
    // Names are files of the test's folder, but for the switches and "--"; "refused" is the
    // one box about the files not opened ("" when there is none).
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QString>("refused");
    QTest::newRow("two mdf and a txt") << QStringList{"A.mdf", "notes.txt", "B.MDF"} << QStringList{"A.mdf", "B.MDF"}
                                       << "Эти файлы не открыты:\n$/notes.txt — не файл шахты";
    QTest::newRow("a mine under another name") << QStringList{"шахта-копия", "A.mdf"} << QStringList{"шахта-копия", "A.mdf"} << "";
    QTest::newRow("missing, folder, empty file") << QStringList{"missing.txt", "folder", "empty", "A.mdf"} << QStringList{"A.mdf"}
                                                 << "Эти файлы не открыты:\n$/missing.txt — файл не найден\n"
                                                    "$/folder — это папка\n$/empty — не файл шахты";
    // A pipe is refused without waiting for a writer.
    QTest::newRow("a pipe") << QStringList{"pipe", "A.mdf"} << QStringList{"A.mdf"}
                            << "Эти файлы не открыты:\n$/pipe — не обычный файл";
    QTest::newRow("/DDE") << QStringList{"/DDE", "A.mdf", "B.MDF"} << QStringList{} << "";
    QTest::newRow("-dde after the paths") << QStringList{"A.mdf", "-dde"} << QStringList{} << "";
    QTest::newRow("-dde after -- is a file") << QStringList{"A.mdf", "--", "-dde"} << QStringList{"A.mdf"}
                                             << "Эти файлы не открыты:\n$/-dde — файл не найден";
    QTest::newRow("same path twice") << QStringList{"A.mdf", "A.mdf"} << QStringList{"A.mdf"} << "";
}

void tst_TMainForm::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, opened);
    QFETCH(QString, refused);
    AppTestHooks hooks;
    mine("A.mdf");
    mine("B.MDF");
    QVERIFY(QFile::copy(m_dir->filePath("A.mdf"), m_dir->filePath("шахта-копия")));
    for (const char *name : {"notes.txt", "empty"}) {
        QFile f(m_dir->filePath(QString::fromUtf8(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (f.fileName().endsWith(QLatin1String(".txt")))
            f.write("Tarvelia: almost the signature");
    }
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir->filePath("pipe")).constData(), 0600), 0);
    QStringList args;
    bool options = true;
    for (const QString &a : arguments) {
        const bool option = options && (a.startsWith(u'-') || a.startsWith(u'/'));
        if (a == QLatin1String("--"))
            options = false;
        args << (option ? a : m_dir->filePath(a));
    }

    TMainForm form;
    form.SetCommandLine(args);
    form.show();
    settle();
    QStringList names;
    for (TChildForm *child : form.Children())
        names << QFileInfo(child->FileName()).fileName();
    QCOMPARE(names, opened);
    QCOMPARE(form.DocumentCount(), opened.size());
    QVERIFY(hooks.errors().isEmpty());
    QCOMPARE(hooks.texts().join(u'|'), QString(refused).replace(u'$', m_dir->path()));
}

void tst_TMainForm::commandLineStopsAtFailingDocument()
{
    AppTestHooks hooks;
    const QString good = mine("good.mdf");
    QFile bad(m_dir->filePath("bad.mdf"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a mine at all");
    bad.close();
    TMainForm form;
    // While the error is on screen the failed document is gone already.
    int countAtError = -1;
    QString panelAtError = QStringLiteral("?");
    hooks.onBox = [&](const AppDialogs::MessageRequest &) {
        countAtError = form.DocumentCount();
        panelAtError = form.StatusPanelText(0);
    };
    form.SetCommandLine({bad.fileName(), good});
    form.show();
    settle();
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(countAtError, 0);
    QCOMPARE(panelAtError, QString());
    QVERIFY(!hooks.errors().first().text.isEmpty());
    QCOMPARE(form.Children().size(), 0); // the failed window closed, the next path never opened
    QCOMPARE(form.DocumentCount(), 0);
    // The program goes on: a later request works.
    form.OpenDocumentFile(good);
    QCOMPARE(form.Children().size(), 1);
}

void tst_TMainForm::openDialogChoice()
{
    AppTestHooks hooks;
    const QString a = mine("a.mdf");
    const QString b = mine("b.mdf");
    hooks.files.enqueue({a, b});
    m_form->actOpen->trigger();
    QCOMPARE(hooks.fileDialogs.size(), 1);
    QCOMPARE(hooks.fileDialogs.first().title, QStringLiteral("Открытие файл"));
    QVERIFY(hooks.fileDialogs.first().multiple);
    QCOMPARE(QDir(hooks.fileDialogs.first().directory), QDir(Config->DataDir));
    QCOMPARE(m_form->Children().size(), 2);
    QCOMPARE(m_form->ActiveChild()->FileName(), b);
    // Cancelled: nothing.
    m_form->actOpen->trigger();
    QCOMPARE(m_form->Children().size(), 2);
}

void tst_TMainForm::alreadyOpenBroughtToFront()
{
    AppTestHooks hooks;
    const QString a = mine("a.mdf");
    const QString b = mine("b.mdf");
    m_form->OpenDocumentFile(a);
    TChildForm *first = m_form->ActiveChild();
    m_form->OpenDocumentFile(b);
    QVERIFY(m_form->ActiveChild() != first);
    QVERIFY(m_form->FindOpenDocument(a));
    QCOMPARE(m_form->ActiveChild(), first);
    m_form->OpenDocumentFile(b);
    QCOMPARE(m_form->Children().size(), 2);

    // An untitled window whose proposed name is the path does not count.
    TChildForm *untitled = m_form->CreateChild();
    const QString proposed = untitled->FileName();
    QVERIFY(!m_form->FindOpenDocument(proposed));
    // Letter case matters.
    QVERIFY(!m_form->FindOpenDocument(a.toUpper()));
}

void tst_TMainForm::thirdWindowTitle()
{
    AppTestHooks hooks;
    const int before = TChildForm::CreatedCount();
    m_form->OpenDocumentFile(mine("one.mdf"));
    m_form->OpenDocumentFile(mine("two.mdf"));
    TChildForm *third = m_form->CreateChild();
    const int n = before + 3;
    QCOMPARE(third->Mine()->Title(), QStringLiteral("Шахта без названия %1").arg(n));
    QCOMPARE(third->FileName(), Config->DataDir + QStringLiteral("Новый %1.mdf").arg(n));
    QCOMPARE(third->windowTitle(), QStringLiteral("Новый %1.mdf").arg(n));
    QVERIFY(!third->HasFile());
    QVERIFY(!third->Mine()->Modified());
}

void tst_TMainForm::ddeMacroOpensPathsAsGiven()
{
    AppTestHooks hooks;
    QVERIFY(QDir(m_dir->path()).mkdir("Шахты"));
    // Two files whose names differ only in letter case: each request opens the one it names.
    const QString upper = mine("Шахты/Mine.mdf", QStringLiteral("Большая"));
    const QString lower = mine("Шахты/mine.mdf", QStringLiteral("малая"));
    const QString b = mine("Шахты/b.mdf");
    m_form->ExecuteDdeMacro(QStringLiteral("[OPEN(\"%1\")][open(%2)][close(\"x\")]").arg(upper, b));
    QVERIFY(hooks.errors().isEmpty());
    QCOMPARE(m_form->Children().size(), 2);
    QCOMPARE(m_form->Children().at(0)->FileName(), upper);
    QCOMPARE(m_form->Children().at(0)->Mine()->Title(), QStringLiteral("Большая"));
    m_form->ExecuteDdeMacro(QStringLiteral("[open(\"%1\")]").arg(lower));
    QCOMPARE(m_form->Children().size(), 3);
    QCOMPARE(m_form->ActiveChild()->Mine()->Title(), QStringLiteral("малая"));

    m_form->ExecuteDdeMacro(QStringLiteral("[]"));
    QCOMPARE(m_form->Children().size(), 3);

    // A failing "open" ends the request.
    const QString c = mine("c.mdf");
    m_form->ExecuteDdeMacro(QStringLiteral("[open(\"%1\")][open(\"%2\")]").arg(m_dir->filePath("missing.mdf"), c));
    QCOMPARE(hooks.errors().size(), 1);
    QCOMPARE(m_form->Children().size(), 3);
}

void tst_TMainForm::secondInstanceHandsOver()
{
    AppTestHooks hooks;
    const QString path = mine("handed.mdf");
    TSingleInstance first(QStringLiteral("tarvel-test-%1").arg(QUuid::createUuid().toString(QUuid::Id128)));
    QVERIFY(first.Listen());
    connect(&first, &TSingleInstance::ExecuteRequested, m_form.get(), &TMainForm::ExecuteDdeMacro);
    // What a later start sends for its command line.
    QVERIFY(SendFromThread(first.ServerName(), BuildDdeOpenMacro(TMainForm::CommandLineDocuments({path}))));
    QTRY_COMPARE(m_form->Children().size(), 1);
    QCOMPARE(m_form->ActiveChild()->FileName(), path);
}

void tst_TMainForm::droppedFiles()
{
    AppTestHooks hooks;
    const QString a = mine("drop.mdf");
    QFile text(m_dir->filePath("x.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.close();
    m_form->OpenDroppedFiles({QString(), text.fileName(), a});
    QCOMPARE(m_form->Children().size(), 1);
    QCOMPARE(hooks.texts(), QStringList{QStringLiteral("Эти файлы не открыты:\n") + text.fileName() + QStringLiteral(" — не файл шахты")});
    hooks.boxes.clear();

    // Through the window: a drop of a document, a text file and a failing document; the drop
    // is taken at once, the documents open after it, the failing one ends the rest.
    const QString b = mine("Второй.MDF");
    QFile bad(m_dir->filePath("bad.mdf"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("MINE?");
    bad.close();
    const QString c = mine("third.mdf");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(m_dir->filePath("x.txt")),
                  QUrl::fromLocalFile(bad.fileName()), QUrl::fromLocalFile(c)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_form.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_form.get(), &drop);
    QVERIFY(drop.isAccepted());
    settle();
    QCOMPARE(m_form->Children().size(), 2);
    QCOMPARE(m_form->Children().last()->FileName(), b);
    QCOMPARE(hooks.errors().size(), 1);
    // The text file is named after the error that ended the drop.
    QCOMPARE(hooks.boxes.size(), 2);
    QVERIFY(hooks.boxes.last().text.endsWith(QStringLiteral("x.txt — не файл шахты")));
}

void tst_TMainForm::mineUnderAnotherNameSavesUnderIt()
{
    AppTestHooks hooks;
    const QString copy = m_dir->filePath("шахта.dat");
    QVERIFY(QFile::copy(mine("original.mdf"), copy));
    m_form->ExecuteDdeMacro(BuildDdeOpenMacro({copy}));
    QCOMPARE(m_form->Children().size(), 1);
    TChildForm *child = m_form->ActiveChild();
    QCOMPARE(child->FileName(), copy);
    child->Mine()->SetTitle(QStringLiteral("Южная"));
    QVERIFY(child->SaveToFile());
    QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("шахта*")}), QStringList{QStringLiteral("шахта.dat")});
    TMineDocument saved;
    TMineFile::Load(saved, copy);
    QCOMPARE(saved.Mine()->Title(), QStringLiteral("Южная"));
    QVERIFY(hooks.boxes.isEmpty());
}

void tst_TMainForm::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveChosen");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::newRow("yes, save cancelled") << int(QMessageBox::Yes) << false << false << true;
    QTest::newRow("yes, saved") << int(QMessageBox::Yes) << true << true << false;
    QTest::newRow("no") << int(QMessageBox::No) << false << true << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false << true;
}

void tst_TMainForm::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, saveChosen);
    QFETCH(bool, closes);
    QFETCH(bool, modifiedAfter);
    AppTestHooks hooks;
    TChildForm *child = m_form->CreateChild();
    child->Mine()->AddUzel(5, 1, 2, 3);
    child->Mine()->SetModified(true);
    hooks.answers.enqueue(QMessageBox::StandardButton(answer));
    const QString target = m_dir->filePath("saved.mdf");
    if (saveChosen)
        hooks.files.enqueue({target});
    const QString name = QFileInfo(child->FileName()).fileName();
    QPointer<TChildForm> guard(child);
    m_form->actClose->trigger();
    settle();
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.first().caption, QStringLiteral("Сохранение"));
    QCOMPARE(hooks.boxes.first().text, QStringLiteral("Сохранить изменения в файле %1 ?").arg(name));
    QCOMPARE(hooks.boxes.first().buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(guard.isNull(), closes);
    QCOMPARE(m_form->DocumentCount(), closes ? 0 : 1);
    if (!closes)
        QCOMPARE(child->Mine()->Modified(), modifiedAfter);
    if (answer == QMessageBox::Yes) {
        QCOMPARE(hooks.fileDialogs.size(), 1);
        QCOMPARE(hooks.fileDialogs.first().title, QStringLiteral("Сохранение файла"));
        QVERIFY(hooks.fileDialogs.first().save);
    }
    QCOMPARE(QFile::exists(target), saveChosen);
}

void tst_TMainForm::closingProgramAsksEveryDocument()
{
    AppTestHooks hooks;
    TChildForm *a = m_form->CreateChild();
    TChildForm *b = m_form->CreateChild();
    a->Mine()->SetModified(true);
    b->Mine()->SetModified(true);
    // The second refuses: the program stays, with both documents.
    hooks.answers.enqueue(QMessageBox::No);
    hooks.answers.enqueue(QMessageBox::Cancel);
    QVERIFY(!m_form->close());
    settle();
    QCOMPARE(hooks.boxes.size(), 2);
    QCOMPARE(m_form->Children().size(), 2);
    QVERIFY(m_form->isVisible());
    // Now both agree; each is asked once.
    hooks.boxes.clear();
    b->Mine()->SetModified(true);
    hooks.answers.enqueue(QMessageBox::No);
    QVERIFY(m_form->close());
    QCOMPARE(hooks.boxes.size(), 1);
}

void tst_TMainForm::failedSaveReportedAndKeepsChanges()
{
    AppTestHooks hooks;
    const QString path = mine("keep.mdf");
    m_form->OpenDocumentFile(path);
    TChildForm *child = m_form->ActiveChild();
    child->Mine()->Uzels().Items(1)->SetSurface(true);
    // The folder of the document disappears: the save fails, is shown, and nothing is lost.
    child->Document().SetFileName(m_dir->filePath("gone/keep.mdf"));
    m_form->UpdateActions();
    m_form->actSave->trigger();
    QCOMPARE(hooks.errors().size(), 1);
    QVERIFY(child->Mine()->Modified());
    QCOMPARE(m_form->Children().size(), 1);
}

void tst_TMainForm::clearResultsSideFiles_data()
{
    QTest::addColumn<bool>("wholeMine");
    QTest::addColumn<bool>("route");
    QTest::newRow("whole mine") << true << false;
    QTest::newRow("route") << false << true;
    QTest::newRow("both") << true << true;
}

void tst_TMainForm::clearResultsSideFiles()
{
    QFETCH(bool, wholeMine);
    QFETCH(bool, route);
    AppTestHooks hooks;
    const QString path = mine("res.mdf");
    const QString r = m_dir->filePath("res.r");
    const QString r2 = m_dir->filePath("res.r2");
    for (const QString &side : {r, r2}) {
        QFile f(side);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("results");
    }
    m_form->OpenDocumentFile(path);
    TChildForm *child = m_form->ActiveChild();
    child->Document().SetCalculated(true);
    TBranch *b = child->Mine()->Branches().Items(1);
    b->SetNormalResult(7);
    b->SetRouteResult(8);
    b->SetNormalMark(1);
    b->SetRouteMark(1);
    b->SetZone(3, true);
    child->Mine()->SetModified(false);
    child->ClearResults(false, wholeMine, true, route);
    QVERIFY(hooks.boxes.isEmpty());
    QVERIFY(!child->Calculated());
    QCOMPARE(b->NormalResult(), wholeMine ? -1 : 7);
    QCOMPARE(b->RouteResult(), route ? -1 : 8);
    QVERIFY(!b->Zone(3));
    QCOMPARE(QFile::exists(r), !wholeMine);
    QCOMPARE(QFile::exists(r2), !route);
    QVERIFY(!child->Mine()->Modified()); // saved
}

void tst_TMainForm::clearResultsOfUnsavedDocument()
{
    AppTestHooks hooks;
    TChildForm *child = m_form->CreateChild();
    const QString proposed = child->FileName();
    const QString side = proposed.left(proposed.lastIndexOf(u'.')) + QStringLiteral(".r");
    child->Document().SetCalculated(true);
    // The command asks first; No leaves everything.
    hooks.answers.enqueue(QMessageBox::No);
    m_form->actClearAccountResults->trigger();
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.first().caption, QStringLiteral("Тарвел"));
    QVERIFY(hooks.boxes.first().text.startsWith(QStringLiteral("Отменить удаление результатов будет невозможно.")));
    QVERIFY(child->Calculated());
    hooks.answers.enqueue(QMessageBox::Yes);
    m_form->actClearAccountResults->trigger();
    QVERIFY(!child->Calculated());
    QVERIFY(hooks.fileDialogs.isEmpty()); // never saved: no file written, none asked for
    QVERIFY(!QFile::exists(proposed));
    QVERIFY(!QFile::exists(side));
}

void tst_TMainForm::confirmEdit()
{
    AppTestHooks hooks;
    m_form->OpenDocumentFile(mine("calc.mdf"));
    TChildForm *child = m_form->ActiveChild();
    QVERIFY(child->ConfirmEdit()); // no results: no question
    QVERIFY(hooks.boxes.isEmpty());
    child->Document().SetCalculated(true);
    bool nested = true;
    hooks.onBox = [&](const AppDialogs::MessageRequest &) { nested = child->ConfirmEdit(); };
    hooks.answers.enqueue(QMessageBox::No);
    QVERIFY(!child->ConfirmEdit());
    QVERIFY(!nested); // asked while the question is up: refused at once
    QCOMPARE(hooks.boxes.size(), 1);
    QCOMPARE(hooks.boxes.first().helpTopic, 33);
    QVERIFY(hooks.boxes.first().text.startsWith(QStringLiteral("Внимание !")));
    QVERIFY(child->Calculated());
    hooks.answers.enqueue(QMessageBox::Yes);
    QVERIFY(child->ConfirmEdit());
    QVERIFY(!child->Calculated());
}

void tst_TMainForm::recentFiles()
{
    AppTestHooks hooks;
    const QString a = mine("r1.mdf");
    const QString b = mine("r2.mdf");
    m_form->OpenDocumentFile(a);
    m_form->OpenDocumentFile(b);
    QCOMPARE(Config->LastFiles, (QStringList{b, a}));
    QMenu *menu = m_form->RecentFilesMenu();
    QVERIFY(menu->menuAction()->isVisible());
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("&1 %1").arg(b));
    QCOMPARE(m_form->RecentFilesPopup()->actions().size(), 2);

    // Saving under a new name puts that name on top.
    const QString c = m_dir->filePath("r3.mdf");
    hooks.files.enqueue({c});
    m_form->actSaveAs->trigger();
    QCOMPARE(Config->LastFiles.first(), c);
    QCOMPARE(m_form->ActiveChild()->windowTitle(), QStringLiteral("r3.mdf"));

    // A click on the third item opens the third path.
    for (TChildForm *child : m_form->Children())
        child->parentWidget()->close();
    settle();
    QCOMPARE(m_form->DocumentCount(), 0);
    m_form->RecentFilesMenu()->actions().at(2)->trigger();
    QCOMPARE(m_form->Children().size(), 1);
    QCOMPARE(m_form->ActiveChild()->FileName(), Config->LastFiles.first());
    QCOMPARE(Config->LastFiles.first(), a);
    m_form->RecentFileClick(1);
    QCOMPARE(m_form->ActiveChild()->FileName(), c);
}

void tst_TMainForm::statusBar()
{
    AppTestHooks hooks;
    m_form->OpenDocumentFile(mine("st.mdf", QStringLiteral("Шахта «Южная»")));
    QCOMPARE(m_form->StatusPanelText(0), QStringLiteral("Шахта: \"Шахта «Южная»\""));
    QCOMPARE(m_form->StatusPanelText(1), QStringLiteral("Узлы: 3"));
    QCOMPARE(m_form->StatusPanelText(2), QStringLiteral("Ветви: 2"));
    QCOMPARE(m_form->StatusPanelText(3), QString());
    QCOMPARE(m_form->StatusPanel(4)->width(), 50);
    TChildForm *child = m_form->ActiveChild();
    child->Mine()->Branches().Items(1)->SetComment(QStringLiteral("новый"));
    QCOMPARE(m_form->StatusPanelText(3), QStringLiteral("Изменен"));

    m_form->ShowStatusText(QStringLiteral("Проверка топологии..."));
    QVERIFY(m_form->IsStatusTextShown());
    m_form->ClearStatusText();
    QVERIFY(!m_form->IsStatusTextShown());

    // Rows come and go without marking the document modified: the counts follow regardless.
    child->Mine()->SetModified(false);
    child->Mine()->AddUzel(7, 1, 1, 1);
    QCOMPARE(m_form->StatusPanelText(1), QStringLiteral("Узлы: 4"));
    child->Mine()->Uzels().Delete(3);
    QCOMPARE(m_form->StatusPanelText(1), QStringLiteral("Узлы: 3"));
    child->parentWidget()->close();
    settle();
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_form->StatusPanelText(i).isEmpty());

    // A new document: the first edit of the branch table creates branch 1.
    m_form->actNew->trigger();
    settle();
    TChildForm *fresh = m_form->ActiveChild();
    QVERIFY(fresh->Tables->BeginEdit(fresh->Tables->BranchGrid, 0, 0));
    QCOMPARE(m_form->StatusPanelText(2), QStringLiteral("Ветви: 1"));
}

void tst_TMainForm::statusPanelsFitTexts_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<bool>("whole");
    QTest::newRow("name") << 0 << QStringLiteral("Шахта: \"Северная\"") << 170 << true;
    QTest::newRow("longer name") << 0 << QStringLiteral("Шахта: \"им. Засядько, участок №3\"") << 170 << true;
    QTest::newRow("name beyond the limit") << 0 << QStringLiteral("Шахта: \"%1\"").arg(QString(300, u'Ш'))
                                           << TMainForm::MaxNamePanelWidth << false;
    QTest::newRow("markup beyond the limit")
        << 0 << QStringLiteral("Шахта: \"<h1 style=\"color:red\">%1</h1>\"").arg(QString(300, u'Ш'))
        << TMainForm::MaxNamePanelWidth << false;
    QTest::newRow("nodes") << 1 << QStringLiteral("Узлы: 100000") << 74 << true;
    QTest::newRow("branches") << 2 << QStringLiteral("Ветви: 100000") << 77 << true;
    QTest::newRow("few branches") << 2 << QStringLiteral("Ветви: 3") << 77 << true;
    QTest::newRow("modified") << 3 << QStringLiteral("Изменен") << 56 << true;
    QTest::newRow("not modified") << 3 << QString() << 56 << true;
}

void tst_TMainForm::statusPanelsFitTexts()
{
    QFETCH(int, panel);
    QFETCH(QString, text);
    QFETCH(int, minimum);
    QFETCH(bool, whole);
    // A wide font, as on systems whose default font is broader than the one the widths suit.
    QFont font = m_form->statusBar()->font();
    font.setPointSize(11);
    m_form->statusBar()->setFont(font);
    QLabel *label = m_form->StatusPanel(panel);
    m_form->SetStatusPanelText(panel, QStringLiteral("Ветви: 1234567890 Ветви: 1234567890"));
    m_form->SetStatusPanelText(panel, text);
    QCOMPARE(m_form->StatusPanelText(panel), text);
    QVERIFY(label->width() >= minimum);
    QCOMPARE(label->text() == text, whole);
    if (whole) {
        QVERIFY(label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width());
        QVERIFY(label->toolTip().isEmpty());
    } else {
        QCOMPARE(label->width(), minimum);
        QTextDocument tip;   // the tool tip shows the whole text as it is
        tip.setHtml(label->toolTip());
        QCOMPARE(tip.toPlainText(), text);
    }
    if (panel == 3) // the mark's panel holds its text also while empty
        QVERIFY(label->fontMetrics().horizontalAdvance(QStringLiteral("Изменен")) <= label->contentsRect().width());
}

// A title of millions of characters with line breaks: one line at once, the stored title kept.
void tst_TMainForm::hugeTitleInOneLine()
{
    const QString title = QStringLiteral("Шахта\r\n<b>") + QString(50'000'000, u'Ш');
    QElapsedTimer clock;
    clock.start();
    m_form->SetStatusPanelText(0, QStringLiteral("Шахта: \"%1\"").arg(title));
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QLabel *label = m_form->StatusPanel(0);
    QVERIFY(label->text().startsWith(QStringLiteral("Шахта: \"Шахта  <b>ШШ")));
    QVERIFY(label->toolTip().size() < 5000);
    QCOMPARE(m_form->StatusPanelText(0).size(), title.size() + 9);
}

void tst_TMainForm::groupBoxes()
{
    AppTestHooks hooks;
    m_form->OpenDocumentFile(mine("groups.mdf"));
    TGroupCombo *box = m_form->cbLayers;
    QCOMPARE(box->count(), 4);
    QCOMPARE(box->itemText(0), QStringLiteral("<не определен>"));
    QCOMPARE(box->itemText(1), QStringLiteral("Пласт К2"));
    QCOMPARE(box->itemData(1, TGroupCombo::ColorRole).value<QColor>(), QColor(255, 0, 0));
    QCOMPARE(box->itemText(3), QStringLiteral("<редактировать...>"));
    QCOMPARE(m_form->cbPLFs->count(), 3);
    // The current branch (10) sits in the first seam.
    QCOMPARE(box->currentIndex(), 1);
    QCOMPARE(m_form->cbPLFs->currentIndex(), 0);

    TBranch *b = m_form->ActiveChild()->CurrentBranch();
    box->setCurrentIndex(0);
    emit box->activated(0);
    QCOMPARE(b->LayerIndex(), -1);
    QVERIFY(m_form->ActiveChild()->Mine()->Modified());
    emit m_form->cbPLFs->activated(1);
    QCOMPARE(b->PLFIndex(), 0);
    // The editing item opens the seams editor; closed at once, it leaves the branch alone and
    // the box shows the branch's seam again.
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget *editor = QApplication::activeModalWidget()) {
            opened = editor->windowTitle();
            editor->close();
        }
    });
    box->setCurrentIndex(3);
    emit box->activated(3);
    QCOMPARE(opened, QStringLiteral("Пласты и позиции ПЛА"));
    QCOMPARE(b->LayerIndex(), -1);
    QCOMPARE(box->currentIndex(), 0);
}

void tst_TMainForm::windowMenuListsDocuments()
{
    AppTestHooks hooks;
    m_form->OpenDocumentFile(mine("w1.mdf"));
    m_form->OpenDocumentFile(mine("w2.mdf"));
    QMenu *menu = m_form->WindowMenu();
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    QCOMPARE(texts.mid(0, 5), (QStringList{"Расположить &каскадом", "Выровнить &горизонтально",
                                           "Выровнить &вертикально", "Упорядочить &значки",
                                           "&Минимизировать все"}));
    QCOMPARE(texts.mid(5), (QStringList{"&1 w1.mdf", "&2 w2.mdf"}));
    // Choosing the first brings it to the front.
    menu->actions().at(6)->trigger();
    QCOMPARE(m_form->ActiveChild()->FileName(), m_dir->filePath("w1.mdf"));
    m_form->actMinimizeAll->trigger();
    for (QMdiSubWindow *w : m_form->Workspace()->subWindowList())
        QVERIFY(w->isMinimized());
}

void tst_TMainForm::tilingMakesOneRowOrColumn()
{
    AppTestHooks hooks;
    m_form->OpenDocumentFile(mine("t1.mdf"));
    m_form->OpenDocumentFile(mine("t2.mdf"));
    m_form->OpenDocumentFile(mine("t3.mdf"));
    const QRect area = m_form->Workspace()->viewport()->rect();
    const QList<QMdiSubWindow *> windows = m_form->Workspace()->subWindowList(QMdiArea::CreationOrder);
    QCOMPARE(windows.size(), 3);
    windows.at(1)->showMinimized();

    // A minimised window keeps its place; the two others share the workspace.
    m_form->actTileHor->trigger();
    QCOMPARE(windows.at(0)->geometry(), QRect(0, 0, area.width(), area.height() / 2));
    QCOMPARE(windows.at(2)->geometry(), QRect(0, area.height() / 2, area.width(), area.height() / 2));
    QVERIFY(windows.at(1)->isMinimized());

    m_form->actTileVert->trigger();
    QCOMPARE(windows.at(0)->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    QCOMPARE(windows.at(2)->geometry(), QRect(area.width() / 2, 0, area.width() / 2, area.height()));
}

void tst_TMainForm::newWindowsCascadeInsideWorkspace()
{
    AppTestHooks hooks;
    m_form->resize(1000, 700);
    settle();
    // Opened one after another, from the recent list among others: each lies wholly inside
    // the workspace, one step further than the one before, and no scroll bar appears.
    const QString path = mine("r.mdf");
    Config->AddLastFile(path);
    for (int i = 0; i < 6; ++i) {
        if (i == 1)
            m_form->RecentFileClick(0);
        else
            m_form->actNew->trigger();
        settle();
    }
    const QList<QMdiSubWindow *> windows = m_form->Workspace()->subWindowList(QMdiArea::CreationOrder);
    QCOMPARE(windows.size(), 6);
    const QRect area = m_form->Workspace()->viewport()->rect();
    for (int i = 0; i < windows.size(); ++i) {
        QVERIFY2(area.contains(windows.at(i)->geometry()), qPrintable(QString::number(i)));
        QCOMPARE(windows.at(i)->geometry(), TMainForm::CascadeSlot(area.size(), i,
                 windows.at(i)->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.at(i))));
    }
    QVERIFY(windows.at(1)->geometry().topLeft() != windows.at(0)->geometry().topLeft());
    QVERIFY(!m_form->Workspace()->horizontalScrollBar()->isVisible());
    QVERIFY(!m_form->Workspace()->verticalScrollBar()->isVisible());

    // The cascade rule itself: steps while they fit, then from the top left again; a
    // workspace smaller than a window is filled.
    QCOMPARE(TMainForm::CascadeSlot(QSize(1000, 700), 0, 20), QRect(0, 0, 900, 630));
    QCOMPARE(TMainForm::CascadeSlot(QSize(1000, 700), 3, 20), QRect(60, 60, 900, 630));
    QCOMPARE(TMainForm::CascadeSlot(QSize(1000, 700), 4, 20), QRect(0, 0, 900, 630));
    QCOMPARE(TMainForm::CascadeSlot(QSize(300, 200), 2, 20), QRect(0, 0, 300, 200));
}

void tst_TMainForm::aboutBox()
{
    const QString version = TAboutBox::VersionText();
    QCOMPARE(version, QStringLiteral("Версия %1.%2 (Сборка %1.%2.%3.%4)")
                          .arg(TARVEL_VERSION_MAJOR).arg(TARVEL_VERSION_MINOR)
                          .arg(TARVEL_VERSION_PATCH).arg(TARVEL_VERSION_TWEAK));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space}) {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::keyClick(&box, key);
        QVERIFY2(box.isHidden(), qPrintable(QKeySequence(key).toString()));
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }
    TAboutBox box;
    box.show();
    auto *logo = box.findChild<QLabel *>(QStringLiteral("imgLogo"));
    QVERIFY(logo);
    QTest::mouseClick(logo, Qt::LeftButton);
    QVERIFY(box.isHidden());
}

QTEST_MAIN(tst_TMainForm)
#include "tst_TMainForm.moc"
