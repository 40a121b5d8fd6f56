// The scheme's picture (what is drawn, in which colour, in which order) and its two hit tests,
// on the mines of SchemeSetup.h: a node at (X, Z) is drawn at (105 + X, 55 - Z).
#include "RecordingCanvas.h"
#include "RecordingScheme.h"
#include "SchemeSetup.h"
#include "schemes/SchemeDrawing.h"
#include "schemes/TSchemeView.h"
#include "model/TChangeJournal.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TPLF.h"

#include <QtTest>

namespace {

using schemesetup::kOrigin;
using schemesetup::kRect;

// The current element is frame node 901 unless the setup selects one (SchemeSetup.h).
struct Fixture {
    RecordingScheme scheme;   // outlives the mine, as the control does
    TMine mine;
    QPoint origin;

    Fixture(const QString &text, const QString &setup)
    {
        mine.SetScheme(&scheme);
        origin = schemesetup::Apply(mine, text, setup);
    }

    QStringList Draw(RecordingCanvas &canvas)
    {
        SchemeDrawing::DrawScheme(mine, canvas, kRect, origin);
        return canvas.Drawn();
    }
};

const char kLine[] = "u 1 -50 0 0; u 2 50 0 0; b 1 1 2";   // (55,55)-(155,55)

} // namespace

class tst_SchemeDrawing : public QObject {
    Q_OBJECT

private slots:
    void fitFactor_data();
    void fitFactor();
    void wholeNetworkFits_data();
    void wholeNetworkFits();
    void pictureOfAnotherSize();
    void keptSceneFollowsEdits_data();
    void keptSceneFollowsEdits();
    void picture_data();
    void picture();
    void nodeOfManyBranchesDrawnOnce();
    void backgroundAndClipRestoredOnFailure();
    void hits_data();
    void hits();
};

void tst_SchemeDrawing::fitFactor_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<float>("fit");
    QTest::newRow("both axes fit exactly") << 210 << 110 << 1.0f;
    QTest::newRow("height decides") << 410 << 60 << 0.5f;
    QTest::newRow("a rectangle given right to left counts its size") << -410 << 110 << 1.0f;
}

void tst_SchemeDrawing::wholeNetworkFits_data()
{
    QTest::addColumn<QList<double>>("box");   // X, Y and Z from and to: nodes at its corners
    QTest::addColumn<int>("ax");
    QTest::addColumn<int>("az");
    const std::pair<const char *, QList<double>> networks[] = {
        {"long in X", {0, 3000, 0, 800, -100, 0}},
        {"long in Y", {0, 300, -2600, 0, -100, 0}},
        {"long in Z", {0, 200, 0, 150, -1200, 0}},
        {"far from the origin", {5400000, 5403000, 7645, 8445, -400, -300}},
    };
    const std::pair<int, int> angles[] = {{0, 0}, {90, 0}, {-90, 0}, {30, 45}, {45, -30}, {60, 135}, {-30, -120}, {90, 90}};
    for (const auto &[name, box] : networks)
        for (const auto &[ax, az] : angles)
            QTest::addRow("%s at %d,%d", name, ax, az) << box << ax << az;
}

