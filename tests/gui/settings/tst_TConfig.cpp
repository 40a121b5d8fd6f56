// The settings object against a store in a temporary folder: first run, round trips, every read
// and write failure rule, the recent-files list and its menus, and the folders.
#include "AppTestHooks.h"
#include "ConfigAttrs.h"
#include "settings/TConfig.h"
#include "settings/TRegistry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Attrs defaultAttrs()
{
    Attrs a;
    for (int k = 0; k < CellKindCount; ++k)
        a[k] = TConfig::DefaultAttr(k);
    return a;
}

// Settings that differ from the defaults in every field the store keeps.
void fillNonDefault(TConfig &c)
{
    c.UseColor = false;
    c.Fontname = QStringLiteral("Times New Roman");
    c.FontSize = 11;
    for (int k = 0; k < CellKindCount; ++k) {
        TCellAttr a;
        a.Color = 0x00010203u * quint32(k + 1);
        a.FontColor = 0x00302010u + quint32(k);
        a.Bold = k % 2 == 0;
        a.Italic = k % 3 == 0;
        a.Underline = k % 4 == 0;
        c.Attr(k) = a;
    }
    c.LastFilesCount = 9;
    c.PressureMode = 1;
    c.Surname = QStringLiteral("Иванов; \"И.И.\", = @1");
    c.Post = QStringLiteral("@Главный инженер");
    c.LastFiles = {QStringLiteral("/home/u/Шахта 1.mdf"), QStringLiteral("/data/a,b;c=d.mdf"),
                   QStringLiteral("/data/@x.mdf")};
    c.JumperPanelHeight = 231;
    c.MessagePanelHeight = 90;
    c.UzelTableWidth = 305;
    c.RecoveryMinutes = 7;
}

} // namespace

