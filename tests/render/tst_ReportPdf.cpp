// The topology report as the PDF writer writes it, read back with pdftotext: pages, lines and
// where the words stand.
#include "MineText.h"
#include "PdfText.h"
#include "ReportOutput.h"
#include "TQtTextMetrics.h"
#include "model/ColumnKinds.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "report/TPageSurface.h"
#include "report/TTopologyReport.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using pdftext::Pdf;
using pdftext::Word;

// Where the texts of a page stand against its ruling: a text inside a table must end before the
// next column line to its right, any other within the page, and none may be clipped.
void CheckNothingCut(const TReportDocument &doc)
{
    struct Page : TPageCanvas {
        QList<TReportOp> columns, texts;
        QStringList strings;
        QList<const TReportFont *> fonts;
        void Text(const TReportFont &font, const TReportOp &op, QStringView text) override
        {
            texts << op;
            strings << text.toString();
            fonts << &font;
        }
        void Line(const TReportOp &op) override
        {
            if (op.X1 == op.X2)
                columns << op;
        }
    };
    const TQtTextMetrics metrics;
    for (int p = 0; p < doc.PageCount(); ++p) {
        Page page;
        doc.PlayPage(p, page);
        for (qsizetype i = 0; i < page.texts.size(); ++i) {
            const TReportOp &op = page.texts[i];
            const QString where = QStringLiteral("page %1: \"%2\"").arg(p + 1).arg(page.strings[i]);
            QVERIFY2(!(op.Flags & TextFlag::Clip), qPrintable(where));
            const double right = op.X1 + metrics.Width(*page.fonts[i], page.strings[i]);
            double limit = TPageSurface::kWidth;
            for (const TReportOp &rule : page.columns) {
                if (rule.X1 > op.X1 && rule.X1 < limit && op.Y1 >= rule.Y1 && op.Y1 <= rule.Y2)
                    limit = rule.X1;
            }
            if (op.X1 == op.X2)   // set at a point; captions are set in their boxes
                QVERIFY2(right <= limit + 1e-4, qPrintable(QStringLiteral("%1 ends at %2 > %3").arg(where).arg(right).arg(limit)));
        }
    }
}

Pdf Report(TMine &mine, const TReportChoice &choice)
{
    TReportDocument doc;
    TTopologyReport report(mine, choice);
    report.SetMoment(QDateTime(QDate(2024, 3, 5), QTime(12, 34, 56)));
    report.Build(doc, TQtTextMetrics());
    CheckNothingCut(doc);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    ReportOutput::WritePdf(doc, path);
    return pdftext::Read(path);
}

TReportChoice Choice(bool title, bool tables, TReportChoice::List list = TReportChoice::AllLists)
{
    TReportChoice c;
    c.TitlePage = title;
    c.Tables = tables;
    c.Lists = list;
    return c;
}

QString Nodes(int count, const QString &suffix = QString())
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("u %1 %2 0 0 %3;").arg(i).arg(1000 + i).arg(suffix);
    return text;
}

const Word *Find(const QList<Word> &words, const QString &text)
{
    for (const Word &w : words) {
        if (w.Text == text)
            return &w;
    }
    return nullptr;
}

// Words that are whole numbers, in reading order, from the first table column.
QStringList Numbers(const QList<Word> &words, double maxX)
{
    QStringList numbers;
    static const QRegularExpression integer(QStringLiteral("^\\d+$"));
    for (const Word &w : words) {
        if (w.X < maxX && integer.match(w.Text).hasMatch() && w.Y < 1.5 + 26.7 - 0.5)
            numbers << w.Text;
    }
    return numbers;
}

} // namespace

class tst_ReportPdf : public QObject {
    Q_OBJECT

private slots:
    void titlePageAlone();
    void nodeTableFillsBothHalvesThenTheNextPage();
    void branchTableRepeatsItsHeader();
    void selectedRowsOnly();
    void surfaceNodesWrap_data();
    void surfaceNodesWrap();
    void unsetValuesPrintEmpty();
    void numberWidthsAsSet();
    void longTitleWraps();
    void nothingCut_data();
    void nothingCut();
};

