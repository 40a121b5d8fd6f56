// Cell texts and the parsing of typed numbers: what the tables show for each column kind, and
// which typed texts become values.
#include "editor/TableText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "storage/TColumnDesc.h"

#include <QtTest>

class tst_TableText : public QObject {
    Q_OBJECT
private slots:
    void branchCells_data();
    void branchCells();
    void nodeCellsAndUnset();
    void parseInt_data();
    void parseInt();
    void parseReal_data();
    void parseReal();
    void storable_data();
    void storable();
};

void tst_TableText::branchCells_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("number") << 4 << "12";
    QTest::newRow("start") << 5 << "1";
    QTest::newRow("end unset") << 6 << "";
    QTest::newRow("length unknown") << 7 << "";
    QTest::newRow("section") << 8 << "9.0";
    QTest::newRow("perimeter round") << 9 << "10.7";
    QTest::newRow("factor") << 11 << "1.00";
    QTest::newRow("extra") << 12 << "0.0";
    QTest::newRow("comment") << 14 << "Штрек №2";
    QTest::newRow("resistance") << 15 << "0.0012345";
    QTest::newRow("people") << 16 << "0";
    QTest::newRow("plan position") << 18 << "ПЛА 3";
}

void tst_TableText::branchCells()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    TMine mine;
    auto *plf = new TPLF(&mine);
    plf->SetName("ПЛА 3");
    TBranch *b = mine.AddBranch(12, 1, kUnsetInt, QStringLiteral("Штрек №2"), 9.0f);
    b->SetShape(3);
    b->SetResistance(0.00123449);
    b->SetPLFIndex(0);
    TColumnDesc d;
    d.Kind = quint8(kind);
    d.FillTexts();
    QCOMPARE(TableText::BranchCell(d, *b), text);
}

void tst_TableText::nodeCellsAndUnset()
{
    TMine mine;
    TUzel *u = mine.AddUzel(kUnsetInt, -12.25f, kUnsetReal, 1000.0f);
    TColumnDesc d;
    const QString expected[] = {"", "-12.3", "", "1000.0"};   // an exact half goes away from zero
    for (int kind = 0; kind < 4; ++kind) {
        d.Kind = quint8(kind);
        d.FillTexts();
        QCOMPARE(TableText::UzelCell(d, *u), expected[kind]);
    }
    QCOMPARE(TableText::FormatReal(1234567.5, 1), QString("1234567.5"));   // never grouped
}

void tst_TableText::parseInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "42" << true << 42;
    QTest::newRow("unset marker") << "-777777" << true << -777777;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("letters") << "4a" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("real") << "4.5" << false << 0;
}

void tst_TableText::parseInt()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    qint32 parsed = 0;
    QCOMPARE(TableText::ParseInt(text, parsed), ok);
    if (ok)
        QCOMPARE(parsed, value);
}

void tst_TableText::parseReal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "12.5" << true << 12.5;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("lone point") << "." << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("grouped") << "1,000.5" << false << 0.0;
    QTest::newRow("infinite") << "1e999" << false << 0.0;
    QTest::newRow("minus") << "-" << false << 0.0;
}

void tst_TableText::parseReal()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    double parsed = 0;
    QCOMPARE(TableText::ParseReal(text, parsed), ok);
    if (ok)
        QCOMPARE(parsed, value);
}

void tst_TableText::storable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::newRow("ascii") << "Drift 12; (a)" << true;
    QTest::newRow("cyrillic") << "Вентиляционный штрек ёЁ" << true;
    QTest::newRow("numero and euro") << "№ €" << true;
    QTest::newRow("chinese") << "штрек 中" << false;
    QTest::newRow("latin a macron") << "ā" << false;
    QTest::newRow("emoji") << "😀" << false;
}

void tst_TableText::storable()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QCOMPARE(TableText::StorableText(text), ok);
}

QTEST_MAIN(tst_TableText)
#include "tst_TableText.moc"
