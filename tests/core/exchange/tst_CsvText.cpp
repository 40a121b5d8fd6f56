// Splitting and writing of comma- and tab-separated text as spreadsheets exchange it.
#include "exchange/CsvText.h"

#include <QtTest>

using namespace CsvText;

namespace {

// "LINE:field|field" per record, records joined by " / ".
QString Show(const TSplit &split)
{
    QStringList records;
    for (const TRecord &r : split.Records)
        records << QStringLiteral("%1:%2").arg(r.Line).arg(r.Fields.join(u'|'));
    return records.join(QStringLiteral(" / "));
}

} // namespace

class TestCsvText : public QObject {
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void quote();
    void detectSeparator();
    void shortestFixed();
};

void TestCsvText::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<QString>("records");
    QTest::addColumn<int>("errorLine");

    const QChar comma(u','), semi(u';'), tab(u'\t');
    QTest::newRow("plain, last break ends the text") << "a,b\n1,2\n" << comma << true << "1:a|b / 2:1|2" << 0;
    QTest::newRow("CR LF and a lone CR") << "a;b\r\n1;2\r3;4" << semi << true << "1:a|b / 2:1|2 / 3:3|4" << 0;
    QTest::newRow("quoted separator, quote and line break; lines counted inside")
        << "x,\"a,b\"\n\"say \"\"hi\"\"\",\"two\r\nlines\"\n9,9" << comma << true
        << "1:x|a,b / 2:say \"hi\"|two\r\nlines / 4:9|9" << 0;
    QTest::newRow("empty fields and a blank line") << "a,,b\n\n,\n" << comma << true << "1:a||b / 2: / 3:|" << 0;
    QTest::newRow("a quote inside a field is a character") << "5\" pipe,x" << comma << true << "1:5\" pipe|x" << 0;
    QTest::newRow("strict: quote left open") << "a\n\"open,\nmore" << comma << true << "" << 2;
    QTest::newRow("strict: text after the closing quote") << "a\nb,\"q\"x,c" << comma << true << "" << 2;
    QTest::newRow("lenient: quote left open is a character")
        << "\"open\t1\n2\tx\n" << tab << false << "1:\"open|1 / 2:2|x" << 0;
    QTest::newRow("lenient: text after the closing quote") << "\"q\"x\ty" << tab << false << "1:\"q\"x|y" << 0;
    QTest::newRow("lenient: a cell over two lines") << "\"a\nb\"\tc\nd" << tab << false << "1:a\nb|c / 3:d" << 0;
}

void TestCsvText::split()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(bool, strict);
    QFETCH(QString, records);
    QFETCH(int, errorLine);
    const TSplit s = Split(text, separator, strict ? TQuotes::Strict : TQuotes::Lenient);
    QCOMPARE(s.ErrorLine, errorLine);
    QCOMPARE(s.Error.isEmpty(), errorLine == 0);
    if (errorLine == 0)
        QCOMPARE(Show(s), records);
}

void TestCsvText::quote()
{
    QCOMPARE(Quote(QStringLiteral("plain text"), u','), QStringLiteral("plain text"));
    QCOMPARE(Quote(QStringLiteral("a,b"), u','), QStringLiteral("\"a,b\""));
    QCOMPARE(Quote(QStringLiteral("a,b"), u'\t'), QStringLiteral("a,b"));
    QCOMPARE(Quote(QStringLiteral("a\tb"), u'\t'), QStringLiteral("\"a\tb\""));
    QCOMPARE(Quote(QStringLiteral("say \"hi\""), u','), QStringLiteral("\"say \"\"hi\"\"\""));
    QCOMPARE(Quote(QStringLiteral("two\nlines"), u','), QStringLiteral("\"two\nlines\""));
    // What Quote writes, Split reads back.
    const QStringList fields = {QStringLiteral("Уклон, 2-й"), QStringLiteral("\"x\"\r\ny"), QString()};
    QStringList quoted;
    for (const QString &f : fields)
        quoted << Quote(f, u';');
    const TSplit back = Split(quoted.join(u';'), u';', TQuotes::Strict);
    QCOMPARE(back.Records.size(), 1);
    QCOMPARE(back.Records[0].Fields, fields);
}

void TestCsvText::detectSeparator()
{
    QCOMPARE(DetectSeparator(u"Number;X;Y"), QChar(u';'));
    QCOMPARE(DetectSeparator(u"Number,X,Y\n1;2"), QChar(u','));
    QCOMPARE(DetectSeparator(u"\"A;B\",C"), QChar(u','));
}

void TestCsvText::shortestFixed()
{
    QCOMPARE(ShortestFixed(0.1f), QStringLiteral("0.1"));
    QCOMPARE(ShortestFixed(12.3f), QStringLiteral("12.3"));
    QCOMPARE(ShortestFixed(1e-7f), QStringLiteral("0.0000001"));
    QCOMPARE(ShortestFixed(-1500000.0f), QStringLiteral("-1500000"));
    QCOMPARE(ShortestFixed(0.0012345), QStringLiteral("0.0012345"));
}

QTEST_GUILESS_MAIN(TestCsvText)
#include "tst_CsvText.moc"