void tst_SchemeDrawing::wholeNetworkFits()
{
    QFETCH(QList<double>, box);
    QFETCH(int, ax);
    QFETCH(int, az);
    // The box's eight corners and its twelve edges, plus a node in the middle of it.
    QString text;
    for (int i = 0; i < 8; ++i)
        text += QStringLiteral("u %1 %2 %3 %4;").arg(i + 1).arg(box[i & 1], 0, 'f', 1).arg(box[2 + (i >> 1 & 1)], 0, 'f', 1).arg(box[4 + (i >> 2)], 0, 'f', 1);
    text += QStringLiteral("u 9 %1 %2 %3;").arg((box[0] + box[1]) / 2, 0, 'f', 1).arg((box[2] + box[3]) / 2, 0, 'f', 1).arg((box[4] + box[5]) / 2, 0, 'f', 1);
    int number = 0;
    for (int i = 0; i < 8; ++i)
        for (int bit : {1, 2, 4})
            if (!(i & bit))
                text += QStringLiteral("b %1 %2 %3;").arg(++number).arg(i + 1).arg((i | bit) + 1);
    text += QStringLiteral("b 13 1 9");
    TMine mine;
    minetext::Build(mine, text);
    mine.SetTopologyValid(true);
    // Whatever is current, the first view turns about the middle of the network.
    mine.SelectUzel(mine.Uzels().Find(1));
    TSchemeView view;
    const TSchemeRect rect{0, 0, 640, 400};
    view.SetDrawRect(rect);
    view.SetMine(&mine);
    mine.SetAngles(float(ax), float(az));
    RecordingCanvas canvas;
    view.Draw(canvas);
    const QStringList lines = canvas.Drawn().filter(QRegularExpression(QStringLiteral("^line")));
    QCOMPARE(lines.size(), 13);
    static const QRegularExpression end(QStringLiteral(R"(^line (-?\d+),(-?\d+)-(-?\d+),(-?\d+) )"));
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const QString &l : lines) {
        const QRegularExpressionMatch m = end.match(l);
        QVERIFY2(m.hasMatch(), qPrintable(l));
        for (int k : {1, 3}) {
            const int x = m.captured(k).toInt(), y = m.captured(k + 1).toInt();
            QVERIFY2(rect.Contains(x, y), qPrintable(l));
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    const double fills = std::max(double(right - left) / rect.Width(), double(bottom - top) / rect.Height());
    QVERIFY2(fills >= 0.8, qPrintable(QString::number(fills)));
    // Centred: the margins either side differ by a pixel or two at most.
    QVERIFY2(std::abs(left - (rect.Right - 1 - right)) <= 2 && std::abs(top - (rect.Bottom - 1 - bottom)) <= 2,
             qPrintable(QStringLiteral("%1,%2-%3,%4").arg(left).arg(top).arg(right).arg(bottom)));
}

void tst_SchemeDrawing::pictureOfAnotherSize()
{
    // The view of a 210 x 110 rectangle drawn into 410 x 210: fitted twice as large, and a view
    // panned by 10 pixels is panned by 20.
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 1 -100 0 -50; u 2 100 0 50; b 1 1 2"));
    mine.SetTopologyValid(true);
    TSchemeView view;
    view.SetDrawRect(kRect);
    view.SetShowSelection(false);
    view.SetMine(&mine);
    mine.ProjectNodes();
    view.SetScreenOrigin(kOrigin + QPoint(10, 0));
    RecordingCanvas own;
    view.Draw(own);
    QCOMPARE(own.Drawn(), QStringList{"line 15,105-215,5 #c0c0c0 1"});
    RecordingCanvas canvas;
    view.DrawInto(canvas, {0, 0, 410, 210});
    QCOMPARE(canvas.Drawn(), QStringList{"line 25,205-425,5 #c0c0c0 1"});
    // Picking still uses the control's own fit.
    QCOMPARE(mine.FitFactor(), 1.0f);
}

void tst_SchemeDrawing::fitFactor()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(float, fit);
    Fixture fx(QString::fromLatin1(kLine), QString());
    QCOMPARE(SchemeDrawing::FitFactor(fx.mine, TSchemeRect{0, 0, w, h}), fit);
}

