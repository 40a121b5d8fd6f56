// tarvel-mdf render, run as a separate process without a display: exit status, what lands on
// stderr, and the picture it leaves (or does not leave).
#include "MineText.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QProcess>
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
    QTest::newRow("every option") << QStringList{"good", "out.svg", "--size", "640x400", "--angles", "-30,45",
                                                  "--scale", "2.5", "--labels", "nodes", "--colors", "plan"}
                                  << 0 << QSize(640, 400) << "";
    QTest::newRow("check findings, no picture")
        << QStringList{"unchecked", "out.png"} << 1 << QSize() << "Обнаружены";
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

QTEST_GUILESS_MAIN(tst_RenderCommand)
#include "tst_RenderCommand.moc"
