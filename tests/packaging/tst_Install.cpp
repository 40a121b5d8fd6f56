// Installing on a desktop: what `cmake --install` puts under a prefix, the menu entry (which
// names the installed program by its absolute path), the desktop opening a mine with it, the
// mine file type as the desktop's MIME database sees it, the manual pages against the tools' own
// usage, uninstalling, and the Debian package with lintian's verdict (only where dpkg-deb is
// present).
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

#include <csignal>

namespace {

const QString kSource = QStringLiteral(TARVEL_SOURCE_DIR);
const QString kBuild = QDir::cleanPath(QStringLiteral(TARVEL_BIN_DIR) + QStringLiteral("/.."));

struct Result {
    int code = -1;
    QByteArray out, err;
};

Result run(const QString &program, const QStringList &args, int timeoutMs = 120000,
           const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
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
    QStringLiteral("share/man/man1/tarvel.1.gz"),
    QStringLiteral("share/man/man1/tarvel-mdf.1.gz"),
    QStringLiteral("share/doc/tarvel/copyright"),
    QStringLiteral("share/doc/tarvel/changelog.Debian.gz"),
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
    void desktopOpensAMineWithTheInstalledEditor();
    void mineFilesAreKnownByTheirSignature_data();
    void mineFilesAreKnownByTheirSignature();
    void manualPagesNameEveryCommandAndOption_data();
    void manualPagesNameEveryCommandAndOption();
    void debianPackage();
    void uninstallRemovesWhatWasInstalled();

private:
    QTemporaryDir m_prefix;
    QTemporaryDir m_home;   // the user's own data folder, empty
    QStringList m_manifest; // what the install put there
};

void tst_Install::initTestCase()
{
    QVERIFY(m_prefix.isValid() && m_home.isValid());
    // The install lists its files in the build's install_manifest.txt, which is the developer's
    // own install's list (for the uninstall target): it is put back afterwards.
    QFile manifest(kBuild + QStringLiteral("/install_manifest.txt"));
    const bool hadManifest = manifest.open(QIODevice::ReadOnly);
    const QByteArray developers = hadManifest ? manifest.readAll() : QByteArray();
    manifest.close();
    const Result r = run(QStringLiteral("cmake"), {QStringLiteral("--install"), kBuild, QStringLiteral("--prefix"), m_prefix.path(),
                                                   QStringLiteral("--strip")});
    m_manifest = readText(manifest.fileName()).split(u'\n', Qt::SkipEmptyParts);
    if (hadManifest) {
        QVERIFY(manifest.open(QIODevice::WriteOnly | QIODevice::Truncate));
        manifest.write(developers);
        manifest.close();
    } else {
        manifest.remove();
    }
    QVERIFY2(r.code == 0, r.err.constData());
    QVERIFY(m_manifest.size() >= kInstalled.size());

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
    // What only a package needs stays out of a user's prefix.
    QVERIFY(!QFileInfo::exists(m_prefix.filePath(QStringLiteral("share/lintian"))));
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
    // The program by its absolute path: the prefix's bin need not be on the session's PATH.
    const QString program = QDir(m_prefix.path()).canonicalPath() + QStringLiteral("/bin/tarvel");
    QVERIFY2(text.contains(QStringLiteral("\nExec=") + program + QStringLiteral(" %F\n"))
                 || text.contains(QStringLiteral("\nExec=") + m_prefix.filePath(QStringLiteral("bin/tarvel")) + QStringLiteral(" %F\n")),
             qPrintable(text));
    QVERIFY(QFileInfo(program).isExecutable());
}

namespace {

// The processes running program (an absolute path), with their command lines.
QMap<qint64, QStringList> processesOf(const QString &program)
{
    QMap<qint64, QStringList> found;
    const QString target = QFileInfo(program).canonicalFilePath();
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 id = pid.toLongLong(&number);
        if (!number || QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).canonicalFilePath() != target)
            continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (cmdline.open(QIODevice::ReadOnly)) {
            QStringList args;
            for (const QByteArray &a : cmdline.readAll().split('\0'))
                args << QString::fromLocal8Bit(a);
            found.insert(id, args);
        }
    }
    return found;
}

} // namespace

// What a user of the installed menu entry does: opens a mine file from the desktop (gio open, as
// file managers do). The desktop starts the installed editor with the file, although the
// prefix's bin is not on PATH; the file needs no ".mdf" for the desktop or the editor.
void tst_Install::desktopOpensAMineWithTheInstalledEditor()
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        QSKIP("gio is not installed (libglib2.0-bin): the desktop's opening of a mine is not checked");
    QTemporaryDir session;
    QVERIFY(session.isValid());
    for (const char *sub : {"config", "run", "data"})
        QVERIFY(QDir(session.path()).mkdir(QLatin1String(sub)));
    QFile::setPermissions(session.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString mine = session.filePath(QStringLiteral("шахта-копия"));
    QVERIFY(QFile::copy(kSource + QStringLiteral("/examples/sample-mine.mdf"), mine));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), session.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), session.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), session.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), m_prefix.filePath(QStringLiteral("share")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), session.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("X-Generic"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QVERIFY(!env.value(QStringLiteral("PATH")).contains(m_prefix.path()));

    const QString program = m_prefix.filePath(QStringLiteral("bin/tarvel"));
    const Result opened = run(gio, {QStringLiteral("open"), mine}, 60000, env);
    QVERIFY2(opened.code == 0, (opened.out + opened.err).constData());
    QMap<qint64, QStringList> editors;
    QTRY_VERIFY_WITH_TIMEOUT(!(editors = processesOf(program)).isEmpty(), 20000);
    for (auto it = editors.cbegin(); it != editors.cend(); ++it)
        ::kill(pid_t(it.key()), SIGTERM);
    QCOMPARE(editors.size(), 1);
    QVERIFY2(editors.first().contains(mine), qPrintable(editors.first().join(u' ')));
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

void tst_Install::manualPagesNameEveryCommandAndOption_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("html");         // the manual's page on it, "" none
    QTest::addColumn<QStringList>("codes");    // exit statuses
    QTest::addColumn<int>("least");            // commands and options its usage names at least
    QTest::newRow("tarvel-mdf") << "tarvel-mdf" << "cli.html" << QStringList{"64", "2", "1", "0"} << 10;
    QTest::newRow("tarvel") << "tarvel" << "" << QStringList{"64", "1", "0"} << 4;
}

