// tarvel-mdf render, run as a separate process without a display: exit status, what lands on
// stderr, and the picture it leaves (or does not leave).
#include "MineText.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Width and height from a PNG file's header.
QSize PngSize(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QSize();
    const QByteArray head = f.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG"))
        return QSize();
    auto be = [&](int at) { return int(quint8(head[at]) << 24 | quint8(head[at + 1]) << 16 | quint8(head[at + 2]) << 8 | quint8(head[at + 3])); };
    return QSize(be(16), be(20));
}

} // namespace

class tst_RenderCommand : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void render_data();
    void render();
    void pictureTurnsAboutTheNetwork();
    void wholeNetworkInThePicture_data();
    void wholeNetworkInThePicture();
    void centreOnAnElement();

private:
    QTemporaryDir m_dir;
};

void tst_RenderCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFileInfo::exists(TARVEL_BIN_DIR "/tarvel-mdf"), "build the tarvel-mdf target first");
    const QList<std::pair<QString, QString>> mines{
        {"good", "u 1 0 0 0; u 2 100 0 0; u 3 100 0 50; b 1 1 2; b 2 2 3"},
        {"unchecked", "u 1 0 0 0; u 2 100 0 0; b 1 1 2; b 2 2 9"},
        {"uncoordinated", "u 1 0 0 0; u 2 100 - 0; b 1 1 2"},
        // 3,000 m by 800 m in a national grid, 5,400 km east of its origin.
        {"far", "u 1 5400000 7645 -300; u 2 5403000 7645 -300; u 3 5403000 8445 -250; u 4 5400000 8445 -350;"
                "u 5 5401500 8000 -300; b 1 1 2; b 2 2 3; b 3 3 4; b 4 4 1; b 5 1 5; b 6 5 3"},
    };
    for (const auto &[name, text] : mines) {
        TMineDocument doc;
        minetext::Build(*doc.Mine(), text);
        TMineFile::Save(doc, m_dir.filePath(name + QStringLiteral(".mdf")));
    }
    QFile bad(m_dir.filePath(QStringLiteral("bad.mdf")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a mine");
}

void tst_RenderCommand::render_data()
{
    QTest::addColumn<QStringList>("args");   // FILE is a name in the test folder, OUT is "out.*"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QSize>("picture");      // empty: no picture is left
    QTest::addColumn<QString>("stderr");     // a part of what stderr says (%D the folder); empty: says nothing

    QTest::newRow("defaults") << QStringList{"good", "out.png"} << 0 << QSize(1280, 800) << "";
    QTest::newRow("the largest size stated") << QStringList{"good", "out.png", "--size", "10000x1"} << 0
                                             << QSize(10000, 1) << "";
    QTest::newRow("about a node") << QStringList{"good", "out.png", "--center", "3"} << 0 << QSize(1280, 800) << "";
    QTest::newRow("about a branch") << QStringList{"good", "out.svg", "--center", "B:2"} << 0 << QSize(1280, 800)
                                    << "";
    QTest::newRow("every option") << QStringList{"good", "out.svg", "--size", "640x400", "--angles", "-30,45",
                                                  "--scale", "2.5", "--labels", "nodes", "--colors", "plan"}
                                  << 0 << QSize(640, 400) << "";
    QTest::newRow("check findings, no picture")
        << QStringList{"unchecked", "out.png"} << 1 << QSize() << "Обнаружены";
    QTest::newRow("a node without coordinates, no picture")
        << QStringList{"uncoordinated", "out.png"} << 1 << QSize() << "Обнаружены узлы без указанных коодинат:\n  - № 2,";
    QTest::newRow("about a node the mine has not") << QStringList{"good", "out.png", "--center", "7"} << 64 << QSize()
                                                   << "--center: the mine has no node 7";
    QTest::newRow("about a branch the mine has not") << QStringList{"good", "out.png", "--center", "B:9"} << 64
                                                     << QSize() << "--center: the mine has no branch 9";
    QTest::newRow("centre word") << QStringList{"good", "out.png", "--center", "middle"} << 64 << QSize()
                                 << "--center";
    QTest::newRow("unreadable file") << QStringList{"bad", "out.png"} << 2 << QSize()
                                     << "tarvel-mdf: FILE %D/bad.mdf: неизвестный формат файла\n";
    // In the tool's words, not the toolkit's.
    QTest::newRow("into a missing folder") << QStringList{"good", "no/such/out.png"} << 2 << QSize()
                                           << "tarvel-mdf: OUT %D/no/such/out.png: папка не существует\n";
    QTest::newRow("unknown picture kind") << QStringList{"good", "out.bmp"} << 64 << QSize() << "usage";
    QTest::newRow("scale beyond the bar") << QStringList{"good", "out.png", "--scale", "21"} << 64 << QSize()
                                          << "--scale";
    QTest::newRow("tilt beyond the bar") << QStringList{"good", "out.png", "--angles", "91,0"} << 64 << QSize()
                                         << "--angles";
    QTest::newRow("size too large") << QStringList{"good", "out.png", "--size", "20000x10"} << 64 << QSize()
                                    << "--size";
    QTest::newRow("labels word") << QStringList{"good", "out.png", "--labels", "all"} << 64 << QSize()
                                 << "--labels";
    QTest::newRow("option without value") << QStringList{"good", "out.png", "--colors"} << 64 << QSize()
                                          << "--colors";
    QTest::newRow("no OUT") << QStringList{"good"} << 64 << QSize() << "usage";
}

void tst_RenderCommand::render()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QSize, picture);
    QFETCH(QString, stderr);
    stderr.replace(QLatin1String("%D"), m_dir.path());

    const QString out = args.size() > 1 ? m_dir.filePath(args[1]) : QString();
    if (!out.isEmpty())
        QFile::remove(out);
    args[0] = m_dir.filePath(args[0] + QStringLiteral(".mdf"));
    if (args.size() > 1)
        args[1] = out;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf"), QStringList{"render"} + args);
    QVERIFY(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QCOMPARE(p.exitCode(), exitCode);
    if (stderr.isEmpty())
        QCOMPARE(err, QString());
    else
        QVERIFY2(err.contains(stderr), qPrintable(err));
    QVERIFY(p.readAllStandardOutput().isEmpty());
    if (picture.isEmpty()) {
        QVERIFY(out.isEmpty() || !QFile::exists(out));
    } else if (out.endsWith(QLatin1String(".png"))) {
        QCOMPARE(PngSize(out), picture);
    } else {
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(picture.width()).arg(picture.height()).toUtf8()));
    }
}

