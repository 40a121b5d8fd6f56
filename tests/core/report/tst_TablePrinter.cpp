// The table printer: its refusals, where it breaks pages and what a page holds after a break.
#include "AppError.h"
#include "report/TPageSurface.h"
#include "report/TTablePrinter.h"

#include <QtTest>

namespace {

// Every text one line of 0.4 cm, 0.2 cm a character.
class FixedMetrics : public TTextMetrics {
public:
    double Width(const TReportFont &, QStringView text) const override { return 0.2 * double(text.size()); }
    double Height(const TReportFont &, QStringView) const override { return 0.4; }
};

// 0.45 cm a line of text: two lines need more than one line height of 0.5 and less than two.
class TallLineMetrics : public FixedMetrics {
public:
    double Height(const TReportFont &, QStringView text) const override { return 0.45 * double(text.count(u'\n') + 1); }
};

// 0.02 cm a character a point of the font's size: 0.2 cm at 10 pt.
class SizedMetrics : public FixedMetrics {
public:
    double Width(const TReportFont &font, QStringView text) const override
    {
        return 0.02 * font.Size * double(text.size());
    }
};

// What a page draws: its lines, as x1, y1, x2, y2, and its texts.
struct PageRecord : TPageCanvas {
    QList<QList<float>> lines;
    QStringList texts;
    void Text(const TReportFont &, const TReportOp &, QStringView text) override { texts << text.toString(); }
    void Line(const TReportOp &op) override { lines << QList<float>{op.X1, op.Y1, op.X2, op.Y2}; }
};

TTableLayout TwoColumns()
{
    TTableLayout layout;
    layout.Captions = {QStringLiteral("Узел"), QStringLiteral("Х")};
    layout.Widths = {1.5, 2.0};
    layout.Aligns = {TTextAlign::Left, TTextAlign::Right};
    return layout;
}

// Rows of each page, counted by the texts "r<n>" on it; -1 where a page lacks its header.
QList<int> RowsPerPage(const TReportDocument &doc)
{
    QList<int> rows;
    for (int p = 0; p < doc.PageCount(); ++p) {
        const QStringList texts = doc.PageTexts(p);
        rows << (texts.value(0) == QStringLiteral("Узел") ? int(texts.filter(QRegularExpression("^r\\d+$")).size()) : -1);
    }
    return rows;
}

} // namespace

class tst_TablePrinter : public QObject {
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void operationsNeedAnOpenTable();
    void pageBreaks_data();
    void pageBreaks();
    void rowHeightRoundsUp_data();
    void rowHeightRoundsUp();
    void columnRulesStartAtTheTableTop();
    void fitColumns_data();
    void fitColumns();
    void cellsWrap_data();
    void cellsWrap();
    void rowTallerThanAPageGoesOn();
};

void tst_TablePrinter::refusals_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("message");
    enum { None, ExtraCaption, NoAlign, NegativeBand, BandBeyondPage, TallHeader, WideColumn, TwoWide };

    QTest::newRow("captions and widths differ") << int(ExtraCaption) << 0.0 << TTablePrinter::RefusalMismatch();
    QTest::newRow("alignments missing") << int(NoAlign) << 0.0 << TTablePrinter::RefusalMismatch();
    QTest::newRow("negative band") << int(NegativeBand) << 0.0 << TTablePrinter::RefusalNegativeIndent();
    QTest::newRow("negative indent") << int(None) << -0.1 << TTablePrinter::RefusalNegativeIndent();
    QTest::newRow("band taller than the page") << int(BandBeyondPage) << 0.0 << TTablePrinter::RefusalIndentsTooLarge();
    QTest::newRow("header and one row do not fit") << int(TallHeader) << 0.0 << TTablePrinter::RefusalNoRoom();
    QTest::newRow("wider than the page")
        << int(WideColumn) << 1.0 << QStringLiteral("Таблица слишком широкая (18.500000 > 17.000000)");
    QTest::newRow("as wide as the page from its edge") << int(None) << 13.5 << QString();
    // Narrower than the page, too wide from where it starts.
    QTest::newRow("too wide from its indent")
        << int(TwoWide) << 13.6 << QStringLiteral("Таблица слишком широкая (20.600000 > 17.000000)");
}