void tst_SchemeDrawing::picture_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("drawn");
    const QString line = QString::fromLatin1(kLine);
    const QString grey = QStringLiteral("line 55,55-155,55 #c0c0c0 1");

    QTest::newRow("plain branch") << line << "" << QStringList{grey};
    QTest::newRow("no valid topology: nothing") << line << "invalid" << QStringList{};
    QTest::newRow("selected branch yellow, its label in the seam colour")
        << line << "L #ff0000; b1 L0; flags 0x100; text 1; sel b1"
        << QStringList{"line 55,55-155,55 #ffff00 1", "text 102,50 1 #ff0000/#000000"};
    QTest::newRow("seam colour before plan colour")
        << line << "L #ff0000; P #0000ff; b1 L0; b1 P0; flags 0x300" << QStringList{"line 55,55-155,55 #ff0000 1"};
    QTest::newRow("plan colour for a branch without seam")
        << line << "P #0000ff; b1 P0; flags 0x300" << QStringList{"line 55,55-155,55 #0000ff 1"};
    QTest::newRow("seam colour only with its bit") << line << "L #ff0000; b1 L0; flags 0x200" << QStringList{grey};
    QTest::newRow("a seam index that names no seam counts as none")
        << line << "L #ff0000 hidden; b1 L7; flags 0x100" << QStringList{grey};
    QTest::newRow("hidden seam not drawn") << line << "L #ff0000 hidden; b1 L0" << QStringList{};
    QTest::newRow("hidden plan position not drawn") << line << "P #0000ff hidden; b1 P0" << QStringList{};
    QTest::newRow("gas zone 1 of kind 1: red, width 2, a quarter to three quarters")
        << line << "b1 gas1 1 25 75; flags 0x1" << QStringList{grey, "line 80,55-130,55 #ff0000 2"};
    QTest::newRow("gas zone of kind 2") << line << "b1 gas1 2 0 100; flags 0x1"
                                        << QStringList{grey, "line 55,55-155,55 #00d8d8 2"};
    QTest::newRow("zone 2 under its own bit, kind 3")
        << line << "b1 gas1 0 0 50; b1 gas2 3 50 100; flags 0x2" << QStringList{grey, "line 105,55-155,55 #d80000 2"};
    QTest::newRow("gas zone of a branch of no length: in its one point")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 2" << "b1 gas1 1 0 0; flags 0x1"
        << QStringList{"line 105,55-105,55 #c0c0c0 1", "line 105,55-105,55 #ff0000 2"};
    QTest::newRow("zone not shown without its bit") << line << "b1 gas1 0 0 50" << QStringList{grey};
    QTest::newRow("stopping at 0 across the start node")
        << line << "b1 j 0" << QStringList{grey, "line 55,51-55,59 #c0c0c0 1"};
    QTest::newRow("stopping at 1 marked by zone 1's calculation: green")
        << line << "b1 j 1 normal; flags 0x1" << QStringList{grey, "line 155,51-155,59 #00ff00 1"};
    QTest::newRow("route mark does not count under zone 1")
        << line << "b1 j 0.5 route; flags 0x1" << QStringList{grey, "line 105,51-105,59 #c0c0c0 1"};
    QTest::newRow("route mark under zone 2: green")
        << line << "b1 j 0.5 route; flags 0x2" << QStringList{grey, "line 105,51-105,59 #00ff00 1"};
    QTest::newRow("a node current before the stopping keeps no disc")
        << line << "b1 j 0.5; sel u1; sel j0" << QStringList{grey, "line 105,51-105,59 #ffff00 1"};
    QTest::newRow("selected stopping yellow, its branch not")
        << line << "b1 j 0.5 normal; flags 0x1; sel j0" << QStringList{grey, "line 105,51-105,59 #ffff00 1"};
    QTest::newRow("stopping on a selected branch takes the selection colour")
        << line << "b1 j 0.5; sel b1" << QStringList{"line 55,55-155,55 #ffff00 1", "line 105,51-105,59 #ffff00 1"};
    QTest::newRow("stopping across a slanted branch")
        << "u 1 0 0 0; u 2 30 0 40; b 1 1 2" << "b1 j 0.5"
        << QStringList{"line 105,55-135,15 #c0c0c0 1", "line 117,33-123,37 #c0c0c0 1"};
    QTest::newRow("node discs")
        << line << "nodes"
        << QStringList{grey, "disc 53,53-57,57 #c0c0c0/#c0c0c0", "disc 153,53-157,57 #c0c0c0/#c0c0c0"};
    QTest::newRow("selected node: yellow disc and yellow label")
        << line << "sel u1; text 2"
        << QStringList{grey, "disc 52,52-58,58 #c0c0c0/#ffff00", "text 58,58 1 #ffff00/#000000",
                       "text 158,58 2 #c0c0c0/#000000"};
    QTest::newRow("branch label centred on the midpoint")
        << "u 1 -50 0 0; u 2 51 0 -3; b 1234 1 2" << "text 1"
        << QStringList{"line 55,55-156,58 #c0c0c0 1", "text 93,51 1234 #c0c0c0/#000000"};
    QTest::newRow("panned: a label cut by the edge drawn, one wholly outside skipped")
        << "u 1 -50 0 0; u 2 50 0 0; u 3 -80 0 0; b 1 1 2; b 2 3 1" << "text 2; pan -60"
        << QStringList{"line -5,55-95,55 #c0c0c0 1", "text -2,58 1 #c0c0c0/#000000",
                       "text 98,58 2 #c0c0c0/#000000"};
    QTest::newRow("a node absurdly far off: the network shrinks to hold it, nothing overflows")
        << "u 1 -50 0 0; u 2 -50 1e30 0; b 1 1 2" << "turn 0 90" << QStringList{"line 105,55-105,55 #c0c0c0 1"};
    QTest::newRow("later branches draw over earlier ones")
        << "u 1 -50 0 0; u 2 50 0 0; u 3 0 0 20; b 1 1 2; b 2 3 2" << "L #ff0000; b2 L0; flags 0x100; text 1"
        << QStringList{grey, "text 102,50 1 #c0c0c0/#000000", "line 105,35-155,55 #ff0000 1",
                       "text 127,40 2 #c0c0c0/#000000"};
}