void tst_RenderCommand::pictureTurnsAboutTheNetwork()
{
    // Nodes at X 0..100, Z 0..50: fitted by 12.7 pixels a metre about (50, 25), the network
    // reaches from 5 to 1275 across and from 83 to 717 down, whichever branch is current.
    const QString out = m_dir.filePath(QStringLiteral("fit.svg"));
    QProcess p;
    p.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf"),
            {QStringLiteral("render"), m_dir.filePath(QStringLiteral("good.mdf")), out});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray svg = f.readAll();
    QVERIFY(svg.contains("points=\"5,717 1275,717 \""));
    QVERIFY(svg.contains("points=\"1275,717 1275,83 \""));
}

namespace {

// The points of the SVG's polylines (each drawn segment is one).
QList<QPoint> SvgPoints(const QByteArray &svg)
{
    QList<QPoint> points;
    static const QRegularExpression line(QStringLiteral("points=\"([^\"]*)\""));
    for (auto it = line.globalMatch(QString::fromUtf8(svg)); it.hasNext();) {
        for (const QString &pair : it.next().captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList xy = pair.split(QLatin1Char(','));
            points << QPoint(xy.value(0).toInt(), xy.value(1).toInt());
        }
    }
    return points;
}

QByteArray RenderSvg(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TARVEL_BIN_DIR "/tarvel-mdf"), QStringList{QStringLiteral("render")} + args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QByteArray();
    QFile f(args.value(1));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

void tst_RenderCommand::wholeNetworkInThePicture_data()
{
    QTest::addColumn<QString>("angles");
    QTest::addColumn<bool>("symmetric");   // the nodes lie at the corners of the box seen
    QTest::newRow("plan") << "90,0" << true;
    QTest::newRow("elevation") << "0,0" << false;
    QTest::newRow("30,45") << "30,45" << false;
    QTest::newRow("turned plan") << "90,120" << true;
}

void tst_RenderCommand::wholeNetworkInThePicture()
{
    // Far from the origin and long in X: every node inside the picture, which the network fills
    // in its tighter direction; the box of the network is centred, and so are the nodes when they
    // stand at its corners.
    QFETCH(QString, angles);
    QFETCH(bool, symmetric);
    const QString out = m_dir.filePath(QStringLiteral("far.svg"));
    const QByteArray svg = RenderSvg({m_dir.filePath(QStringLiteral("far.mdf")), out, QStringLiteral("--angles"), angles});
    const QList<QPoint> points = SvgPoints(svg);
    QCOMPARE(points.size(), 12);
    QRect box;
    for (const QPoint &p : points) {
        QVERIFY2(p.x() >= 0 && p.x() < 1280 && p.y() >= 0 && p.y() < 800, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        box |= QRect(p, QSize(1, 1));
    }
    QVERIFY2(box.width() >= 0.8 * 1280 || box.height() >= 0.8 * 800,
             qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));
    if (symmetric) {
        QVERIFY(std::abs(box.left() - (1279 - box.right())) <= 2);
        QVERIFY(std::abs(box.top() - (799 - box.bottom())) <= 2);
    }
    // A picture of its own marks no current element.
    QVERIFY(!svg.contains("#ffff00"));
}

void tst_RenderCommand::centreOnAnElement()
{
    // Node 3 at the top right of the network stands in the middle of the picture; the middle of
    // branch 5 (from node 1 to node 5) as well.
    const QString far = m_dir.filePath(QStringLiteral("far.mdf")), out = m_dir.filePath(QStringLiteral("centre.svg"));
    const QList<QPoint> node = SvgPoints(RenderSvg({far, out, QStringLiteral("--angles"), QStringLiteral("90,0"),
                                                    QStringLiteral("--center"), QStringLiteral("3")}));
    QVERIFY(node.contains(QPoint(640, 400)));
    const QList<QPoint> branch = SvgPoints(RenderSvg({far, out, QStringLiteral("--angles"), QStringLiteral("90,0"),
                                                      QStringLiteral("--center"), QStringLiteral("b:5")}));
    bool middle = false;
    for (int k = 0; k + 1 < branch.size(); k += 2) {
        const QPoint mid = (branch[k] + branch[k + 1]) / 2;
        middle = middle || (branch[k] != branch[k + 1] && std::abs(mid.x() - 640) <= 1 && std::abs(mid.y() - 400) <= 1);
    }
    QVERIFY2(middle, "no branch has its middle in the middle of the picture");
}

QTEST_GUILESS_MAIN(tst_RenderCommand)
#include "tst_RenderCommand.moc"