void tst_TablePrinter::refusals()
{
    QFETCH(int, change);
    QFETCH(double, x);
    QFETCH(QString, message);
    TTableLayout layout = TwoColumns();
    switch (change) {
    case 1: layout.Captions << QStringLiteral("Y"); break;
    case 2: layout.Aligns.removeLast(); break;
    case 3: layout.Band = -0.5; break;
    case 4: layout.Band = 26.8; break;
    case 5: layout.HeaderHeight = 25.8; break;
    case 6: layout.Widths[1] = 16.0; break;
    case 7: layout.Widths = {3.5, 3.5}; break;
    default: break;
    }
    TReportDocument doc;
    FixedMetrics metrics;
    TPageSurface surface(doc, metrics);
    TTablePrinter table(surface);
    QString refused;
    try {
        table.Open(x, 1.0, layout);
    } catch (const AppError &e) {
        refused = e.message();
    }
    QCOMPARE(refused, message);
    QCOMPARE(table.IsOpen(), message.isEmpty());
}

void tst_TablePrinter::operationsNeedAnOpenTable()
{
    TReportDocument doc;
    FixedMetrics metrics;
    TPageSurface surface(doc, metrics);
    TTablePrinter table(surface);
    const QList<std::function<void()>> operations{
        [&] { table.Row({QStringLiteral("1"), QStringLiteral("2")}); },
        [&] { table.MoveTo(8.5, 0); },
        [&] { table.MoveToNewPage(0, 0); },
        [&] { table.Close(); },
    };
    for (const auto &operation : operations) {
        try {
            operation();
            QFAIL("an operation on a closed table went through");
        } catch (const AppError &e) {
            QCOMPARE(e.message(), TTablePrinter::RefusalNotOpen());
        }
    }
    table.Open(0, 0, TwoColumns());
    try {
        table.Open(0, 5, TwoColumns());
        QFAIL("a second table opened over the first");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), TTablePrinter::RefusalStillOpen());
    }
    table.Close();
    QCOMPARE(doc.PageCount(), 1);
}

void tst_TablePrinter::pageBreaks_data()
{
    QTest::addColumn<double>("top");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("rowsPerPage");
    QTest::addColumn<bool>("fitsAfter");

    // From 1.2: header to 2.2, rows while they end 0.5 above 26.7 → 48; after a break the header
    // sits at 0.5 and 49 rows follow.
    QTest::newRow("exactly one page") << 1.2 << 48 << QList<int>{48} << false;
    QTest::newRow("one row over") << 1.2 << 49 << QList<int>{48, 1} << true;
    QTest::newRow("three pages") << 1.2 << 48 + 49 + 3 << QList<int>{48, 49, 3} << true;
    QTest::newRow("from the top, full") << 0.0 << 50 << QList<int>{50} << false;
    QTest::newRow("from the top, one over") << 0.0 << 51 << QList<int>{50, 1} << true;
}

void tst_TablePrinter::pageBreaks()
{
    QFETCH(double, top);
    QFETCH(int, rows);
    QFETCH(QList<int>, rowsPerPage);
    QFETCH(bool, fitsAfter);
    TReportDocument doc;
    FixedMetrics metrics;
    TPageSurface surface(doc, metrics);
    TTableLayout layout = TwoColumns();
    layout.AutoBreak = true;
    TTablePrinter table(surface);
    table.Open(0, top, layout);
    bool fits = true;
    for (int i = 1; i <= rows; ++i)
        fits = table.Row({QStringLiteral("r%1").arg(i), QString()});
    table.Close();
    QCOMPARE(RowsPerPage(doc), rowsPerPage);
    QCOMPARE(fits, fitsAfter);
    // After a break the header is repeated 0.5 below the top: the first line of page 2 is the
    // header's thick rule at 0.5.
    if (doc.PageCount() > 1) {
        struct FirstLine : TPageCanvas {
            float y = -1;
            void Text(const TReportFont &, const TReportOp &, QStringView) override {}
            void Line(const TReportOp &op) override
            {
                if (y < 0)
                    y = op.Y1;
            }
        } first;
        doc.PlayPage(1, first);
        QCOMPARE(first.y, 0.5f);
    }
}