void tst_SchemeDrawing::picture()
{
    QFETCH(QString, mine);
    QFETCH(QString, setup);
    QFETCH(QStringList, drawn);
    Fixture fx(mine, setup);
    RecordingCanvas canvas;
    QCOMPARE(fx.Draw(canvas), drawn);
}

void tst_SchemeDrawing::keptSceneFollowsEdits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<bool>("seen");   // the picture changes; else only the positions behind it
    const std::pair<const char *, bool> edits[] = {
        {"move a node", true}, {"renumber an end", true}, {"add a branch", true}, {"delete a branch", true},
        {"delete a node", false}, {"sort the nodes", false}, {"sort the branches", true}, {"add a stopping", true},
        {"delete a stopping", true}, {"gassed zone", true}, {"seam", true}, {"delete a seam", false},
        {"plan position", true}, {"undo a seam", true}};
    for (const auto &[edit, seen] : edits)
        QTest::newRow(edit) << QString::fromLatin1(edit) << seen;
}

void tst_SchemeDrawing::keptSceneFollowsEdits()
{
    // A view keeps its scene from one drawing to the next; after any edit its picture is the one
    // a drawing without a kept scene makes.
    QFETCH(QString, edit);
    QFETCH(bool, seen);
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 9 0 0 0; u 3 -50 0 0; u 1 50 0 0; u 2 0 0 30; u 4 0 0 -30; u 5 10 0 10;"
                                         "b 2 3 1; b 1 1 2; b 3 2 3; b 4 3 4"));
    for (TSchemeColor c : {SchemeRgb(255, 0, 0), SchemeRgb(0, 0, 255)})
        (new TLayer(&mine))->SetColor(c);
    (new TPLF(&mine))->SetColor(SchemeRgb(0, 255, 0));
    mine.Branches().Find(4)->SetLayerIndex(1);
    mine.SetTopologyValid(true);
    mine.SetColorFlags(SchemeFlags::kLayerColors | SchemeFlags::kGas1);
    TSchemeView view;
    view.SetDrawRect(kRect);
    view.SetMine(&mine);
    mine.ProjectNodes();
    RecordingCanvas before;
    view.Draw(before);

    const QString e = edit;
    if (e == QLatin1String("move a node"))
        mine.Uzels().Find(2)->SetCoordinate(1, 40);
    else if (e == QLatin1String("renumber an end")) {
        mine.Branches().Find(1)->SetNumbers(3, 5);
        mine.ResolveIncidence();
    } else if (e == QLatin1String("add a branch")) {
        mine.AddBranch(7, 5, 1, QString(), 4);
        mine.ResolveIncidence();
    } else if (e == QLatin1String("delete a branch"))
        mine.Branches().Delete(0);
    else if (e == QLatin1String("delete a node"))
        mine.Uzels().Delete(0);   // node 9, of no branch, goes: every other node moves up the list
    else if (e == QLatin1String("sort the nodes"))
        mine.Uzels().SortBy(0);
    else if (e == QLatin1String("sort the branches"))
        mine.Branches().SortByKind(4);
    else if (e == QLatin1String("add a stopping"))
        new TJumper(mine.Branches().Find(3), 0.5);
    else if (e == QLatin1String("delete a stopping")) {
        auto *j = new TJumper(mine.Branches().Find(3), 0.5);
        view.Draw(before);
        delete j;
    } else if (e == QLatin1String("gassed zone")) {
        TBranch *b = mine.Branches().Find(1);
        b->SetZoneBound(2, 20);
        b->SetZone(1, true);
    } else if (e == QLatin1String("seam"))
        mine.Branches().Find(1)->SetLayerIndex(0);
    else if (e == QLatin1String("delete a seam"))
        mine.Layers().Delete(0);   // branch 4's seam, the same colour, is now the first
    else if (e == QLatin1String("plan position")) {
        mine.SetColorFlags(SchemeFlags::kPLFColors);
        view.Draw(before);
        mine.Branches().Find(3)->SetPLFIndex(0);
    } else if (e == QLatin1String("undo a seam")) {
        // The journal puts the seam back behind the setter's back.
        std::unique_ptr<TChangeStep> step;
        mine.Journal().OnStep = [&step](std::unique_ptr<TChangeStep> s) { step = std::move(s); };
        mine.Journal().SetEnabled(true);
        mine.Journal().Begin(QStringLiteral("seam"));
        mine.Branches().Find(1)->SetLayerIndex(0);
        mine.Journal().End();
        view.Draw(before);
        step->Undo();
    }

    RecordingCanvas kept, fresh;
    view.Draw(kept);
    SchemeDrawing::DrawScheme(mine, fresh, kRect, view.ScreenOrigin());
    QCOMPARE(kept.Drawn(), fresh.Drawn());
    QCOMPARE(kept.Drawn() != before.Drawn(), seen);
}

