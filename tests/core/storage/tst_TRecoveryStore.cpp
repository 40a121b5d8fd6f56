// Recovery copies on disk: the folder only the user may enter, copies of a running editor left
// alone, those of an ended one offered to one start at a time, kept, adopted or removed as the
// user answers, and the queued writes done in order with their failures kept.
#include "AppError.h"
#include "MineText.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"
#include "storage/TRecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

namespace {

QByteArray MineBytes(const QString &text)
{
    TMineDocument doc;
    minetext::Build(*doc.Mine(), text);
    return TMdfWriter::Snapshot(doc);
}

TRecoveryInfo Info(const QString &file, bool hasFile, const QDateTime &time)
{
    TRecoveryInfo info;
    info.FileName = file;
    info.HasFile = hasFile;
    info.Time = time;
    return info;
}

QStringList Files(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestRecoveryStore : public QObject {
    Q_OBJECT

private slots:
    void folderOnlyForTheUser();
    void defaultFolderFollowsTheStateHome_data();
    void defaultFolderFollowsTheStateHome();
    void runningSessionKeepsItsCopies();
    void endedSessionOfferedToOneStartAtATime();
    void unreadableDescriptionIsUntitled_data();
    void unreadableDescriptionIsUntitled();
    void queuedWorkInOrder();
};

void TestRecoveryStore::folderOnlyForTheUser()
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("state/tarvel/recovery"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    TRecoveryStore store(folder);
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(folder).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0700));
    // A file where the folder should be: no copies, said as such.
    QFile blocker(home.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    QVERIFY_THROWS_EXCEPTION(AppError, TRecoveryStore(blocker.fileName()));
}

void TestRecoveryStore::defaultFolderFollowsTheStateHome_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<QString>("expected");
    QTest::newRow("set") << QByteArray("/var/tmp/st") << QStringLiteral("/var/tmp/st/tarvel/recovery");
    QTest::newRow("unset") << QByteArray() << QDir::homePath() + QStringLiteral("/.local/state/tarvel/recovery");
    QTest::newRow("relative") << QByteArray("st") << QDir::homePath() + QStringLiteral("/.local/state/tarvel/recovery");
}

void TestRecoveryStore::defaultFolderFollowsTheStateHome()
{
    QFETCH(QByteArray, state);
    QFETCH(QString, expected);
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state);
    const QString folder = TRecoveryStore::DefaultFolder();
    qputenv("XDG_STATE_HOME", saved);
    QCOMPARE(folder, expected);
}

void TestRecoveryStore::runningSessionKeepsItsCopies()
{
    QTemporaryDir dir;
    TRecoveryStore running(dir.path());
    running.Write(1, MineBytes(QStringLiteral("u 1 0 0 0")), Info(QStringLiteral("/m/a.mdf"), true, QDateTime::currentDateTime()));
    TRecoveryStore later(dir.path());
    QVERIFY(later.TakeLeftovers().isEmpty());
    later.ReleaseLeftovers();
    QVERIFY(QFile::exists(running.CopyPath(1)));
}

void TestRecoveryStore::endedSessionOfferedToOneStartAtATime()
{
    QTemporaryDir dir;
    const QDateTime t0 = QDateTime::currentDateTime().addSecs(-600);
    {
        TRecoveryStore ended(dir.path());
        // Written newest first: offered oldest first.
        ended.Write(1, MineBytes(QStringLiteral("u 2 0 0 0")), Info(QStringLiteral("/m/b.mdf"), true, t0.addSecs(60)));
        ended.Write(2, MineBytes(QStringLiteral("u 1 0 0 0")), Info(QStringLiteral("/data/Новый 3.mdf"), false, t0));
    }
    auto first = std::make_unique<TRecoveryStore>(dir.path());
    const QList<TRecoveryEntry> entries = first->TakeLeftovers();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0].Info.FileName, QStringLiteral("/data/Новый 3.mdf"));
    QVERIFY(!entries[0].Info.HasFile);
    QCOMPARE(entries[0].Info.Time, t0);
    QCOMPARE(entries[1].Info.FileName, QStringLiteral("/m/b.mdf"));
    QVERIFY(entries[1].Info.HasFile);
    TMineDocument doc;
    TMineFile::Load(doc, entries[0].Path);
    QCOMPARE(doc.Mine()->Uzels().Count(), 1);

    // While the first start holds them, a second one is not offered the same copies.
    {
        TRecoveryStore second(dir.path());
        QVERIFY(second.TakeLeftovers().isEmpty());
    }
    // Нет for the older, Отложить for the newer: only that one comes back.
    first->Discard(entries[0]);
    first->ReleaseLeftovers();
    first.reset();
    TRecoveryStore third(dir.path());
    const QList<TRecoveryEntry> again = third.TakeLeftovers();
    QCOMPARE(again.size(), 1);
    QCOMPARE(again[0].Info.FileName, QStringLiteral("/m/b.mdf"));
    // Да: the copy becomes this session's own, and nothing of the ended session stays.
    third.Adopt(again[0], 5);
    third.ReleaseLeftovers();
    const QString own = QFileInfo(third.CopyPath(5)).fileName();
    QStringList expected = {third.Session() + QStringLiteral(".lock"), own.chopped(4) + QStringLiteral(".json"), own};
    expected.sort();
    QCOMPARE(Files(dir.path()), expected);
}