void tst_TablePrinter::rowHeightRoundsUp_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<double>("height");
    QTest::newRow("one line") << QStringLiteral("a") << 0.5;
    QTest::newRow("two lines") << QStringLiteral("a\nb") << 1.0;
    QTest::newRow("three lines") << QStringLiteral("a\nb\nc") << 1.5;
}

// A row is as many line heights tall as its tallest cell needs, rounded up: the rule below it
// says where the next row starts.
void tst_TablePrinter::rowHeightRoundsUp()
{
    QFETCH(QString, cell);
    QFETCH(double, height);
    TReportDocument doc;
    TallLineMetrics metrics;
    TPageSurface surface(doc, metrics);
    TTablePrinter table(surface);
    table.Open(0, 1.0, TwoColumns());
    table.Row({QStringLiteral("1"), cell});
    table.Row({QStringLiteral("2"), QStringLiteral("x")});
    QCOMPARE(table.Y(), 2.0 + height + 0.5);
    PageRecord page;
    doc.PlayPage(0, page);
    const QList<float> firstRule = page.lines.value(2);   // after the header's two
    QCOMPARE(firstRule.value(1), float(2.0 + height));
}

// Every block, the header included, is framed from the table's top: the column lines of both
// halves of a page start at the top of their header.
void tst_TablePrinter::columnRulesStartAtTheTableTop()
{
    TReportDocument doc;
    FixedMetrics metrics;
    TPageSurface surface(doc, metrics);
    TTablePrinter table(surface);
    table.Open(0, 1.2, TwoColumns());
    table.Row({QStringLiteral("1"), QStringLiteral("2")});
    table.MoveTo(8.5, 1.2);
    table.Row({QStringLiteral("3"), QStringLiteral("4")});
    table.Close();
    PageRecord page;
    doc.PlayPage(0, page);
    int vertical = 0;
    for (const QList<float> &line : page.lines) {
        if (line[0] != line[2])
            continue;
        ++vertical;
        QCOMPARE(line[1], 1.2f);
        QCOMPARE(line[3], 2.7f);
    }
    QCOMPARE(vertical, 2 * 3);
}

void tst_TablePrinter::fitColumns_data()
{
    QTest::addColumn<int>("widest");        // characters of the second column's widest text
    QTest::addColumn<bool>("wraps");        // the second column wraps
    QTest::addColumn<bool>("shrink");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<double>("size");       // of the row font afterwards
    QTest::addColumn<double>("width");      // of the second column afterwards

    QTest::newRow("narrower than the column") << 5 << false << true << true << 10.0 << 2.0;
    QTest::newRow("widened to its text") << 10 << false << true << true << 10.0 << 2.1;
    // 1.5 + 0.02 s 90 + 0.1 <= 17 from 8.5 pt down.
    QTest::newRow("smaller font") << 90 << false << true << true << 8.5 << 15.4;
    QTest::newRow("too wide at 7 pt") << 150 << false << true << false << 7.0 << 21.1;
    QTest::newRow("too wide, not to shrink") << 90 << false << false << false << 10.0 << 18.1;
    QTest::newRow("a wrapping column keeps its width") << 90 << true << true << true << 10.0 << 2.0;
}

