// Edits survive a crash: an editor killed with unsaved changes leaves a copy that the next start
// offers and restores exactly (the tool's dumps of both documents agree); the copy follows the
// document (written once the interval has passed, gone when saved or closed without saving, none
// with the setting at 0); the answers Нет and Отложить; the question's buttons.
//
// The killed editor is this test program run again (TST_RECOVERY_EDITOR names the document),
// which opens the document in a main window, edits it and waits to be killed.
#include "AppTestHooks.h"
#include "Settle.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "app/TRecovery.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineFile.h"
#include "storage/TRecoveryStore.h"
#include "TestConfig.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

const QString kSample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");

// The edits the killed editor makes: a coordinate, a comment, a node added.
void Edit(TMine &mine)
{
    mine.Uzels().Items(1)->SetCoordinate(1, 1234.25f);
    mine.Branches().Items(2)->SetComment(QStringLiteral("после аварии"));
    mine.AddUzel(99999, 1.5f, 2.5f, -3.5f);
}

QByteArray Dump(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf"), {QStringLiteral("dump"), path});
    if (!tool.waitForFinished(120000) || tool.exitCode() != 0)
        return QByteArray("failed: ") + tool.readAllStandardError();
    return tool.readAllStandardOutput();
}

bool WaitFor(const std::function<bool()> &done, int ms = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QStringList Copies(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.mdf")}, QDir::Files);
}

// The editor that is killed: prints the copy's path once it is on disk, then waits.
int RunEditor(const QString &document)
{
    NewTestConfig();
    TRecovery::SetIntervalForTests(100);
    TMainForm form;
    TRecovery recovery(&form, TRecoveryStore::DefaultFolder());
    form.show();
    form.OpenDocumentFile(document);
    Edit(*form.Children().value(0)->Mine());
    const QString copy = recovery.Store()->CopyPath(1);
    if (!WaitFor([&] { return QFile::exists(copy) && !recovery.Store()->Busy(); }))
        return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

class tst_TRecovery : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_state.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state.path()));
        NewTestConfig();
    }
    void cleanupTestCase()
    {
        DropTestConfig();
    }
    void init()
    {
        TRecovery::SetIntervalForTests(50);
        Config->RecoveryMinutes = TConfig::DefaultRecoveryMinutes;
        QDir(TRecoveryStore::DefaultFolder()).removeRecursively();
    }
    void killedEditorRestoredExactly();
    void copyFollowsTheDocument();
    void answersNoAndLater();
    void questionButtons();

private:
    QTemporaryDir m_state;   // the user's state folder, for this test and the editor it starts
};

void tst_TRecovery::killedEditorRestoredExactly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mine.mdf"));
    QVERIFY(QFile::copy(kSample, path));
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TST_RECOVERY_EDITOR"), path);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    editor.setProcessEnvironment(env);
    editor.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(editor.waitForStarted());
    QVERIFY(WaitFor([&] { return editor.state() != QProcess::Running || editor.canReadLine(); }, 120000));
    QCOMPARE(editor.readLine(), QByteArray("ready\n"));
    editor.kill();   // SIGKILL: nothing of the editor runs after it
    QVERIFY(editor.waitForFinished());
    QCOMPARE(editor.exitStatus(), QProcess::CrashExit);

    // What the user had: the file and the same edits, saved.
    const QString expected = dir.filePath(QStringLiteral("expected.mdf"));
    {
        TMineDocument doc;
        TMineFile::Load(doc, path);
        Edit(*doc.Mine());
        TMineFile::Save(doc, expected);
    }

    AppTestHooks hooks;   // the question's default answer: Да
    TMainForm form;
    form.show();
    TRecovery recovery(&form, TRecoveryStore::DefaultFolder());
    recovery.OfferLeftovers();
    QCOMPARE(hooks.boxes.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^Восстановить документ «mine\\.mdf» от \\d\\d:\\d\\d\\?$"))
                 .match(hooks.boxes[0].text).hasMatch(), qPrintable(hooks.boxes[0].text));
    QCOMPARE(form.Children().size(), 1);
    TChildForm *child = form.Children().value(0);
    QCOMPARE(child->FileName(), path);
    QVERIFY(child->HasFile());
    QVERIFY(child->IsModified());
    QCOMPARE(child->windowTitle(), QStringLiteral("mine.mdf"));

    const QString restored = dir.filePath(QStringLiteral("restored.mdf"));
    hooks.files << QStringList{restored};
    QVERIFY(child->SaveAs());
    const QByteArray dump = Dump(restored);
    QVERIFY(dump.startsWith('{'));
    QCOMPARE(dump, Dump(expected));
    QVERIFY(dump != Dump(path));
    // Saved: the copy has gone, and the next start is offered nothing.
    recovery.Store()->Flush();
    QVERIFY(Copies(TRecoveryStore::DefaultFolder()).isEmpty());
    TRecovery next(&form, TRecoveryStore::DefaultFolder());
    next.OfferLeftovers();
    QCOMPARE(hooks.boxes.size(), 1);
}

