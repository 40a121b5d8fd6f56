// tarvel-mdf diff as a user runs it: the exit status says whether the documents differ, the text
// lists the changes grouped and sorted, --json gives the same in a stable form.
#include "MdfTestSupport.h"
#include "MineText.h"
#include "ToolRun.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineDocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace tooltest;

namespace {

QByteArray Mine(const QString &text, const QString &title = QStringLiteral("Шахта"))
{
    TMineDocument doc;
    minetext::Build(*doc.Mine(), text);
    doc.Mine()->SetTitle(title);
    return TMdfWriter::Write(doc);
}

} // namespace

class TestDiffCommand : public QObject {
    Q_OBJECT

private slots:
    void diff_data();
    void diff();
    void json();

private:
    QTemporaryDir FDir;
};

void TestDiffCommand::diff_data()
{
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    const QByteArray base = Mine(QStringLiteral("u 1 0 0 0; u 2 0 0 3; b 7 1 2 4.5 \"Ствол\""));
    QTest::newRow("identical") << base << base << QStringList() << 0 << QString();
    QTest::newRow("changes grouped and sorted")
        << base << Mine(QStringLiteral("u 2 0 0 4; u 1 0 0 0; u 9 1 1 1; b 7 1 2 4.5 \"Ствол\x01\""), QStringLiteral("Новая"))
        << QStringList() << 1
        << QStringLiteral("Узлы\n"
                          "  ! Порядок узлов в списке другой\n"
                          "  ~ Узел 2\n"
                          "      Коор. Z м: 3 → 4\n"
                          "      Длина ветви 7, м: 3 → 4\n"
                          "  + Узел 9\n"
                          "Ветви\n"
                          "  ~ Ветвь 7\n"
                          "      Комментарий: \"Ствол\" → \"Ствол\\x01\"\n"
                          "Документ\n"
                          "  ~ Документ\n"
                          "      Название шахты: \"Шахта\" → \"Новая\"\n");
    QTest::newRow("order only") << base << Mine(QStringLiteral("u 2 0 0 3; u 1 0 0 0; b 7 1 2 4.5 \"Ствол\""))
                                << QStringList() << 0 << QStringLiteral("Узлы\n  ! Порядок узлов в списке другой\n");
    QTest::newRow("unset value") << base << Mine(QStringLiteral("u 1 0 0 0; u 2 0 0 3; b 7 1 2 - \"Ствол\""))
                                 << QStringList() << 1
                                 << QStringLiteral("Ветви\n  ~ Ветвь 7\n      Сечение м2: 4.5 → не задано\n");
    QTest::newRow("damaged second file") << base << QByteArray("Tarvelian") << QStringList() << 2 << QString();
}

void TestDiffCommand::diff()
{
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    const QString pa = FDir.filePath(QStringLiteral("a.mdf")), pb = FDir.filePath(QStringLiteral("b.mdf"));
    WriteFile(pa, a);
    WriteFile(pb, b);
    const Run r = Tool(QStringList{QStringLiteral("diff"), pa, pb} + options);
    QCOMPARE(r.ExitCode, exitCode);
    QCOMPARE(QString::fromUtf8(r.Out), out);
    if (exitCode == 2)
        QCOMPARE(QString::fromUtf8(r.Err), QStringLiteral("tarvel-mdf: B %1: неизвестный формат файла\n").arg(pb));
    else
        QVERIFY(r.Err.isEmpty());
    // The second file from standard input gives the same.
    if (exitCode != 2) {
        const Run s = Tool({QStringLiteral("diff"), pa, QStringLiteral("-")}, pb);
        QCOMPARE(s.ExitCode, exitCode);
        QCOMPARE(s.Out, r.Out);
    }
}

void TestDiffCommand::json()
{
    const QString pa = FDir.filePath(QStringLiteral("ja.mdf")), pb = FDir.filePath(QStringLiteral("jb.mdf"));
    WriteFile(pa, Mine(QStringLiteral("u 1 0.1 0 0; u 3 0 0 0")));
    WriteFile(pb, Mine(QStringLiteral("u 1 0.10000001 0 -; u 4 0 0 0")));
    const Run r = Tool({QStringLiteral("diff"), pa, pb, QStringLiteral("--json")});
    QCOMPARE(r.ExitCode, 1);
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.Out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc[QLatin1String("Different")].toBool(), true);
    const QJsonArray items = doc[QLatin1String("Items")].toArray();
    QCOMPARE(items.size(), 3);
    const QJsonObject changed = items[0].toObject();
    QCOMPARE(changed[QLatin1String("Group")].toString(), QStringLiteral("Uzels"));
    QCOMPARE(changed[QLatin1String("Change")].toString(), QStringLiteral("Changed"));
    QCOMPARE(changed[QLatin1String("Number")].toInt(), 1);
    const QJsonArray fields = changed[QLatin1String("Fields")].toArray();
    QCOMPARE(fields.size(), 2);
    QCOMPARE(fields[0].toObject()[QLatin1String("Key")].toString(), QStringLiteral("X"));
    QCOMPARE(fields[0].toObject()[QLatin1String("Old")].toString(), QStringLiteral("0.1"));
    QCOMPARE(fields[0].toObject()[QLatin1String("New")].toString(), QStringLiteral("0.10000001"));
    QVERIFY(fields[1].toObject()[QLatin1String("New")].isNull());
    QCOMPARE(items[1].toObject()[QLatin1String("Change")].toString(), QStringLiteral("Removed"));
    QCOMPARE(items[2].toObject()[QLatin1String("Change")].toString(), QStringLiteral("Added"));
}

QTEST_GUILESS_MAIN(TestDiffCommand)
#include "tst_DiffCommand.moc"
