// Blocks of cells for the clipboard: what is written reads back, and the HTML table is safe.
#include "exchange/CellBlock.h"

#include <QtTest>

class TestCellBlock : public QObject {
    Q_OBJECT

private slots:
    void tsvReadsBack();
    void html_data();
    void html();
};

void TestCellBlock::tsvReadsBack()
{
    const CellBlock::TRows rows = {{QStringLiteral("12,5"), QString(), QStringLiteral("Уклон\t2")},
                                   {QStringLiteral("\"Южный\" штрек"), QStringLiteral("две\nстроки"), QStringLiteral("-")}};
    const QString tsv = CellBlock::Tsv(rows);
    QVERIFY(tsv.startsWith(QStringLiteral("12,5\t\t\"Уклон\t2\"\n")));
    QCOMPARE(CellBlock::FromTsv(tsv), rows);
    // A spreadsheet's block without a last line break, with CR LF between rows.
    QCOMPARE(CellBlock::FromTsv(QStringLiteral("1\t2\r\n3\t4")),
             (CellBlock::TRows{{QStringLiteral("1"), QStringLiteral("2")}, {QStringLiteral("3"), QStringLiteral("4")}}));
}

void TestCellBlock::html_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("shown");
    QTest::newRow("markup and a line break") << "<b>&\nx" << "&lt;b&gt;&amp;<br>x";
    QTest::newRow("CR LF is one break") << "a\r\nb" << "a<br>b";
    QTest::newRow("a lone CR breaks too") << "a\rb" << "a<br>b";
}

void TestCellBlock::html()
{
    QFETCH(QString, cell);
    QFETCH(QString, shown);
    const QString html = CellBlock::Html({QStringLiteral("Узел")}, {{cell}});
    QVERIFY(html.contains(QStringLiteral("<tr><th>Узел</th></tr>")));
    QVERIFY2(html.contains(QStringLiteral("<tr><td>%1</td></tr>").arg(shown)), qPrintable(html));
}

QTEST_GUILESS_MAIN(TestCellBlock)
#include "tst_CellBlock.moc"
