// The incidence scheme in a control of 300 x 180: C = (150, 90), P = (103, 90), Q = (197, 90);
// a star has R = 80 (outer discs at C +- 80), a fan R = 80 too, labels of mode 1 stand 56 pixels
// out. Text cells of the recording canvas are 6 pixels a character; the font is 11 pixels high.
#include "MineText.h"
#include "RecordingCanvas.h"
#include "schemes/IncidenceScheme.h"

#include <QtTest>

using namespace IncidenceScheme;

namespace {

constexpr int kW = 300, kH = 180;

// Four branches at node 1, numbered out of list order: right, up, left, down.
const char kStar[] = "u 1 0 0 0; u 2 0 0 0; u 4 0 0 0; u 5 0 0 0; u 6 0 0 0;"
                     "b 9 1 2; b 3 4 1; b 5 1 5; b 7 6 1";
// Branch 1 from 1 to 2, with branch 4 at its start and branch 5 at its end.
const char kBar[] = "u 1 0 0 0; u 2 0 0 0; u 3 0 0 0; u 6 0 0 0; b 1 1 2; b 4 3 1; b 5 2 6";

TMode ModeOf(const QString &m) { return m == QLatin1String("node") ? TMode::Uzel : TMode::Branch; }

struct Shown {
    TMine mine;
    TLayout layout;
    Shown(const QString &text, const QString &mode, int number)
    {
        minetext::Build(mine, text);
        Layout(mine, ModeOf(mode), number, kW, kH, layout);
    }
};

} // namespace

class tst_IncidenceScheme : public QObject {
    Q_OBJECT

private slots:
    void spokes_data();
    void spokes();
    void labels_data();
    void labels();
    void backgroundOnlyWithoutTheElement();
    void hits_data();
    void hits();
};

void tst_IncidenceScheme::spokes_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("spokes");   // branch:end point, in drawing order
    QTest::newRow("one spoke points right") << "u 1 0 0 0; u 2 0 0 0; b 1 1 2" << "node" << 1 << "1:230,90";
    QTest::newRow("four spokes right, up, left, down in branch order")
        << kStar << "node" << 1 << "9:230,90 3:150,10 5:70,90 7:150,170";
    QTest::newRow("a dangling number counts, a node without branches has no spokes")
        << "u 1 0 0 0; u 2 0 0 0; b 1 2 8" << "node" << 1 << "";
    QTest::newRow("left fan from top to bottom, right fan mirrored")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 2; b 4 3 1; b 6 1 7; b 5 2 6" << "branch" << 1
        << "4:46,33 6:46,147 5:277,90";
    QTest::newRow("start touching nothing else: empty left fan")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 2; b 2 2 3" << "branch" << 1 << "2:277,90";
    QTest::newRow("every branch of the centre's number is left out, the first one is shown")
        << "u 1 0 0 0; u 2 0 0 0; u 3 0 0 0; b 1 1 2; b 1 2 3; b 4 2 5" << "branch" << 1 << "4:277,90";
    QTest::newRow("a loop at the centre node is one spoke") << "u 1 0 0 0; b 2 1 1" << "node" << 1 << "2:230,90";
}

void tst_IncidenceScheme::spokes()
{
    QFETCH(QString, mine);
    QFETCH(QString, mode);
    QFETCH(int, number);
    Shown s(mine, mode, number);
    QVERIFY(s.layout.Shown);
    QStringList got;
    for (const TSpoke &spoke : s.layout.Spokes)
        got << QStringLiteral("%1:%2,%3").arg(spoke.Branch->Number()).arg(spoke.End.x()).arg(spoke.End.y());
    QFETCH(QString, spokes);
    QCOMPARE(got.join(QLatin1Char(' ')), spokes);
}

void tst_IncidenceScheme::labels_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("labelMode");
    QTest::addColumn<QStringList>("texts");
    const QString tip = QStringLiteral("#000000/#ffffe1"), blue = QStringLiteral("#0000ff/#f0f0f0");
    QTest::newRow("node numbers beside the discs, ??? for an unset one")
        << "u 1 0 0 0; u 2 0 0 0; b 9 1 2; b 3 - 1" << "node" << 1 << 0
        << QStringList{"text 235,85 2 " + tip, "text 47,85 ??? " + tip, "text 160,84 1 " + blue};
    QTest::newRow("branch numbers centred at 0.7 R")
        << "u 1 0 0 0; u 2 0 0 0; b 9 1 2; b - 1 3" << "node" << 1 << 1
        << QStringList{"text 203,84 9 " + tip, "text 85,84 ??? " + tip, "text 160,84 1 " + blue};
    QTest::newRow("fans with node numbers; the bar's numbers above it")
        << kBar << "branch" << 1 << 0
        << QStringList{"text 12,85 3 " + tip, "text 282,85 6 " + tip, "text 144,74 1 " + blue,
                       "text 108,74 1 " + blue, "text 186,74 2 " + blue};
    QTest::newRow("fans with branch numbers: the left fan's a pixel lower")
        << kBar << "branch" << 1 << 1
        << QStringList{"text 44,85 4 " + tip, "text 250,84 5 " + tip, "text 144,74 1 " + blue,
                       "text 108,74 1 " + blue, "text 186,74 2 " + blue};
}