void tst_Install::manualPagesNameEveryCommandAndOption()
{
    QFETCH(QString, program);
    QFETCH(QString, html);
    QFETCH(QStringList, codes);
    QFETCH(int, least);
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    noDisplay.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const Result usage = run(QStringLiteral(TARVEL_BIN_DIR "/") + program, {QStringLiteral("--help")}, 120000, noDisplay);
    QCOMPARE(usage.code, 0);
    const QString text = QString::fromUtf8(usage.out);
    QStringList words;
    static const QRegularExpression command(QStringLiteral(R"(tarvel-mdf ([a-z-]+))"));
    for (auto it = command.globalMatch(text); it.hasNext();)
        words << it.next().captured(1);
    static const QRegularExpression option(QStringLiteral(R"((?<![\w-])--?[a-zA-Z]+)"));
    for (auto it = option.globalMatch(text); it.hasNext();)
        words << it.next().captured(0);
    QVERIFY(words.size() >= least);

    // The manual page writes "-" as "\-"; the manual's page on the tool is HTML.
    const QString manName = program + QStringLiteral(".1");
    const QString man = readText(kSource + QStringLiteral("/packaging/") + manName).remove(u'\\');
    const QString page = html.isEmpty() ? QString() : readText(kSource + QStringLiteral("/help/ru/") + html);
    QStringList missing;
    for (const QString &w : std::as_const(words)) {
        if (!man.contains(w))
            missing << manName + QStringLiteral(": ") + w;
        if (!html.isEmpty() && !page.contains(w))
            missing << html + QStringLiteral(": ") + w;
    }
    for (const QString &code : std::as_const(codes))
        if (!man.contains(QStringLiteral(".B %1\n").arg(code)))
            missing << manName + QStringLiteral(": exit status ") + code;
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

    // The long description is flowing text: its lines start with one space (two would show it
    // as preformatted lines).
    const Result description = run(dpkgDeb, {QStringLiteral("--field"), deb, QStringLiteral("Description")});
    const QList<QByteArray> lines = description.out.trimmed().split('\n');
    QVERIFY(lines.size() > 2);
    for (const QByteArray &line : lines.mid(1))
        QVERIFY2(line.startsWith(' ') && !line.startsWith("  "), line.constData());

    const Result contents = run(dpkgDeb, {QStringLiteral("--contents"), deb});
    QCOMPARE(contents.code, 0);
    for (const QString &file : kInstalled)
        QVERIFY2(contents.out.contains(("./usr/" + file).toUtf8()), qPrintable(file + QStringLiteral(" is not in the package")));
    // Only the programs' own files: no tests, benchmarks or build trees.
    QVERIFY(!contents.out.contains("tst_"));
    QVERIFY(!contents.out.contains("make-sample-mine"));
    QVERIFY(contents.out.contains("./usr/share/lintian/overrides/tarvel\n"));

    // The package's menu entry names the program where the package puts it.
    QTemporaryDir unpacked;
    QCOMPARE(run(dpkgDeb, {QStringLiteral("-x"), deb, unpacked.path()}).code, 0);
    QVERIFY(readText(unpacked.filePath(QStringLiteral("usr/share/applications/tarvel.desktop")))
                .contains(QStringLiteral("\nExec=/usr/bin/tarvel %F\n")));

    // Debian's own checks of a package: no error, no warning.
    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    QVERIFY2(!lintian.isEmpty(), "lintian is not installed: scripts/test installs it");
    const Result verdict = run(lintian, {QStringLiteral("--fail-on"), QStringLiteral("error,warning"), deb}, 280000);
    QVERIFY2(verdict.code == 0, (verdict.out + verdict.err).constData());
}

// Uninstalling (the uninstall target runs this script on build/install_manifest.txt) removes
// every file the install listed and the folders only ours filled.
void tst_Install::uninstallRemovesWhatWasInstalled()
{
    QTemporaryDir dir;
    QFile manifest(dir.filePath(QStringLiteral("install_manifest.txt")));
    QVERIFY(manifest.open(QIODevice::WriteOnly));
    manifest.write(m_manifest.join(u'\n').toUtf8() + '\n');
    manifest.close();
    const Result r = run(QStringLiteral("cmake"), {QStringLiteral("-DMANIFEST=") + manifest.fileName(), QStringLiteral("-P"),
                                                   kSource + QStringLiteral("/packaging/Uninstall.cmake")});
    QVERIFY2(r.code == 0, (r.out + r.err).constData());
    QStringList left;
    for (const QString &file : std::as_const(m_manifest))
        if (QFileInfo::exists(file))
            left << file;
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
    for (const char *folder : {"share/tarvel", "libexec/tarvel", "share/doc/tarvel"})
        QVERIFY2(!QFileInfo::exists(m_prefix.filePath(QLatin1String(folder))), folder);
    QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("share/mime/packages/other.xml"))).isFile());
}

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_Install.moc"