void tst_TablePrinter::fitColumns()
{
    QFETCH(int, widest);
    QFETCH(bool, wraps);
    QFETCH(bool, shrink);
    QFETCH(bool, fits);
    QFETCH(double, size);
    QFETCH(double, width);
    TTableLayout layout = TwoColumns();
    layout.Wraps = {false, wraps};
    layout.HeaderFont.Size = 12;
    QCOMPARE(TTablePrinter::FitColumns(layout, {QStringLiteral("12"), QString(widest, u'8')}, 0, 17.0, SizedMetrics(),
                                       shrink),
             fits);
    QCOMPARE(layout.RowFont.Size, size);
    QCOMPARE(layout.HeaderFont.Size, 12 * size / 10);
    QCOMPARE(layout.Widths.size(), 2);
    QCOMPARE(layout.Widths[0], 1.5);
    QVERIFY2(qAbs(layout.Widths[1] - width) < 1e-9, qPrintable(QString::number(layout.Widths[1])));
}

void tst_TablePrinter::cellsWrap_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<double>("height");   // of the row

    // The column is 2.0 cm, 1.9 inside the margins: nine characters a line, 0.4 cm a line.
    QTest::newRow("fits") << QStringLiteral("a b") << QStringList{"a b"} << 0.5;
    QTest::newRow("its own line break") << QStringLiteral("Штрек\r\nгор. -300") << QStringList{"Штрек", "гор. -300"}
                                       << 1.0;
    QTest::newRow("between words") << QStringLiteral("aaaa bbbb  cccc") << QStringList{"aaaa bbbb", "cccc"} << 1.0;
    QTest::newRow("a word wider than the column")
        << QStringLiteral("abcdefghijklmnopqrstu") << QStringList{"abcdefghi", "jklmnopqr", "stu"} << 1.5;
    QTest::newRow("control characters, breaks at the end")
        << QStringLiteral("a\tb\n\n") << QStringList{"a b"} << 0.5;
}

// A cell of a wrapping column goes on over further lines of its row; a column that does not wrap
// keeps its text in one line.
void tst_TablePrinter::cellsWrap()
{
    QFETCH(QString, cell);
    QFETCH(QStringList, lines);
    QFETCH(double, height);
    TReportDocument doc;
    FixedMetrics metrics;
    TPageSurface surface(doc, metrics);
    TTableLayout layout = TwoColumns();
    layout.Wraps = {false, true};
    TTablePrinter table(surface);
    table.Open(0, 1.0, layout);
    table.Row({QStringLiteral("1"), cell});
    QCOMPARE(table.Y(), 2.0 + height);
    QCOMPARE(doc.PageTexts(0).mid(2), QStringList{"1"} + lines);
}

// A row taller than a page sets the lines that fit, then goes on below the header of the next
// page, as many pages as it needs, every line once and in order.
void tst_TablePrinter::rowTallerThanAPageGoesOn()
{
    TReportDocument doc;
    FixedMetrics metrics;
    TPageSurface surface(doc, metrics);
    TTableLayout layout = TwoColumns();
    layout.Wraps = {false, true};
    layout.AutoBreak = true;
    TTablePrinter table(surface);
    table.Open(0, 1.2, layout);
    table.Row({QStringLiteral("r1"), QStringLiteral("x")});
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines << QStringLiteral("L%1").arg(i);
    table.Row({QStringLiteral("r2"), lines.join(QLatin1Char('\n'))});
    table.Close();
    QStringList printed;
    for (int p = 0; p < doc.PageCount(); ++p) {
        const QStringList texts = doc.PageTexts(p);
        QCOMPARE(texts.value(0), QStringLiteral("Узел"));
        printed += texts.filter(QRegularExpression(QStringLiteral("^L\\d+$")));
    }
    QCOMPARE(printed, lines);
    // Page 1 holds 58 lines of 0.4 cm below the first row (23.2 cm in 23.5), page 2 the next 61.
    QCOMPARE(doc.PageCount(), 3);
    QCOMPARE(doc.PageTexts(1).filter(QRegularExpression(QStringLiteral("^L\\d+$"))).first(), QStringLiteral("L59"));
    QCOMPARE(doc.PageTexts(2).filter(QRegularExpression(QStringLiteral("^L\\d+$"))).first(), QStringLiteral("L120"));
}

QTEST_APPLESS_MAIN(tst_TablePrinter)
#include "tst_TablePrinter.moc"