void tst_SchemeDrawing::nodeOfManyBranchesDrawnOnce()
{
    // A star: node 1 in the middle of four branches, with discs and node labels.
    Fixture fx(QStringLiteral("u 1 0 0 0; u 2 -50 0 0; u 3 50 0 0; u 4 0 0 40; u 5 0 0 -40;"
                              "b 1 1 2; b 2 1 3; b 3 1 4; b 4 1 5"),
               QStringLiteral("nodes; text 2"));
    RecordingCanvas canvas;
    const QStringList drawn = fx.Draw(canvas);
    QCOMPARE(drawn.filter(QStringLiteral("disc 103,53-107,57")).size(), 1);
    QCOMPARE(drawn.filter(QRegularExpression(QStringLiteral("^text 108,58 1 "))).size(), 1);
    QCOMPARE(drawn.filter(QLatin1String("disc")).size(), 5);
    QCOMPARE(drawn.filter(QLatin1String("text")).size(), 5);
    // Drawing again gives the same picture: the flags start afresh.
    RecordingCanvas again;
    QCOMPARE(fx.Draw(again), drawn);
}

void tst_SchemeDrawing::backgroundAndClipRestoredOnFailure()
{
    Fixture fx(QString::fromLatin1(kLine), QString());
    RecordingCanvas canvas;
    fx.Draw(canvas);
    QCOMPARE(canvas.calls.mid(0, 2), (QStringList{"fill -1,-1-211,111 #000000", "clip 0,0-210,110"}));
    QCOMPARE(canvas.calls.last(), QStringLiteral("unclip"));

    RecordingCanvas failing;
    failing.throwOnLines = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, fx.Draw(failing));
    QCOMPARE(failing.calls.last(), QStringLiteral("unclip"));
}