void tst_ReportPdf::titlePageAlone()
{
    TMine mine;
    mine.SetTitle(QStringLiteral("Южная"));
    minetext::Build(mine, QStringLiteral("u 1 0 0 0; u 2 10 0 0; b 1 1 2 4.5"));
    const Pdf pdf = Report(mine, Choice(true, false));
    QCOMPARE(pdf.Pages, 1);
    QCOMPARE(pdf.Title, QStringLiteral("Топология шахты \"Южная\""));
    const QStringList lines = pdf.Lines.value(0);
    QVERIFY2(lines.value(0).contains(QStringLiteral("12:34:56")), qPrintable(lines.value(0)));
    QCOMPARE(lines.mid(1), (QStringList{QStringLiteral("Программа расчета параметров воздушных ударных волн и"),
                                         QStringLiteral("взрывобезопасных расстояний \"Тарвел\""),
                                         QStringLiteral("Топология шахты \"Южная\""),
                                         QStringLiteral("Статистика:"),
                                         QStringLiteral("Количество узлов: 2"),
                                         QStringLiteral("Количество ветвей: 1"),
                                         QStringLiteral("Количество выходов на поверхность: 0"),
                                         QStringLiteral("Узлы поверхности: отсутствуют"),
                                         QStringLiteral("1")}));
}

void tst_ReportPdf::nodeTableFillsBothHalvesThenTheNextPage()
{
    TMine mine;
    minetext::Build(mine, Nodes(200));
    const Pdf pdf = Report(mine, Choice(false, true, TReportChoice::NodeList));
    // 48 + 48 rows below the heading on page 1, then 50 + 50 from the top of each page.
    QCOMPARE(pdf.Pages, 3);
    const QList<Word> &one = pdf.Words[0];
    const Word *first = Find(one, QStringLiteral("1"));
    const Word *lastLeft = Find(one, QStringLiteral("48"));
    const Word *firstRight = Find(one, QStringLiteral("49"));
    const Word *lastRight = Find(one, QStringLiteral("96"));
    QVERIFY(first && lastLeft && firstRight && lastRight);
    const double left = 2.5, half = 2.5 + 8.5;
    QVERIFY(qAbs(first->X - left - 0.05) < 0.1);
    QVERIFY(qAbs(firstRight->X - half - 0.05) < 0.1);
    QVERIFY(qAbs(firstRight->Y - first->Y) < 0.05);
    QVERIFY(qAbs(lastRight->Y - lastLeft->Y) < 0.05);
    QVERIFY(!Find(one, QStringLiteral("97")));
    const Word *nextPage = Find(pdf.Words[1], QStringLiteral("97"));
    QVERIFY(nextPage);
    QVERIFY(qAbs(nextPage->X - left - 0.05) < 0.1);
    QVERIFY2(nextPage->Y < first->Y - 1.0, "page 2 starts at the top");
    QVERIFY(Find(pdf.Words[1], QStringLiteral("147"))->X > half);
    QCOMPARE(Numbers(pdf.Words[2], 30), (QStringList{"197", "198", "199", "200"}));
    for (int p = 0; p < pdf.Pages; ++p)
        QCOMPARE(pdf.Lines[p].last(), QString::number(p + 1));
}

void tst_ReportPdf::branchTableRepeatsItsHeader()
{
    TMine mine;
    QString text = Nodes(2);
    for (int i = 1; i <= 120; ++i)
        text += QStringLiteral("b %1 1 2 4.5;").arg(i);
    minetext::Build(mine, text);
    const Pdf pdf = Report(mine, Choice(true, true, TReportChoice::BranchList));
    // The title page, then 48 + 49 + 23 rows.
    QCOMPARE(pdf.Pages, 4);
    QCOMPARE(pdf.Lines[1].first(), QStringLiteral("Топологическая таблица ветвей"));
    QStringList rows;
    for (int p = 1; p < pdf.Pages; ++p) {
        QCOMPARE(pdf.Lines[p].filter(QStringLiteral("Ветвь")).size(), 1);
        QCOMPARE(pdf.Lines[p].filter(QStringLiteral("Наименование")).size(), 1);
        rows << Numbers(pdf.Words[p], 2.5 + 1.2);
    }
    QCOMPARE(rows.size(), 120);
    QCOMPARE(rows.first(), QStringLiteral("1"));
    QCOMPARE(rows.last(), QStringLiteral("120"));
    QCOMPARE(Numbers(pdf.Words[2], 2.5 + 1.2).first(), QStringLiteral("49"));
}

