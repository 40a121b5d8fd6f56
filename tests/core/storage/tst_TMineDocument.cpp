// The document data a window starts with: defaults, the default column layout and the texts
// the descriptors take from their kinds.
#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <QtTest>

class TestMineDocument : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void defaultColumns();
    void kindTexts_data();
    void kindTexts();
    void cellLengthReachesTheMine();
    void layoutKeepsKindsAndRefillsTexts();
};

void TestMineDocument::defaults()
{
    TMineDocument doc;
    QCOMPARE(doc.AutoUpdate(), true);
    QCOMPARE(doc.AutoUpdateIterations(), 50);
    QCOMPARE(doc.SaveIterations(), 25);
    QCOMPARE(doc.Reserved1(), 0);
    QCOMPARE(doc.BoomSpeed(), 10.0f);
    QCOMPARE(doc.Reserved2(), false);
    QCOMPARE(doc.Calculated(), false);
    QCOMPARE(doc.CalcMethod(), quint8(0));
    QCOMPARE(doc.CellLength(), 4.0f);
    QCOMPARE(doc.Mine()->CellLength(), 4.0f);
    QCOMPARE(doc.HasFile(), false);
    QVERIFY(doc.Notes().isEmpty());
    QVERIFY(!doc.Mine()->Modified());
}

void TestMineDocument::defaultColumns()
{
    TMineDocument doc;
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(int(doc.NodeColumns()[i].Kind), i);
        QVERIFY(doc.NodeColumns()[i].Shown);
    }
    for (int i = 0; i < 15; ++i) {
        const TColumnDesc &c = doc.BranchColumns()[i];
        QCOMPARE(int(c.Kind), i + 4);
        QCOMPARE(c.Shown, c.Kind != 11 && c.Kind != 12);
    }
}

void TestMineDocument::kindTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("unitLine");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<int>("align");
    QTest::addColumn<int>("decimals");
    QTest::newRow("node number") << 0 << "Узел" << "" << true << 0 << 0;
    QTest::newRow("Z") << 3 << "Коор. Z" << "м" << true << 2 << 1;
    QTest::newRow("length") << 7 << "Длина" << "м" << false << 2 << 1;
    QTest::newRow("volume factor") << 11 << "Коэф." << "объема" << true << 2 << 2;
    QTest::newRow("angle") << 13 << "Угол" << "град." << false << 2 << 1;
    QTest::newRow("resistance") << 15 << "R" << "km" << true << 0 << 7;
    QTest::newRow("people") << 16 << "Люди" << "" << false << 0 << 0;
    QTest::newRow("plan position") << 18 << "Позиция" << "ПЛА" << false << 0 << 0;
}

void TestMineDocument::kindTexts()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(QString, unitLine);
    QFETCH(bool, editable);
    QFETCH(int, align);
    QFETCH(int, decimals);
    TColumnDesc c;
    c.Kind = quint8(kind);
    c.FillTexts();
    QCOMPARE(c.Caption, caption);
    QCOMPARE(c.UnitLine, unitLine);
    QCOMPARE(c.Editable, editable);
    QCOMPARE(c.Align, align);
    QCOMPARE(c.Decimals, decimals);
    // Header texts are short strings of at most 15 characters.
    QVERIFY(c.Caption.size() <= 15);
}

void TestMineDocument::cellLengthReachesTheMine()
{
    TMineDocument doc;
    doc.SetCellLength(2.5f);
    QCOMPARE(doc.CellLength(), 2.5f);
    QCOMPARE(doc.Mine()->CellLength(), 2.5f);
}

void TestMineDocument::layoutKeepsKindsAndRefillsTexts()
{
    TMineDocument doc;
    TBranchColumns columns = doc.BranchColumns();
    std::swap(columns[0].Kind, columns[14].Kind); // texts now stale
    doc.SetBranchColumns(columns);
    QCOMPARE(doc.BranchColumns()[0].Caption, QStringLiteral("Позиция"));
    QCOMPARE(doc.BranchColumns()[14].Caption, QStringLiteral("Ветвь"));
    doc.ResetColumns();
    QCOMPARE(int(doc.BranchColumns()[0].Kind), 4);
}

QTEST_GUILESS_MAIN(TestMineDocument)
#include "tst_TMineDocument.moc"