void tst_TRecovery::copyFollowsTheDocument()
{
    AppTestHooks hooks;
    TMainForm form;
    form.show();
    TRecovery recovery(&form, TRecoveryStore::DefaultFolder());
    TRecoveryStore &store = *recovery.Store();
    form.OpenDocumentFile(kSample);
    TChildForm *child = form.Children().value(0);
    auto copied = [&] {
        recovery.CopyDue();
        store.Flush();
        return QFile::exists(store.CopyPath(1));
    };

    // Unchanged: no copy. Changed: a copy once the interval has passed, holding the change;
    // a change between two slices of the copy starts it again.
    QVERIFY(!WaitFor(copied, 300));
    TRecovery::SetSliceForTests(1);
    child->Mine()->Uzels().Items(1)->SetCoordinate(2, 77.0f);
    recovery.CopyDue();
    QThread::msleep(80);
    recovery.CopyDue();   // due: the copy begins, its slices come from the event loop
    child->Mine()->Uzels().Items(1)->SetCoordinate(3, 76.5f);
    QVERIFY(WaitFor(copied));
    TRecovery::SetSliceForTests(0);
    TMineDocument copy;
    TMineFile::Load(copy, store.CopyPath(1));
    QCOMPARE(TMdfWriter::Snapshot(copy), TMdfWriter::Snapshot(child->Document()));

    // Saved: gone at once. Changed and closed with "Нет": gone too.
    const QTemporaryDir dir;
    hooks.files << QStringList{dir.filePath(QStringLiteral("saved.mdf"))};
    QVERIFY(child->SaveAs());
    store.Flush();
    QVERIFY(!QFile::exists(store.CopyPath(1)));
    child->Mine()->Uzels().Items(1)->SetCoordinate(2, 78.0f);
    QVERIFY(WaitFor(copied));
    hooks.answers << QMessageBox::No;
    qobject_cast<QMdiSubWindow *>(child->parentWidget())->close();
    settle();
    QVERIFY(form.Children().isEmpty());
    store.Flush();
    QVERIFY(Copies(store.Folder()).isEmpty());

    // The setting at 0: no copies.
    TRecovery::SetIntervalForTests(0);
    Config->RecoveryMinutes = 0;
    form.OpenDocumentFile(kSample);
    child = form.Children().value(0);
    child->Mine()->Uzels().Items(1)->SetCoordinate(2, 79.0f);
    QTest::qWait(200);
    recovery.CopyDue();
    store.Flush();
    QVERIFY(Copies(store.Folder()).isEmpty());
    child->Mine()->SetModified(false);
}

void tst_TRecovery::answersNoAndLater()
{
    const QString folder = TRecoveryStore::DefaultFolder();
    QString untitled, titled;
    const QDateTime newer = QDateTime::currentDateTime().addSecs(-60);
    {
        // A run that ended with two documents unsaved, the newer one untitled.
        TRecoveryStore ended(folder);
        TMineDocument doc;
        TMineFile::Load(doc, kSample);
        TRecoveryInfo info;
        info.FileName = QStringLiteral("/data/Новый 4.mdf");
        info.Time = newer;
        ended.Write(1, TMdfWriter::Snapshot(doc), info);
        info.FileName = QStringLiteral("/data/b.mdf");
        info.HasFile = true;
        info.Time = QDateTime(QDate(2024, 3, 5), QTime(12, 41));
        ended.Write(2, TMdfWriter::Snapshot(doc), info);
        untitled = ended.CopyPath(1);
        titled = ended.CopyPath(2);
    }
    AppTestHooks hooks;
    TMainForm form;
    form.show();
    // Oldest first: Отложить, then Да for the untitled one.
    TRecovery start(&form, folder);
    hooks.answers << QMessageBox::Ignore << QMessageBox::Yes;
    start.OfferLeftovers();
    QCOMPARE(hooks.texts(), (QStringList{QStringLiteral("Восстановить документ «b.mdf» от 05.03.2024 12:41?"),
                                         TRecovery::QuestionText(QStringLiteral("/data/Новый 4.mdf"), newer)}));
    // Untitled under the name this run proposes (another window may carry the old one now).
    QCOMPARE(form.Children().size(), 1);
    TChildForm *child = form.Children().value(0);
    QVERIFY(!child->HasFile());
    QVERIFY(child->IsModified());
    QCOMPARE(QFileInfo(child->FileName()).fileName(), QStringLiteral("Новый %1.mdf").arg(TChildForm::CreatedCount()));
    QVERIFY(QFile::exists(titled));
    QVERIFY(!QFile::exists(untitled));   // now the copy of this run's window
    // The postponed one comes again at the next start (while this one runs on), once; Нет
    // removes it.
    TRecovery next(&form, folder);
    hooks.answers << QMessageBox::No;
    next.OfferLeftovers();
    QCOMPARE(hooks.boxes.size(), 3);
    QVERIFY(!QFile::exists(titled));
    next.OfferLeftovers();
    QCOMPARE(hooks.boxes.size(), 3);
    child->Mine()->SetModified(false);
}

// The question as the user sees it: the three answers and Help under their own captions, and
// Escape keeps the copy (Отложить).
void tst_TRecovery::questionButtons()
{
    QString copy;
    {
        TRecoveryStore ended(TRecoveryStore::DefaultFolder());
        TMineDocument doc;
        TRecoveryInfo info;
        info.FileName = QStringLiteral("/m/a.mdf");
        info.HasFile = true;
        info.Time = QDateTime::currentDateTime();
        ended.Write(1, TMdfWriter::Snapshot(doc), info);
        copy = ended.CopyPath(1);
    }
    TMainForm form;
    form.show();
    TRecovery start(&form, TRecoveryStore::DefaultFolder());
    QStringList captions;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton *b : box->buttons())
            captions << b->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    start.OfferLeftovers();
    captions.sort();
    QCOMPARE(captions, (QStringList{"Да", "Нет", "Отложить", "Справка"}));
    QVERIFY(form.Children().isEmpty());
    QVERIFY(QFile::exists(copy));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("TST_RECOVERY_EDITOR"))
        return RunEditor(qEnvironmentVariable("TST_RECOVERY_EDITOR"));
    tst_TRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TRecovery.moc"