class TestTConfig : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_store;

    QString iniFile() const { return TRegistry::StoreFileName(); }

    void saveNonDefault()
    {
        TConfig c(false);
        fillNonDefault(c);
        c.SaveOptions();
        c.SaveGrid();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_store = std::make_unique<QTemporaryDir>();
        QVERIFY(m_store->isValid());
        TRegistry::SetStoreFolder(m_store->path());
    }

    void cleanup() { TRegistry::SetStoreFolder(QString()); }

    void firstRunKeepsDefaultsAndWritesTheKeysAtExit()
    {
        AppTestHooks boxes;
        TConfig c(false);
        c.LoadOptions();
        c.LoadGrid();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(c.Fontname, QStringLiteral("MS Sans Serif"));
        QCOMPARE(c.FontSize, 8);
        QVERIFY(attrsOf(c) == defaultAttrs());
        QCOMPARE(c.LastFilesCount, 6);
        QVERIFY(c.UseColor);
        QCOMPARE(c.PressureMode, 0);
        QVERIFY(c.LastFiles.isEmpty());
        QVERIFY(!QFile::exists(iniFile()));

        c.AddLastFile(QStringLiteral("/mine/first.mdf"));
        c.SaveOptions();
        c.SaveGrid();
        QVERIFY(boxes.texts().isEmpty());
        TRegistry reg;
        for (const QString &key : {OptionsKey, GridKey, LastFilesKey})
            QVERIFY2(reg.KeyExists(key), qPrintable(key));
        QVERIFY(reg.OpenKey(GridKey, false));
        QCOMPARE(reg.GetDataType(QStringLiteral("FontSize")), TRegistry::ValueType::Integer);
        QCOMPARE(reg.GetDataType(QStringLiteral("Fontname")), TRegistry::ValueType::String);
        for (int k = 0; k < CellKindCount; ++k)
            QCOMPARE(reg.ReadBinaryData(TConfig::KindValueName(k)).size(), 11);
        QVERIFY(reg.OpenKey(OptionsKey, false));
        QCOMPARE(reg.GetDataType(QStringLiteral("UseColor")), TRegistry::ValueType::Integer);
        QCOMPARE(reg.ReadInteger(QStringLiteral("LastFilesCount")), 6);
    }

    void everythingSurvivesARestart()
    {
        saveNonDefault();
        TConfig expected(false);
        fillNonDefault(expected);

        AppTestHooks boxes;
        TConfig c(false);
        c.LoadOptions();
        c.LoadGrid();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(c.UseColor, expected.UseColor);
        QCOMPARE(c.Fontname, expected.Fontname);
        QCOMPARE(c.FontSize, expected.FontSize);
        QVERIFY(attrsOf(c) == attrsOf(expected));
        QCOMPARE(c.LastFilesCount, expected.LastFilesCount);
        QCOMPARE(c.PressureMode, expected.PressureMode);
        QCOMPARE(c.Surname, expected.Surname);
        QCOMPARE(c.Post, expected.Post);
        QCOMPARE(c.LastFiles, expected.LastFiles);
        QCOMPARE(c.JumperPanelHeight, expected.JumperPanelHeight);
        QCOMPARE(c.MessagePanelHeight, expected.MessagePanelHeight);
        QCOMPARE(c.UzelTableWidth, expected.UzelTableWidth);
        QCOMPARE(c.RecoveryMinutes, expected.RecoveryMinutes);
    }

    void attributeBytesAreLaidOutLittleEndian()
    {
        TCellAttr a;
        a.Color = 0x00D8D800;
        a.FontColor = 0x0000FFFF;
        a.Bold = true;
        a.Underline = true;
        QCOMPARE(a.ToBytes(), QByteArray::fromHex("00d8d800ffff0000010001"));
        TCellAttr b;
        b.OverlayBytes(a.ToBytes());
        QVERIFY(b == a);
    }

    void gridReadFailureRestoresGridDefaultsOnly_data()
    {
        QTest::addColumn<QString>("corruption");
        QTest::newRow("CellAttr of 12 bytes") << "CellAttr=hex:00,00,00,00,00,00,00,00,00,00,00,00";
        QTest::newRow("last attribute too long") << "AfterFireCellAttr=hex:01,02,03,04,05,06,07,08,09,0a,0b,0c,0d";
        QTest::newRow("attribute held as a string") << "SelCellAttr=sz:white";
        QTest::newRow("attribute of no declared type") << "SurfCellAttr=00ffff";
        QTest::newRow("font size held as a string") << "FontSize=sz:8";
        QTest::newRow("font size of no declared type") << "FontSize=8";
        QTest::newRow("font name held as an integer") << "Fontname=dword:00000001";
    }

    void gridReadFailureRestoresGridDefaultsOnly()
    {
        QFETCH(QString, corruption);
        saveNonDefault();
        {
            QSettings ini(iniFile(), QSettings::IniFormat);
            const int eq = corruption.indexOf(u'=');
            ini.setValue(QStringLiteral("Software/Kelmar/Tarvelian/1.0/Options/Grid/") +
                             corruption.left(eq),
                         corruption.mid(eq + 1));
        }
        TConfig expected(false);
        fillNonDefault(expected);

        AppTestHooks boxes;
        TConfig c(false);
        c.LoadOptions();
        c.LoadGrid();
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral(
                                  "Ошибка при чтении настроек из реестра.\r\nВсе параметры будут "
                                  "выставлены по умолчанию")});
        QCOMPARE(boxes.boxes.value(0).icon, QMessageBox::Critical);
        QCOMPARE(boxes.boxes.value(0).buttons, QMessageBox::Ok);
        QCOMPARE(c.Fontname, QStringLiteral("MS Sans Serif"));
        QCOMPARE(c.FontSize, 8);
        QVERIFY(attrsOf(c) == defaultAttrs());
        // The options and the recent files are read apart from the grid and stay as stored.
        QCOMPARE(c.LastFilesCount, expected.LastFilesCount);
        QCOMPARE(c.UseColor, expected.UseColor);
        QCOMPARE(c.PressureMode, expected.PressureMode);
        QCOMPARE(c.Surname, expected.Surname);
        QCOMPARE(c.LastFiles, expected.LastFiles);
    }

    void shortOrAbsentAttributesChangeOnlyWhatTheyHold()
    {
        {
            TRegistry reg;
            QVERIFY(reg.OpenKey(GridKey, true));
            reg.WriteString(QStringLiteral("Fontname"), QStringLiteral("Arial"));
            reg.WriteInteger(QStringLiteral("FontSize"), 10);
            // Only the cell colour of "Данные"; no other attribute is stored.
            reg.WriteBinaryData(QStringLiteral("CellAttr"), QByteArray::fromHex("102030"));
            reg.WriteBinaryData(QStringLiteral("WaveCellAttr"), QByteArray());
            QVERIFY(reg.Flush());
        }
        AppTestHooks boxes;
        TConfig c(false);
        c.LoadGrid();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(c.Fontname, QStringLiteral("Arial"));
        QCOMPARE(c.FontSize, 10);
        TCellAttr data = TConfig::DefaultAttr(ckData);
        data.Color = 0x00302010;
        Attrs expected = defaultAttrs();
        expected[ckData] = data;
        QVERIFY(attrsOf(c) == expected);
    }

    void missingStringsReadAsEmpty()
    {
        {
            TRegistry reg;
            QVERIFY(reg.OpenKey(OptionsKey, true));
            reg.WriteInteger(QStringLiteral("LastFilesCount"), 4);
            reg.WriteInteger(QStringLiteral("UseColor"), 0);
            reg.WriteInteger(QStringLiteral("PressureMode"), 1);
            QVERIFY(reg.OpenKey(GridKey, true));
            reg.WriteInteger(QStringLiteral("FontSize"), 12);
            QVERIFY(reg.Flush());
        }
        AppTestHooks boxes;
        TConfig c(false);
        c.Surname = QStringLiteral("old");
        c.LoadOptions();
        c.LoadGrid();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(c.LastFilesCount, 4);
        QVERIFY(!c.UseColor);
        QCOMPARE(c.PressureMode, 1);
        QCOMPARE(c.Surname, QString());
        QCOMPARE(c.Post, QString());
        QCOMPARE(c.Fontname, QString());
        QCOMPARE(c.FontSize, 12);
    }

    void optionsReadFailureRestoresOptionDefaultsSilently_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");   // empty: the value is removed
        QTest::newRow("LastFilesCount missing") << "LastFilesCount" << "";
        QTest::newRow("UseColor held as a string") << "UseColor" << "sz:1";
        QTest::newRow("PressureMode of no declared type") << "PressureMode" << "1";
        QTest::newRow("Surname held as an integer") << "Surname" << "dword:00000001";
        QTest::newRow("Post held as bytes") << "Post" << "hex:41,42";
        QTest::newRow("capacity of no files") << "LastFilesCount" << "dword:00000000";
        QTest::newRow("capacity beyond a byte") << "LastFilesCount" << "dword:00000100";
        QTest::newRow("unknown pressure presentation") << "PressureMode" << "dword:00000002";
    }

    void optionsReadFailureRestoresOptionDefaultsSilently()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        saveNonDefault();
        {
            QSettings ini(iniFile(), QSettings::IniFormat);
            const QString path = QStringLiteral("Software/Kelmar/Tarvelian/1.0/Options/") + name;
            if (stored.isEmpty())
                ini.remove(path);
            else
                ini.setValue(path, stored);
        }
        TConfig expected(false);
        fillNonDefault(expected);

        AppTestHooks boxes;
        TConfig c(false);
        c.LoadOptions();
        c.LoadGrid();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(c.LastFilesCount, 6);
        QVERIFY(c.UseColor);
        QCOMPARE(c.PressureMode, 0);
        QCOMPARE(c.Surname, QString());
        QCOMPARE(c.Post, QString());
        QCOMPARE(c.LastFiles, expected.LastFiles);
        QCOMPARE(c.Fontname, expected.Fontname);
        QVERIFY(attrsOf(c) == attrsOf(expected));
    }

    // The interval of the recovery copies came later than the other options: a store without
    // it, or with a value of no use, gives the default and keeps everything else.
    void recoveryMinutesReadOnItsOwn_data()
    {
        QTest::addColumn<QString>("stored");   // empty: the value is removed
        QTest::addColumn<int>("minutes");
        QTest::newRow("missing") << "" << 2;
        QTest::newRow("off") << "dword:00000000" << 0;
        QTest::newRow("a day") << "dword:000005a0" << 1440;
        QTest::newRow("beyond a day") << "dword:000005a1" << 2;
        QTest::newRow("negative") << "dword:ffffffff" << 2;
        QTest::newRow("held as a string") << "sz:5" << 2;
    }

    void recoveryMinutesReadOnItsOwn()
    {
        QFETCH(QString, stored);
        QFETCH(int, minutes);
        saveNonDefault();
        {
            QSettings ini(iniFile(), QSettings::IniFormat);
            const QString path = QStringLiteral("Software/Kelmar/Tarvelian/1.0/Options/RecoveryMinutes");
            if (stored.isEmpty())
                ini.remove(path);
            else
                ini.setValue(path, stored);
        }
        TConfig c(false);
        c.LoadOptions();
        QCOMPARE(c.RecoveryMinutes, minutes);
        QCOMPARE(c.LastFilesCount, 9);
        QCOMPARE(c.PressureMode, 1);
    }

    void badRecentEntryEmptiesTheListSilently()
    {
        saveNonDefault();
        {
            QSettings ini(iniFile(), QSettings::IniFormat);
            ini.setValue(QStringLiteral("Software/Kelmar/Tarvelian/1.0/LastFiles/1"),
                         QStringLiteral("dword:00000001"));
        }
        AppTestHooks boxes;
        TConfig c(false);
        c.LoadOptions();
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(c.LastFiles.isEmpty());
        QCOMPARE(c.LastFilesCount, 9);
        QCOMPARE(c.PressureMode, 1);
    }

    void twelveRecentFilesComeBackInOrderWithTheirCaptions()
    {
        QStringList files;
        for (int i = 0; i < 12; ++i)
            files.append(QStringLiteral("/mines/m%1.mdf").arg(QChar(u'a' + i)));
        {
            TConfig c(false);
            c.LastFiles = files;
            c.SaveOptions();
        }
        TConfig c(false);
        c.LoadOptions();
        QCOMPARE(c.LastFiles, files);   // "10" and "11" are listed before "2" in the file

        QMenu fileMenu;
        QMenu *recent = fileMenu.addMenu(QStringLiteral("Последние с&еансы"));
        QMenu popup;
        QStringList opened;
        c.UpdateLastFilesMenus(recent, &popup, [&](const QString &path) { opened.append(path); });
        QVERIFY(recent->menuAction()->isVisible());
        for (QMenu *menu : {recent, &popup}) {
            const QList<QAction *> items = menu->actions();
            QCOMPARE(items.size(), 12);
            QCOMPARE(items[0]->text(), QStringLiteral("&1 /mines/ma.mdf"));
            QCOMPARE(items[8]->text(), QStringLiteral("&9 /mines/mi.mdf"));
            QCOMPARE(items[9]->text(), QStringLiteral("10 /mines/mj.mdf"));
            QCOMPARE(items[11]->text(), QStringLiteral("12 /mines/ml.mdf"));
            items[9]->trigger();
        }
        QCOMPARE(opened, (QStringList{files[9], files[9]}));

        // Rebuilt from an empty list: no items and no sub-menu.
        c.LastFiles.clear();
        c.UpdateLastFilesMenus();
        QVERIFY(recent->actions().isEmpty());
        QVERIFY(popup.actions().isEmpty());
        QVERIFY(!recent->menuAction()->isVisible());
    }

    void captionsShowAmpersandsOfPaths()
    {
        QCOMPARE(TConfig::LastFileCaption(0, QStringLiteral("/a&b.mdf")),
                 QStringLiteral("&1 /a&&b.mdf"));
    }

    void addLastFile_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("after");
        const QStringList six{"/f", "/e", "/d", "/c", "/b", "/a"};
        QTest::newRow("into an empty list") << QStringList{} << 6 << "/x" << QStringList{"/x"};
        QTest::newRow("known path moves up, nothing dropped")
            << six << 6 << "/C" << QStringList{"/C", "/f", "/e", "/d", "/b", "/a"};
        QTest::newRow("top entry stays") << six << 6 << "/f" << six;
        QTest::newRow("seventh new path drops the oldest")
            << six << 6 << "/g" << QStringList{"/g", "/f", "/e", "/d", "/c", "/b"};
        QTest::newRow("list not yet full grows")
            << QStringList{"/b", "/a"} << 6 << "/c" << QStringList{"/c", "/b", "/a"};
        QTest::newRow("list read longer than its capacity keeps its length")
            << six << 3 << "/g" << QStringList{"/g", "/f", "/e", "/d", "/c", "/b"};
    }

    void addLastFile()
    {
        QFETCH(QStringList, before);
        QFETCH(int, capacity);
        QFETCH(QString, added);
        QFETCH(QStringList, after);
        TConfig c(false);
        c.LastFiles = before;
        c.LastFilesCount = quint8(capacity);
        QMenu sub, popup;
        c.UpdateLastFilesMenus(&sub, &popup, {});
        c.AddLastFile(added);
        QCOMPARE(c.LastFiles, after);
        // The menus follow at once.
        QCOMPARE(sub.actions().size(), after.size());
        QCOMPARE(popup.actions().first()->text(), QStringLiteral("&1 ") + added);
    }

    void assignDisplayCopiesExactlyTheDisplaySettings()
    {
        TConfig source(false);
        fillNonDefault(source);
        TConfig target(false);
        target.Surname = QStringLiteral("keep");
        const QStringList files{QStringLiteral("/keep.mdf")};
        target.LastFiles = files;
        target.DataDir = QStringLiteral("/keep/");
        target.AssignDisplay(source);

        QCOMPARE(target.Fontname, source.Fontname);
        QCOMPARE(target.FontSize, source.FontSize);
        QVERIFY(attrsOf(target) == attrsOf(source));
        QCOMPARE(target.PressureMode, source.PressureMode);
        QVERIFY(target.UseColor);
        QCOMPARE(target.LastFilesCount, 6);
        QCOMPARE(target.LastFiles, files);
        QCOMPARE(target.Surname, QStringLiteral("keep"));
        QCOMPARE(target.Post, QString());
        QCOMPARE(target.DataDir, QStringLiteral("/keep/"));
    }

    void writeFailuresAreReported()
    {
        // The store's folder cannot exist: its parent is a file.
        QFile blocker(m_store->filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TRegistry::SetStoreFolder(blocker.fileName());

        AppTestHooks boxes;
        TConfig c(false);
        c.SaveOptions();
        QCOMPARE(boxes.texts(), (QStringList{QStringLiteral("Ошибка при записи настроек в реестр"),
                                           QStringLiteral("Ошибка при записи списка файлов в реестр")}));
        c.SaveGrid();
        QCOMPARE(boxes.texts().size(), 3);
        QCOMPARE(boxes.texts().last(), QStringLiteral("Ошибка при записи настроек в реестр"));
    }

    void garbageStoreNeverBreaksStartUp()
    {
        QDir().mkpath(QFileInfo(iniFile()).absolutePath());
        QFile f(iniFile());
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919) % 256));
        f.write(junk);
        f.close();

        AppTestHooks boxes;
        TConfig c(false);
        c.LoadOptions();
        c.LoadGrid();
        QVERIFY(c.LastFilesCount >= 1);
        QVERIFY(c.PressureMode <= 1);

        // The damaged store is replaced by a good one at exit.
        c.Surname = QStringLiteral("Сидоров");
        c.SaveOptions();
        c.SaveGrid();
        QVERIFY(boxes.texts().isEmpty());
        TConfig again(false);
        again.LoadOptions();
        QCOMPARE(again.Surname, QStringLiteral("Сидоров"));
    }

    // A pipe in the store's place would hold the start until some program wrote into it: the
    // program starts with the defaults, leaves the pipe alone and says that it could not save.
    void pipeInPlaceOfTheStore()
    {
        QDir().mkpath(QFileInfo(iniFile()).absolutePath());
        QVERIFY(::mkfifo(QFile::encodeName(iniFile()).constData(), 0600) == 0);
        AppTestHooks boxes;
        auto start = std::async(std::launch::async, [] {
            TConfig c(false);
            c.LoadOptions();
            c.LoadGrid();
            return c.FontSize;
        });
        if (start.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Let the reader go (it sees an empty file), then fail.
            const int fd = ::open(QFile::encodeName(iniFile()).constData(), O_WRONLY | O_NONBLOCK);
            ::close(fd);
            start.wait();
            QFAIL("reading a pipe as the settings store hung");
        }
        QCOMPARE(start.get(), 8);
        TConfig c(false);
        c.SaveOptions();
        QVERIFY(!boxes.texts().isEmpty());
        QCOMPARE(boxes.texts().first(), QStringLiteral("Ошибка при записи настроек в реестр"));
        QVERIFY(!QFileInfo(iniFile()).isFile());
    }

    void folders()
    {
        TConfig c(false);
        QVERIFY(c.ProgramDir.endsWith(u'/'));
        QCOMPARE(QDir(c.ProgramDir).canonicalPath(), QDir(QCoreApplication::applicationDirPath()).canonicalPath());
        QCOMPARE(c.HelpDir, TConfig::ResolveHelpDir(c.ProgramDir));

        // Documents go to the user's documents folder, never beside the program (a build folder
        // is deleted for a clean rebuild); the folder is made on the way.
        QTemporaryDir root;
        const QString data = TConfig::ResolveDataDir(root.filePath(QStringLiteral("Документы")));
        QCOMPARE(data, root.filePath(QStringLiteral("Документы/Tarvel/")));
        QVERIFY(QFileInfo(data).isDir());
        QCOMPARE(QDir(c.DataDir).dirName(), QStringLiteral("Tarvel"));
        // Where that cannot be made, the home folder.
        QFile blocker(root.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(TConfig::ResolveDataDir(blocker.fileName()), QDir::homePath() + u'/');

        // Help: beside a program kept in its own folder (a build); in share/ of an installed one.
        const QString bin = root.filePath(QStringLiteral("build/bin/"));
        QVERIFY(QDir().mkpath(bin));
        QCOMPARE(TConfig::ResolveHelpDir(bin), bin + QStringLiteral("Help/"));
        const QString prefix = root.filePath(QStringLiteral("prefix"));
        QVERIFY(QDir().mkpath(prefix + QStringLiteral("/bin")));
        QVERIFY(QDir().mkpath(prefix + QStringLiteral("/share/tarvel/help/Tarvelian")));
        QCOMPARE(TConfig::ResolveHelpDir(prefix + QStringLiteral("/bin/")), prefix + QStringLiteral("/share/tarvel/help/"));
        // A build beside such a tree still reads its own help.
        QVERIFY(QDir().mkpath(prefix + QStringLiteral("/bin/Help")));
        QCOMPARE(TConfig::ResolveHelpDir(prefix + QStringLiteral("/bin/")), prefix + QStringLiteral("/bin/Help/"));
    }

    void startAndFinish()
    {
        const QString cwd = QDir::currentPath();
        StartConfig();
        QVERIFY(Config);
        QCOMPARE(QDir::current().canonicalPath(), QDir(Config->DataDir).canonicalPath());
        QVERIFY(!QFile::exists(iniFile()));
        Config->AddLastFile(QStringLiteral("/mine.mdf"));
        FinishConfig();
        QVERIFY(!Config);
        QDir::setCurrent(cwd);

        TConfig c(false);
        c.LoadOptions();
        QCOMPARE(c.LastFiles, QStringList{QStringLiteral("/mine.mdf")});
    }
};

QTEST_MAIN(TestTConfig)
#include "tst_TConfig.moc"
