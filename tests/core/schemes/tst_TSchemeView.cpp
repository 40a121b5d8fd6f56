// A scheme without widgets: the first view of a mine shows its network, attaching it again
// centres the view on its current element, and the view and the mine forget each other
// whichever goes first.
#include "MineText.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TSchemeView.h"

#include <QtTest>
#include <memory>

class tst_TSchemeView : public QObject {
    Q_OBJECT

private slots:
    void attachCentresOnCurrentElement_data();
    void attachCentresOnCurrentElement();
    void viewAndMineForgetEachOther();
};

void tst_TSchemeView::attachCentresOnCurrentElement_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QList<float>>("centre");
    QTest::addColumn<int>("selKind");

    QTest::newRow("node") << "u2" << QList<float>{10, 20, 30} << 0;
    QTest::newRow("branch: its midpoint") << "b1" << QList<float>{5, 10, 20} << 1;
    QTest::newRow("stopping: its branch becomes current") << "j" << QList<float>{5, 10, 20} << 1;
}

void tst_TSchemeView::attachCentresOnCurrentElement()
{
    QFETCH(QString, current);
    QFETCH(QList<float>, centre);
    QFETCH(int, selKind);

    TMine mine;
    minetext::Build(mine, QStringLiteral("u 1 0 0 10; u 2 10 20 30; u 3 10 20 40; b 1 1 2; b 2 2 3"));
    mine.SetTopologyValid(true);
    TBranch *b1 = mine.Branches().Find(1);
    auto *j = new TJumper(b1, 0.25);

    TSchemeView view;
    view.SetDrawRect({6, 27, 306, 227});
    // The first view of a mine turns about the middle of its network, whatever is current.
    view.SetMine(&mine);
    QCOMPARE((QList<float>{view.RotationCenterX(), view.RotationCenterY(), view.RotationCenterZ()}),
             (QList<float>{5, 10, 25}));
    QVERIFY(mine.NetworkShown());
    view.SetMine(nullptr);
    if (current == QLatin1String("u2"))
        mine.SelectUzel(mine.Uzels().Find(2));
    else if (current == QLatin1String("j"))
        mine.SelectJumper(j);
    view.SetScreenOrigin(QPoint(0, 0));
    int selections = 0;
    view.OnSelectBranch = [&](TMine *, int, TBranch *) { ++selections; };
    view.SetMine(&mine);
    QCOMPARE(mine.Scheme(), &view);
    QCOMPARE((QList<float>{view.RotationCenterX(), view.RotationCenterY(), view.RotationCenterZ()}), centre);
    QCOMPARE(int(mine.SelKind()), selKind);
    QCOMPARE(selections, current == QLatin1String("j") ? 1 : 0);
    QVERIFY(mine.CenterRequest());
    mine.ProjectNodes();
    QCOMPARE(view.ScreenOrigin(), QPoint(156, 127));
    if (current == QLatin1String("u2")) {
        // Node 3 stands 10 m above the centre: straight up at angle 0.
        const TUzel *above = mine.Uzels().Find(3);
        QCOMPARE(above->ProjX(), 0);
        QCOMPARE(above->ProjY(), 10);
    }
}

void tst_TSchemeView::viewAndMineForgetEachOther()
{
    auto first = std::make_unique<TMine>();
    TMine second;
    {
        TSchemeView view;
        view.SetMine(first.get());
        view.SetMine(&second);   // the first mine forgets the view
        QCOMPARE(first->Scheme(), nullptr);
        QCOMPARE(second.Scheme(), &view);
        view.SetMine(first.get());
        first.reset();           // the view forgets the mine
        QCOMPARE(view.Mine(), nullptr);
        view.SetMine(&second);
    }
    QCOMPARE(second.Scheme(), nullptr);   // a destroyed view leaves the mine
}

QTEST_APPLESS_MAIN(tst_TSchemeView)
#include "tst_TSchemeView.moc"
