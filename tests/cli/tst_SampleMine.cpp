// The sample mine in examples/: regenerating it gives the committed bytes, and it is the small
// realistic mine it claims to be.
#include "AppError.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kSample = QStringLiteral(TARVEL_SOURCE_DIR "/examples/sample-mine.mdf");

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestSampleMine : public QObject {
    Q_OBJECT

private slots:
    void regeneratesTheCommittedBytes();
    void isARealisticSmallMine();
};

void TestSampleMine::regeneratesTheCommittedBytes()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("sample.mdf"));
    QProcess p;
    p.start(QStringLiteral(TARVEL_BIN_DIR "/make-sample-mine"), {out});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QByteArray committed = ReadFile(kSample);
    QVERIFY(!committed.isEmpty());
    QVERIFY2(ReadFile(out) == committed, "examples/sample-mine.mdf is out of date: run make-sample-mine");
}

void TestSampleMine::isARealisticSmallMine()
{
    TMineDocument doc;
    TMineFile::Load(doc, kSample);
    const TMine &m = *doc.Mine();
    QCOMPARE(doc.FileVersion(), 119);
    QVERIFY(m.Uzels().Count() >= 50 && m.Uzels().Count() <= 70);
    QVERIFY(m.Branches().Count() >= 70 && m.Branches().Count() <= 90);
    QCOMPARE(m.Layers().Count(), 2);
    QVERIFY(m.PLFs().Count() >= 3);
    QSet<int> materials;
    int people = 0, inclined = 0;
    for (const TBranch *b : m.Branches()) {
        for (const TJumper *j : b->Jumpers())
            materials.insert(j->Material());
        people += b->People().Count();
        QVERIFY(m.HasUzel(b->StartNumber()));
        QVERIFY(m.HasUzel(b->EndNumber()));
        const TUzel *a = m.Uzels().Find(b->StartNumber());
        const TUzel *c = m.Uzels().Find(b->EndNumber());
        const double dz = std::abs(a->Z() - c->Z());
        const double dxy = std::hypot(a->X() - c->X(), a->Y() - c->Y());
        if (dz > 10 && dxy > 10)
            ++inclined;
    }
    QVERIFY(materials.size() >= 4);
    QVERIFY(people >= 3);
    QVERIFY(inclined >= 2);
    QVERIFY(m.Branches().Items(1)->Comment().contains(QStringLiteral("штрек")));
}

QTEST_GUILESS_MAIN(TestSampleMine)
#include "tst_SampleMine.moc"