void TestRecoveryStore::unreadableDescriptionIsUntitled_data()
{
    QTest::addColumn<QByteArray>("json");   // "-": none at all
    QTest::newRow("missing") << QByteArray("-");
    QTest::newRow("garbage") << QByteArray("\x00{\"file\":", 9);
    QTest::newRow("huge") << QByteArray("{\"file\":\"/m/a.mdf\",\"hasFile\":true,\"x\":\"") + QByteArray(100000, 'x') + "\"}";
    QTest::newRow("file missing") << QByteArray("{\"hasFile\":true,\"time\":\"2020-01-01T00:00:00Z\"}");
}

void TestRecoveryStore::unreadableDescriptionIsUntitled()
{
    QFETCH(QByteArray, json);
    QTemporaryDir dir;
    QString copy;
    {
        TRecoveryStore ended(dir.path());
        ended.Write(1, MineBytes(QStringLiteral("u 1 0 0 0")), Info(QStringLiteral("/m/a.mdf"), true, QDateTime()));
        copy = ended.CopyPath(1);
    }
    QFile info(copy.chopped(4) + QStringLiteral(".json"));
    if (json == "-") {
        QVERIFY(info.remove());
    } else {
        QVERIFY(info.open(QIODevice::WriteOnly));
        info.write(json);
        info.close();
    }
    TRecoveryStore start(dir.path());
    const QList<TRecoveryEntry> entries = start.TakeLeftovers();
    QCOMPARE(entries.size(), 1);
    QVERIFY(entries[0].Info.FileName.isEmpty());
    QVERIFY(!entries[0].Info.HasFile);
    QVERIFY(entries[0].Info.Time.isValid());
}

void TestRecoveryStore::queuedWorkInOrder()
{
    QTemporaryDir dir;
    TRecoveryStore store(dir.path());
    const TRecoveryInfo info = Info(QStringLiteral("/m/a.mdf"), true, QDateTime::currentDateTime());
    store.WriteLater(1, MineBytes(QStringLiteral("u 1 0 0 0")), info);
    store.WriteLater(1, MineBytes(QStringLiteral("u 1 0 0 0; u 2 0 0 0")), info);
    store.WriteLater(2, MineBytes(QStringLiteral("u 1 0 0 0")), info);
    store.RemoveLater(2);
    store.Flush();
    QVERIFY(!store.Busy());
    TMineDocument doc;
    TMineFile::Load(doc, store.CopyPath(1));
    QCOMPARE(doc.Mine()->Uzels().Count(), 2);
    QVERIFY(!QFile::exists(store.CopyPath(2)));
    QVERIFY(store.TakeError().isEmpty());
    // A write that fails is kept for the caller to tell, once.
    QVERIFY(QDir().mkpath(store.CopyPath(3)));
    store.WriteLater(3, MineBytes(QStringLiteral("u 1 0 0 0")), info);
    store.Flush();
    QVERIFY(!store.TakeError().isEmpty());
    QVERIFY(store.TakeError().isEmpty());
}

QTEST_GUILESS_MAIN(TestRecoveryStore)
#include "tst_TRecoveryStore.moc"
