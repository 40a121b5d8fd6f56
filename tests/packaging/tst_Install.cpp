// Installing on a desktop: what `cmake --install` puts under a prefix, the menu entry, the mine
// file type as the desktop's MIME database sees it, the manual page against the tool's own
// usage, and the Debian package (only where dpkg-deb is present).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString kSource = QStringLiteral(TARVEL_SOURCE_DIR);
const QString kBuild = QDir::cleanPath(QStringLiteral(TARVEL_BIN_DIR) + QStringLiteral("/.."));

struct Result {
    int code = -1;
    QByteArray out, err;
};

Result run(const QString &program, const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    p.start(program, args);
    Result r;
    if (!p.waitForFinished(timeoutMs))
        return r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// What an installed tree must hold, relative to the prefix.
const QStringList kInstalled{
    QStringLiteral("bin/tarvel"),
    QStringLiteral("bin/tarvel-mdf"),
    QStringLiteral("libexec/tarvel/tarvel-mdf-pictures"),
    QStringLiteral("share/applications/tarvel.desktop"),
    QStringLiteral("share/icons/hicolor/scalable/apps/tarvel.svg"),
    QStringLiteral("share/mime/packages/tarvel.xml"),
    QStringLiteral("share/man/man1/tarvel-mdf.1"),
    QStringLiteral("share/tarvel/help/Tarvelian/index.html"),
    QStringLiteral("share/tarvel/help/Tarvelian/topic-6.html"),
};

} // namespace

class tst_Install : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installTree();
    void desktopEntryIsValid();
    void mineFilesAreKnownByTheirSignature_data();
    void mineFilesAreKnownByTheirSignature();
    void manualPagesNameEveryCommandAndOption();
    void debianPackage();

private:
    QTemporaryDir m_prefix;
    QTemporaryDir m_home;   // the user's own data folder, empty
};

void tst_Install::initTestCase()
{
    QVERIFY(m_prefix.isValid() && m_home.isValid());
    const Result r = run(QStringLiteral("cmake"), {QStringLiteral("--install"), kBuild, QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(r.code == 0, r.err.constData());

    // The desktop's MIME database as a session would see it, with another program installed
    // beside ours whose files are named ".mdf" too (a disk image, a database...): both types in
    // one database, as packages put them. This must happen before anything in this process
    // asks QMimeDatabase.
    const QString packages = m_prefix.filePath(QStringLiteral("share/mime/packages"));
    QFile other(packages + QStringLiteral("/other.xml"));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-other-mdf"><comment>other</comment><glob pattern="*.mdf"/>
    <magic priority="50"><match type="string" offset="0" value="OTHERMDF"/></magic></mime-type>
</mime-info>
)");
    other.close();
    const QString updateMime = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (!updateMime.isEmpty())
        QCOMPARE(run(updateMime, {m_prefix.filePath(QStringLiteral("share/mime"))}).code, 0);
    qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
    qputenv("XDG_DATA_DIRS", m_prefix.filePath(QStringLiteral("share")).toUtf8());
}

void tst_Install::installTree()
{
    for (const QString &file : kInstalled)
        QVERIFY2(QFileInfo(m_prefix.filePath(file)).isFile(), qPrintable(file + QStringLiteral(" is not installed")));
    // The file type and the icon are XML that must parse, or the desktop ignores them.
    for (const char *xml : {"share/mime/packages/tarvel.xml", "share/icons/hicolor/scalable/apps/tarvel.svg"}) {
        QFile f(m_prefix.filePath(QLatin1String(xml)));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&f);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(QLatin1String(xml) + QStringLiteral(": ") + reader.errorString()));
    }
    // The pictures program is the tool's helper, not a command of the user's.
    QVERIFY(!QFileInfo::exists(m_prefix.filePath(QStringLiteral("bin/tarvel-mdf-pictures"))));
    // The installed tool runs from its new place.
    const Result r = run(m_prefix.filePath(QStringLiteral("bin/tarvel-mdf")),
                         {QStringLiteral("info"), kSource + QStringLiteral("/examples/sample-mine.mdf")});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.startsWith("Version: 1.19\n"));
    // and hands a picture to the program beside it.
    const QString picture = m_prefix.filePath(QStringLiteral("mine.png"));
    const Result drawn = run(m_prefix.filePath(QStringLiteral("bin/tarvel-mdf")),
                             {QStringLiteral("render"), kSource + QStringLiteral("/examples/sample-mine.mdf"), picture});
    QVERIFY2(drawn.code == 0 && QFileInfo(picture).size() > 0, drawn.err.constData());
}