void tst_IncidenceScheme::labels()
{
    QFETCH(QString, mine);
    QFETCH(QString, mode);
    QFETCH(int, number);
    QFETCH(int, labelMode);
    Shown s(mine, mode, number);
    RecordingCanvas canvas;
    Draw(s.layout, canvas, kW, kH, labelMode, TLook());
    QFETCH(QStringList, texts);
    QCOMPARE(canvas.Drawn().filter(QRegularExpression(QStringLiteral("^text"))), texts);
}

void tst_IncidenceScheme::backgroundOnlyWithoutTheElement()
{
    const std::pair<TMode, qint32> missing[] = {{TMode::Uzel, 3}, {TMode::Branch, 2}, {TMode::Uzel, kUnsetInt}};
    for (const auto &[mode, number] : missing) {
        TMine mine;
        minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 0 0 0; b 1 1 2"));
        TLayout layout;
        Layout(mine, mode, number, kW, kH, layout);
        RecordingCanvas canvas;
        Draw(layout, canvas, kW, kH, 0, TLook());
        QVERIFY(canvas.Drawn().isEmpty());
        QCOMPARE(canvas.calls.value(0), QStringLiteral("fill 0,0-300,180 #f0f0f0"));
        QCOMPARE(HitTest(layout, QPoint(200, 90)).What, THit::None);
    }
}

void tst_IncidenceScheme::hits_data()
{
    QTest::addColumn<QString>("mine");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("number");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("hit");
    QTest::newRow("outer disc: its far node") << kStar << "node" << 1 << QPoint(229, 89) << "node 2";
    QTest::newRow("the disc's right edge is outside") << kStar << "node" << 1 << QPoint(232, 90) << "none";
    QTest::newRow("horizontal spoke, 1 pixel off") << kStar << "node" << 1 << QPoint(190, 91) << "branch 9";
    QTest::newRow("horizontal spoke, 2 pixels off") << kStar << "node" << 1 << QPoint(190, 92) << "none";
    QTest::newRow("horizontal spoke, 1 pixel off above") << kStar << "node" << 1 << QPoint(190, 89) << "branch 9";
    QTest::newRow("horizontal spoke, 2 pixels off above") << kStar << "node" << 1 << QPoint(190, 88) << "none";
    QTest::newRow("vertical spoke") << kStar << "node" << 1 << QPoint(151, 40) << "branch 3";
    QTest::newRow("vertical spoke, 1 pixel left") << kStar << "node" << 1 << QPoint(149, 40) << "branch 3";
    QTest::newRow("vertical spoke, 2 pixels right") << kStar << "node" << 1 << QPoint(152, 40) << "none";
    QTest::newRow("vertical spoke, 2 pixels left") << kStar << "node" << 1 << QPoint(148, 40) << "none";
    // Branch 4 runs from P (103, 90) up to (46, 33): at x = 74 the line is at y = 61.
    QTest::newRow("slanted spoke, 2 pixels off the line")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 2; b 4 3 1; b 6 1 7" << "branch" << 1 << QPoint(74, 63) << "branch 4";
    QTest::newRow("slanted spoke, 3 pixels off")
        << "u 1 0 0 0; u 2 0 0 0; b 1 1 2; b 4 3 1; b 6 1 7" << "branch" << 1 << QPoint(74, 64) << "none";
    QTest::newRow("right fan's disc: the far end from the end node") << kBar << "branch" << 1 << QPoint(277, 90)
                                                                     << "node 6";
    QTest::newRow("the bar does nothing") << kBar << "branch" << 1 << QPoint(150, 90) << "none";
    QTest::newRow("nor its outline") << kBar << "branch" << 1 << QPoint(150, 88) << "none";
}

void tst_IncidenceScheme::hits()
{
    QFETCH(QString, mine);
    QFETCH(QString, mode);
    QFETCH(int, number);
    QFETCH(QPoint, at);
    Shown s(mine, mode, number);
    const THit h = HitTest(s.layout, at);
    QString got = QStringLiteral("none");
    if (h.What == THit::Uzel)
        got = QStringLiteral("node %1").arg(h.FarNumber);
    else if (h.What == THit::Branch)
        got = QStringLiteral("branch %1").arg(h.Spoke->Number());
    QFETCH(QString, hit);
    QCOMPARE(got, hit);
}

QTEST_APPLESS_MAIN(tst_IncidenceScheme)
#include "tst_IncidenceScheme.moc"