void tst_ReportPdf::selectedRowsOnly()
{
    TMine mine;
    minetext::Build(mine, Nodes(20));
    TReportChoice choice = Choice(false, true, TReportChoice::NodeList);
    choice.Selective = true;
    choice.FirstRow = 4;   // the user's rows 5 to 9
    choice.LastRow = 8;
    const Pdf pdf = Report(mine, choice);
    QCOMPARE(pdf.Pages, 1);
    QCOMPARE(pdf.Lines[0].first(), QStringLiteral("Топологическая таблица узлов"));
    QCOMPARE(Numbers(pdf.Words[0], 2.5 + 1.5), (QStringList{"5", "6", "7", "8", "9"}));
}

void tst_ReportPdf::surfaceNodesWrap_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::newRow("several lines") << 300 << 1;
    QTest::newRow("more than the title page holds") << 6000 << 6;
}

void tst_ReportPdf::surfaceNodesWrap()
{
    QFETCH(int, count);
    QFETCH(int, pages);
    TMine mine;
    minetext::Build(mine, Nodes(count, QStringLiteral("s")));
    const Pdf pdf = Report(mine, Choice(true, false));
    QCOMPARE(pdf.Pages, pages);
    QStringList list;
    for (int p = 0; p < pdf.Pages; ++p) {
        list += pdf.Lines[p].mid(0, pdf.Lines[p].size() - 1);
        for (const Word &w : pdf.Words[p].mid(0, pdf.Words[p].size() - 1))
            QVERIFY2(w.Y < 1.5 + 26.7 - 0.5, "nothing runs into the page number's band");
    }
    QVERIFY(list.contains(QStringLiteral("Количество выходов на поверхность: %1").arg(count)));
    list = list.mid(list.indexOf(QRegularExpression(QStringLiteral("Узлы поверхности: .*"))));
    QVERIFY(list.size() > 3);
    QString joined;
    for (int i = 0; i < list.size(); ++i) {
        QCOMPARE(list[i].endsWith(QLatin1Char(',')), i + 1 < list.size());
        joined += list[i] + QLatin1Char(' ');
    }
    QStringList expected;
    for (int i = 1; i <= count; ++i)
        expected << QString::number(i);
    QCOMPARE(joined.simplified(), QStringLiteral("Узлы поверхности: ") + expected.join(QStringLiteral(", ")));
}

void tst_ReportPdf::unsetValuesPrintEmpty()
{
    TMine mine;
    minetext::Build(mine, QStringLiteral("u 7 - 2 3; u 8 1 1 1; b 5 7 - -; b - 7 8 2.5"));
    const Pdf pdf = Report(mine, Choice(false, true));
    QCOMPARE(pdf.Pages, 2);
    QVERIFY(pdf.Lines[0].contains(QStringLiteral("7 2.0 3.0")));
    QVERIFY(pdf.Lines[1].contains(QStringLiteral("5 7 0.0")));
    QVERIFY(pdf.Lines[1].contains(QStringLiteral("7 8 2.5 6.3")));
    for (const QStringList &page : pdf.Lines)
        QVERIFY(!page.join(QLatin1Char(' ')).contains(QStringLiteral("777")));
}

// Numbers are measured character by character: as wide as the whole text set by the toolkit.
void tst_ReportPdf::numberWidthsAsSet()
{
    const TQtTextMetrics metrics;
    QImage device(1, 1, QImage::Format_ARGB32);
    device.setDotsPerMeterX(qRound(1200 / 0.0254));
    device.setDotsPerMeterY(qRound(1200 / 0.0254));
    for (const TReportFont &font : {TReportFont{QStringLiteral("Arial"), 10, TReportFont::Regular},
                                    TReportFont{QStringLiteral("Arial"), 7.5, TReportFont::Bold},
                                    TReportFont{QStringLiteral("Times New Roman"), 18, TReportFont::Bold}}) {
        const QFontMetricsF set(TQtTextMetrics::QtFont(font), &device);
        for (const QString text : {"0123456789", "-5412345.5", "1e+15", "7,5", "11111", "Штрек 1"}) {
            const double whole = set.horizontalAdvance(text) * 2.54 / 1200;
            QVERIFY2(qAbs(metrics.Width(font, text) - whole) < 1e-6, qPrintable(text));
        }
    }
}