void tst_Install::desktopEntryIsValid()
{
    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validate.isEmpty())
        QSKIP("desktop-file-validate is not installed (desktop-file-utils): the menu entry is not checked");
    const QString entry = m_prefix.filePath(QStringLiteral("share/applications/tarvel.desktop"));
    const Result r = run(validate, {entry});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), (r.out + r.err).constData());
    const QString text = readText(entry);
    QVERIFY(text.contains(QStringLiteral("Name[ru]=Тарвел")));
    QVERIFY(text.contains(QStringLiteral("MimeType=application/x-tarvel-mine;")));
}

void tst_Install::mineFilesAreKnownByTheirSignature_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("type");
    QFile sample(kSource + QStringLiteral("/examples/sample-mine.mdf"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QByteArray mine = sample.readAll();
    QTest::newRow("a mine file") << "mine.mdf" << mine << "application/x-tarvel-mine";
    QTest::newRow("a mine file under another name") << "mine-copy" << mine << "application/x-tarvel-mine";
    QTest::newRow("another program's .mdf") << "disk.mdf" << QByteArray("OTHERMDF") + QByteArray(4096, '\0')
                                            << "application/x-other-mdf";
}

void tst_Install::mineFilesAreKnownByTheirSignature()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, type);
    QTemporaryDir dir;
    QFile f(dir.filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QCOMPARE(QMimeDatabase().mimeTypeForFile(f.fileName()).name(), type);
}

void tst_Install::manualPagesNameEveryCommandAndOption()
{
    const Result usage = run(QStringLiteral(TARVEL_BIN_DIR) + QStringLiteral("/tarvel-mdf"), {QStringLiteral("--help")});
    QCOMPARE(usage.code, 0);
    const QString text = QString::fromUtf8(usage.out);
    QStringList words;
    static const QRegularExpression command(QStringLiteral(R"(tarvel-mdf ([a-z-]+))"));
    for (auto it = command.globalMatch(text); it.hasNext();)
        words << it.next().captured(1);
    static const QRegularExpression option(QStringLiteral(R"(--[a-z]+)"));
    for (auto it = option.globalMatch(text); it.hasNext();)
        words << it.next().captured(0);
    QVERIFY(words.size() >= 10);

    // The manual page writes "-" as "\-"; the manual's page on the tool is HTML.
    const QString man = readText(kSource + QStringLiteral("/packaging/tarvel-mdf.1")).remove(u'\\');
    const QString html = readText(kSource + QStringLiteral("/help/ru/cli.html"));
    QStringList missing;
    for (const QString &w : std::as_const(words)) {
        if (!man.contains(w))
            missing << QStringLiteral("tarvel-mdf.1: ") + w;
        if (!html.contains(w))
            missing << QStringLiteral("cli.html: ") + w;
    }
    for (const char *code : {"64", "2", "1", "0"})
        if (!man.contains(QStringLiteral(".B %1\n").arg(QLatin1String(code))))
            missing << QStringLiteral("tarvel-mdf.1: exit status ") + QLatin1String(code);
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
}

void tst_Install::debianPackage()
{
    const QString dpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
    if (dpkgDeb.isEmpty())
        QSKIP("dpkg-deb is not installed: the Debian package is not built");
    QTemporaryDir out;
    const Result made = run(QStringLiteral("cpack"), {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                                      kBuild + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"), out.path()},
                            280000);
    QVERIFY2(made.code == 0, (made.out + made.err).constData());
    const QStringList debs = QDir(out.path()).entryList({QStringLiteral("tarvel_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    const QString deb = out.filePath(debs.first());

    const Result fields = run(dpkgDeb, {QStringLiteral("--field"), deb, QStringLiteral("Package"), QStringLiteral("Depends")});
    QCOMPARE(fields.code, 0);
    for (const char *dep : {"Package: tarvel", "libqt6widgets6 (>= ", "libqt6printsupport6", "libqt6svg6", "qt6-qpa-plugins"})
        QVERIFY2(fields.out.contains(dep), fields.out.constData());

    const Result contents = run(dpkgDeb, {QStringLiteral("--contents"), deb});
    QCOMPARE(contents.code, 0);
    for (const QString &file : kInstalled)
        QVERIFY2(contents.out.contains(("./usr/" + file).toUtf8()), qPrintable(file + QStringLiteral(" is not in the package")));
    // Only the programs' own files: no tests, benchmarks or build trees.
    QVERIFY(!contents.out.contains("tst_"));
    QVERIFY(!contents.out.contains("make-sample-mine"));
}

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_Install.moc"
