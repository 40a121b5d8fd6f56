// The incidence scheme control at 300 x 180 (C = (150, 90), P = (103, 90), Q = (197, 90), R = 80):
// clicks on outer discs and spokes, the mine's selection, and presses that meet nothing because
// the element is gone.
#include "MineText.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TIncidentGraph.h"

#include <QtTest>

using IncidenceScheme::TMode;

namespace {

// Branch 1 from 1 to 2, branch 4 at its start (to node 3), branch 5 at its end (to node 6).
const char kBar[] = "u 1 0 0 0; u 2 0 0 0; u 3 0 0 0; u 6 0 0 0; b 1 1 2; b 4 3 1; b 5 2 6";

struct Shown {
    TMine mine;
    TIncidentGraph control;
    QStringList events;

    Shown()
    {
        minetext::Build(mine, QString::fromLatin1(kBar));
        control.resize(300, 180);
        control.SetMine(&mine);
        control.OnSelectUzel = [this](TIncidentGraph *, int index, TUzel *u) {
            events << QStringLiteral("uzel %1 #%2").arg(index).arg(u->Number());
        };
        control.OnSelectBranch = [this](TIncidentGraph *, int index, TBranch *b) {
            events << QStringLiteral("branch %1 #%2").arg(index).arg(b->Number());
        };
    }
    void Paint() { (void)control.grab(); }
    void Click(QPoint at) { QTest::mouseClick(&control, Qt::LeftButton, {}, at); }
};

} // namespace

class tst_TIncidentGraph : public QObject {
    Q_OBJECT

private slots:
    void outerDiscInBranchModeCentresOnTheFarNode();
    void spokeShowsItsBranchWithoutSelectingIt();
    void theBarAndUnpaintedControlsDoNothing();
    void goneElementLeavesOnlyTheBackground();
    void pictureReachesTheScreen();
};

void tst_TIncidentGraph::outerDiscInBranchModeCentresOnTheFarNode()
{
    Shown s;
    s.control.ShowBranch(1);
    s.Paint();
    s.Click(QPoint(277, 90));   // the right fan's only disc: branch 5 to node 6
    QCOMPARE(s.control.Mode(), TMode::Uzel);
    QCOMPARE(s.control.CenterUzel(), 6);
    QCOMPARE(int(s.mine.SelKind()), 0);
    QCOMPARE(s.mine.CurUzel()->Number(), 6);
    QCOMPARE(s.events, QStringList{"uzel 4 #6"});
}

void tst_TIncidentGraph::spokeShowsItsBranchWithoutSelectingIt()
{
    Shown s;
    s.control.ShowUzel(1);   // branch 1 to the right, branch 4 to the left
    s.Paint();
    TBranch *current = s.mine.CurBranch();
    s.Click(QPoint(100, 90));
    QCOMPARE(s.control.Mode(), TMode::Branch);
    QCOMPARE(s.control.CenterBranch(), 4);
    QCOMPARE(s.events, QStringList{"branch 2 #4"});
    QCOMPARE(s.mine.CurBranch(), current);
}

void tst_TIncidentGraph::theBarAndUnpaintedControlsDoNothing()
{
    Shown s;
    s.control.ShowBranch(1);
    s.Click(QPoint(277, 90));   // not painted yet: no layout to click on
    QCOMPARE(s.control.Mode(), TMode::Branch);
    s.Paint();
    s.Click(QPoint(150, 90));
    s.Click(QPoint(150, 88));
    QCOMPARE(s.control.Mode(), TMode::Branch);
    QCOMPARE(s.control.CenterBranch(), 1);
    QVERIFY(s.events.isEmpty());
}

void tst_TIncidentGraph::goneElementLeavesOnlyTheBackground()
{
    Shown s;
    s.control.ShowBranch(1);
    s.Paint();
    QVERIFY(s.control.LayoutValid());
    // The spoke of branch 5 is still on the screen when its centre goes.
    s.mine.Branches().Delete(0);
    s.Click(QPoint(277, 90));
    QVERIFY(s.events.isEmpty());
    s.Paint();
    QVERIFY(!s.control.LayoutValid());
    s.control.SetMine(nullptr);
    s.Paint();
    QVERIFY(!s.control.LayoutValid());
}

void tst_TIncidentGraph::pictureReachesTheScreen()
{
    Shown s;
    s.control.ShowUzel(2);   // branch 1 to the right (to node 1), branch 5 to the left
    const QImage picture = s.control.grab().toImage();
    QCOMPARE(picture.pixelColor(200, 90), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(229, 89), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(150, 90), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(150, 40), s.control.palette().color(QPalette::Button));
}

QTEST_MAIN(tst_TIncidentGraph)
#include "tst_TIncidentGraph.moc"