// A title of 50 million characters (a line break among them) stands on the title page in its
// first thousand, wrapped within the page, in a moment; the mine keeps all of it.
void tst_ReportPdf::longTitleWraps()
{
    TMine mine;
    const QString title = QStringLiteral("Ш\r\n") + QString(50'000'000, u'Ш');
    mine.SetTitle(title);
    minetext::Build(mine, QStringLiteral("u 1 0 0 0"));
    QElapsedTimer clock;
    clock.start();
    const Pdf pdf = Report(mine, Choice(true, false));
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(mine.Title(), title);

    // The name runs over onto the second page.
    QStringList lines;
    for (const QStringList &page : pdf.Lines)
        lines += page.mid(0, page.size() - 1);
    const qsizetype statistics = lines.indexOf(QStringLiteral("Статистика:"));
    QVERIFY(statistics > 4);
    const QString shown = lines.mid(3, statistics - 3).join(QString());
    // The space where the line breaks is not set.
    QCOMPARE(shown, QStringLiteral("Топология шахты \"Ш") + QString(997, u'Ш') + QStringLiteral("…\""));
    QVERIFY(pdf.Title.endsWith(QStringLiteral("Ш…\"")) && pdf.Title.size() < 1100);
}

void tst_ReportPdf::nothingCut_data()
{
    QTest::addColumn<QString>("network");
    QTest::addColumn<QStringList>("names");   // of the branches in order
    QTest::addColumn<bool>("smallerFont");

    // National grid coordinates, six-digit numbers, names longer than their column, a name with a
    // line break.
    QTest::newRow("six-digit numbers, long names")
        << QStringLiteral("u 485312 5412345.67 7345678.9 -250.5; u 485313 5412395.1 7345600.2 -300;"
                          "b 100001 485312 485313 12.5; b 100002 485313 485312 8; b 999999 485312 485312 100000")
        << QStringList{QStringLiteral("Насосная камера гор. -250"), QStringLiteral("Штрек\r\nгор. -300"),
                       QStringLiteral("Вентиляционный квершлаг между северным и южным крылом шахты")}
        << false;
    // Lengths of sixteen digits: the branch table fits the page only in a smaller font.
    QTest::newRow("sixteen-digit lengths")
        << QStringLiteral("u 1234567890 0 0 0; u 1234567891 1e15 0 -1e15; b 1234567890 1234567890 1234567891 1e9")
        << QStringList{QString()} << true;
}

// Every number stands whole as a word of its own, every word of every name on the page, and no
// text reaches past its column.
void tst_ReportPdf::nothingCut()
{
    QFETCH(QString, network);
    QFETCH(QStringList, names);
    QFETCH(bool, smallerFont);
    TMine mine;
    minetext::Build(mine, network);
    for (int i = 1; i <= mine.Branches().Count(); ++i)
        mine.Branches().Items(i)->SetName(names.value(i - 1));
    mine.ResolveIncidence();

    TReportDocument doc;
    TTopologyReport(mine, Choice(false, true)).Build(doc, TQtTextMetrics());
    // The header's bold font goes down with the rows' (the page numbers' 8 pt is regular).
    bool small = false;
    for (const TReportFont &font : doc.Fonts())
        small = small || (font.Size < 10 && (font.StyleFlags & TReportFont::Bold));
    QCOMPARE(small, smallerFont);

    const Pdf pdf = Report(mine, Choice(false, true));
    QStringList words;
    for (const QList<Word> &page : pdf.Words) {
        for (const Word &w : page)
            words << w.Text;
    }
    QStringList expected;
    for (const TUzel *n : mine.Uzels()) {
        for (const TColumnKind kind : {TColumnKind::UzelNumber, TColumnKind::X, TColumnKind::Y, TColumnKind::Z})
            expected << ColumnKinds::Text(kind, *n);
    }
    for (const TBranch *b : mine.Branches()) {
        for (const TColumnKind kind : {TColumnKind::BranchNumber, TColumnKind::StartNumber, TColumnKind::EndNumber,
                                       TColumnKind::Length, TColumnKind::Section, TColumnKind::Angle})
            expected << ColumnKinds::Text(kind, *b);
        expected << b->Name().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    for (const QString &text : expected)
        QVERIFY2(text.isEmpty() || words.contains(text), qPrintable(text));
}

QTEST_MAIN(tst_ReportPdf)
#include "tst_ReportPdf.moc"
