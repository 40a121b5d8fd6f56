// Seams and plan positions: creation, notifications to the scheme, and re-indexing of the
// branches when one is deleted.
#include "RecordingScheme.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include <QtTest>

class tst_TLayer : public QObject {
    Q_OBJECT

private slots:
    void creationAppendsAndMarks();
    void settersReportChanges();
    void deletionReindexesBranches_data();
    void deletionReindexesBranches();
};

void tst_TLayer::creationAppendsAndMarks()
{
    RecordingScheme scheme;
    TMine mine;
    mine.SetScheme(&scheme);
    auto *seam = new TLayer(&mine);
    QVERIFY(mine.Modified());
    auto *plf = new TPLF(&mine);
    QCOMPARE(mine.Layers().Count(), 1);
    QCOMPARE(mine.PLFs().Count(), 1);
    QCOMPARE(mine.Layers().Items(0), seam);
    QCOMPARE(mine.PLFs().Items(0), plf);
    QVERIFY(plf->IsPLF() && !seam->IsPLF());
    QCOMPARE(scheme.calls, (QStringList{QStringLiteral("LayersChanged"),
                                        QStringLiteral("PLFsChanged")}));
    QVERIFY(seam->Visible());
    QCOMPARE(seam->Color(), quint32(0xFFFFFF));
    mine.Layers().Delete(0);
    QCOMPARE(scheme.calls.last(), QStringLiteral("LayersChanged"));
}

void tst_TLayer::settersReportChanges()
{
    RecordingScheme scheme;
    TMine mine;
    auto *seam = new TLayer(&mine);
    mine.SetScheme(&scheme);
    mine.SetModified(false);
    seam->SetName(QString());
    seam->SetColor(0xFFFFFF);
    seam->SetVisible(true);
    QVERIFY(!mine.Modified());
    QVERIFY(scheme.calls.isEmpty());
    seam->SetName(QStringLiteral("Пласт k5"));
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    seam->SetColor(0x0000FF);
    QVERIFY(mine.Modified());
    mine.SetModified(false);
    seam->SetVisible(false);
    QVERIFY(mine.Modified());
    QCOMPARE(scheme.calls, QStringList{QStringLiteral("RebuildPicture")});
}

void tst_TLayer::deletionReindexesBranches_data()
{
    QTest::addColumn<bool>("plf");
    QTest::newRow("seams") << false;
    QTest::newRow("plan positions") << true;
}

void tst_TLayer::deletionReindexesBranches()
{
    QFETCH(bool, plf);
    TMine mine;
    for (int i = 0; i < 3; ++i) {
        if (plf)
            new TPLF(&mine);
        else
            new TLayer(&mine);
    }
    const QList<int> before{0, 1, 2, -1, 1};
    const QList<int> after{0, -1, 1, -1, -1};
    for (int i = 0; i < before.size(); ++i) {
        TBranch *b = mine.AddBranch(i + 1, 1, 2, QString(), 1);
        if (plf)
            b->SetPLFIndex(before[i]);
        else
            b->SetLayerIndex(before[i]);
    }
    mine.SetModified(false);
    TLayerList &list = plf ? static_cast<TLayerList &>(mine.PLFs()) : mine.Layers();
    TLayer *third = list.Items(2);
    list.Delete(1);
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.Items(1), third);
    QVERIFY(!mine.Modified());
    for (int i = 0; i < after.size(); ++i) {
        TBranch *b = mine.Branches().Items(i + 1);
        QCOMPARE(plf ? b->PLFIndex() : b->LayerIndex(), after[i]);
        QCOMPARE(plf ? b->LayerIndex() : b->PLFIndex(), -1);   // the other index is untouched
    }
}

QTEST_GUILESS_MAIN(tst_TLayer)
#include "tst_TLayer.moc"
