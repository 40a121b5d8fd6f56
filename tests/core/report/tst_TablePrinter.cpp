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
};

void tst_TablePrinter::refusals_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("message");
    enum { None, ExtraCaption, NoAlign, NegativeBand, BandBeyondPage, TallHeader, WideColumn };

    QTest::newRow("captions and widths differ") << int(ExtraCaption) << 0.0 << TTablePrinter::RefusalMismatch();
    QTest::newRow("alignments missing") << int(NoAlign) << 0.0 << TTablePrinter::RefusalMismatch();
    QTest::newRow("negative band") << int(NegativeBand) << 0.0 << TTablePrinter::RefusalNegativeIndent();
    QTest::newRow("negative indent") << int(None) << -0.1 << TTablePrinter::RefusalNegativeIndent();
    QTest::newRow("band taller than the page") << int(BandBeyondPage) << 0.0 << TTablePrinter::RefusalIndentsTooLarge();
    QTest::newRow("header and one row do not fit") << int(TallHeader) << 0.0 << TTablePrinter::RefusalNoRoom();
    QTest::newRow("wider than the page")
        << int(WideColumn) << 1.0 << QStringLiteral("Таблица слишком широкая (18.500000 > 17.000000)");
    QTest::newRow("as wide as the page from its edge") << int(None) << 13.5 << QString();
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

QTEST_APPLESS_MAIN(tst_TablePrinter)
#include "tst_TablePrinter.moc"