void tst_SchemeDrawing::hits_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("hit");

    // Nodes: 2 at (155,55), 9 at (157,55) after it. Branches: 1 horizontal (55,55)-(155,55),
    // 2 vertical (175,15)-(175,95), 3 diagonal (15,65)-(45,95), 4 steep (85,45)-(87,10).
    QTest::newRow("node: top-left of its box") << "" << QPoint(152, 52) << "u2";
    QTest::newRow("node: right edge excluded") << "" << QPoint(160, 55) << "b-";
    QTest::newRow("node: bottom edge excluded") << "" << QPoint(159, 58) << "b-";
    QTest::newRow("node: the later of two overlapping") << "" << QPoint(156, 55) << "u9";
    QTest::newRow("node: hidden seam does not matter") << "L #ff0000 hidden; b1 L0" << QPoint(56, 55) << "u1";
    QTest::newRow("horizontal: 3 pixels off") << "" << QPoint(100, 58) << "b1";
    QTest::newRow("horizontal: 4 pixels off") << "" << QPoint(100, 59) << "b-";
    QTest::newRow("vertical: 3 pixels off") << "" << QPoint(178, 50) << "b2";
    QTest::newRow("vertical: 4 pixels off") << "" << QPoint(179, 50) << "b-";
    QTest::newRow("vertical: past its end") << "" << QPoint(175, 99) << "b-";
    QTest::newRow("diagonal: 3 pixels under the line") << "" << QPoint(30, 83) << "b3";
    QTest::newRow("diagonal: 4 pixels under the line") << "" << QPoint(30, 84) << "b-";
    QTest::newRow("diagonal: outside its box") << "" << QPoint(10, 60) << "b-";
    QTest::newRow("steep: anywhere in a box 3 pixels wide") << "" << QPoint(85, 20) << "b4";
    QTest::newRow("hidden seam: not hit") << "L #ff0000 hidden; b1 L0" << QPoint(100, 55) << "b-";
    QTest::newRow("hidden plan position: still hit") << "P #0000ff hidden; b1 P0" << QPoint(100, 55) << "b1";
    QTest::newRow("without a scheme nothing is hit") << "detach" << QPoint(100, 55) << "b-";
}

void tst_SchemeDrawing::hits()
{
    QFETCH(QString, setup);
    QFETCH(QPoint, at);
    QFETCH(QString, hit);
    Fixture fx(QStringLiteral("u 1 -50 0 0; u 2 50 0 0; u 3 70 0 40; u 4 70 0 -40; u 5 -90 0 -10; u 6 -60 0 -40;"
                              "u 7 -20 0 10; u 8 -18 0 45; u 9 52 0 0; b 1 1 2; b 2 3 4; b 3 5 6; b 4 7 8"),
               QString(setup).remove(QStringLiteral("detach")));
    fx.mine.SetFitFactor(SchemeDrawing::FitFactor(fx.mine, kRect));
    if (setup == QLatin1String("detach"))
        fx.mine.SetScheme(nullptr);
    const TUzel *u = SchemeDrawing::HitNode(fx.mine, kOrigin, at);
    const TBranch *b = u ? nullptr : SchemeDrawing::HitBranch(fx.mine, kOrigin, at);
    const QString got = u ? QStringLiteral("u%1").arg(u->Number())
                          : b ? QStringLiteral("b%1").arg(b->Number()) : QStringLiteral("b-");
    QCOMPARE(got, hit);
}

QTEST_APPLESS_MAIN(tst_SchemeDrawing)
#include "tst_SchemeDrawing.moc"
