#include "report/TTopologyReport.h"
#include "ShownText.h"

#include "model/ColumnKinds.h"
#include "model/NumberText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "report/TPageSurface.h"
#include "report/TTablePrinter.h"
#include "report/TextWrap.h"

#include <QLocale>

namespace {

constexpr double W = TPageSurface::kWidth;
constexpr double H = TPageSurface::kHeight;
constexpr double kTableTop = 1.2;   // below the table's heading

// What the columns of the two tables print: the values as the tables show them.
using K = TColumnKind;
constexpr K kNodeKinds[] = {K::UzelNumber, K::X, K::Y, K::Z};
constexpr K kBranchKinds[] = {K::BranchNumber, K::StartNumber, K::EndNumber, K::Length,
                              K::Section,      K::Perimeter,   K::Angle,     K::Name};

TReportFont Font(const char *name, double size, quint8 style = TReportFont::Regular)
{
    return TReportFont{QString::fromLatin1(name), size, style};
}

TTableLayout CommonLayout()
{
    TTableLayout layout;
    layout.HeaderHeight = 1.0;
    layout.LineHeight = 0.5;
    layout.Band = 0.5;
    layout.BreakTop = 0.5;
    layout.ThinLine = 0.01;
    layout.HeaderFont = Font("Arial", 10, TReportFont::Bold);
    layout.RowFont = Font("Arial", 10);
    return layout;
}

TTableLayout NodeLayout()
{
    using A = TTextAlign;
    TTableLayout layout = CommonLayout();
    // The X caption is the Cyrillic Ха, as the table has always printed it.
    layout.Captions = {QStringLiteral("Узел"), QStringLiteral("Х"), QStringLiteral("Y"), QStringLiteral("Z")};
    layout.Widths = {1.5, 2.0, 2.0, 2.0};
    layout.Aligns = {A::Left, A::Right, A::Right, A::Right};
    layout.ThickLine = 0.02;
    return layout;
}

TTableLayout BranchLayout()
{
    using A = TTextAlign;
    TTableLayout layout = CommonLayout();
    layout.Captions = {QStringLiteral("Ветвь"),    QStringLiteral("Нач.\r\nузел"), QStringLiteral("Кон.\r\nузел"),
                       QStringLiteral("Длина"),    QStringLiteral("Сечение"),      QStringLiteral("Периметр"),
                       QStringLiteral("Угол"),     QStringLiteral("Наименование")};
    layout.Widths = {1.2, 1.0, 1.0, 1.5, 1.8, 2.0, 1.5, 4.0};
    layout.Aligns = {A::Left, A::Left, A::Left, A::Right, A::Right, A::Right, A::Right, A::Left};
    layout.ThickLine = 0.03;
    layout.AutoBreak = true;
    for (const TColumnKind kind : kBranchKinds)
        layout.Wraps << ColumnKinds::IsText(kind);
    return layout;
}

template<typename Element, size_t N>
void RowCells(QStringList &cells, const TColumnKind (&kinds)[N], const Element &element)
{
    cells.clear();
    for (const TColumnKind kind : kinds)
        cells << ColumnKinds::Text(kind, element);
}

// The widest text of each column over the rows [first, last) of list; the rows are read again
// when printed rather than held, so that a report of a million rows holds none of them.
template<typename List, size_t N>
QStringList WidestCells(const TTextMetrics &metrics, const TTableLayout &layout, const List &list, int first,
                        int last, const TColumnKind (&kinds)[N])
{
    TWidestCells widest(metrics, layout);
    QStringList cells;
    for (int i = first; i < last; ++i) {
        RowCells(cells, kinds, *list.Items(i + 1));
        widest.Add(cells);
    }
    return widest.Texts();
}

void Heading(TPageSurface &surface, const QString &text)
{
    surface.SetFont(Font("Arial", 16, TReportFont::Bold));
    surface.TextOut(0, 0, text);
}

void PageNumber(TPageSurface &surface, int number)
{
    surface.SetFont(Font("Arial", 8));
    const QString text = QString::number(number);
    const double y = H - surface.TextHeight(text);
    surface.TextOut(y, W - surface.TextWidth(text), text);
    surface.Line(0, y - 0.1, W, y - 0.1, 0.01);
}

// A line of the title page's lists: printed at y, which moves down by the line's height. A list
// longer than the page goes on over the next page instead of running off the paper.
void ListLine(TPageSurface &surface, double &y, const QString &text)
{
    const double height = surface.TextHeight(text);
    if (y > 0 && y + height > H - 0.5) {
        surface.NewPage();
        y = 0;
    }
    surface.TextOut(y, 0, text);
    y += height;
}

} // namespace

TTopologyReport::TTopologyReport(const TMine &mine, const TReportChoice &choice)
    : FMine(mine), FChoice(choice), FMoment(QDateTime::currentDateTime())
{
}

QString TTopologyReport::DocumentTitle(const TMine &mine)
{
    return DocumentTitleOf(OneLineText(mine.Title()));
}

QString TTopologyReport::DocumentTitleOf(const QString &name)
{
    return QStringLiteral("Топология шахты \"%1\"").arg(name);
}

std::unique_ptr<TMine> TTopologyReport::ResolvedCopy(const TMine &mine)
{
    auto copy = std::make_unique<TMine>();
    copy->BeginUpdate();
    copy->SetTitle(mine.Title());
    for (const TUzel *n : mine.Uzels())
        copy->AddUzel(n->Number(), n->X(), n->Y(), n->Z())->SetSurface(n->Surface());
    for (const TBranch *b : mine.Branches()) {
        TBranch *c = copy->AddBranch(b->Number(), b->StartNumber(), b->EndNumber(), QString(), b->Section());
        c->SetShape(b->Shape());
        c->SetName(b->Name());
    }
    copy->EndUpdate();
    copy->ResolveIncidence();
    return copy;
}

void TTopologyReport::Build(TReportDocument &document, const TTextMetrics &metrics, const TPageSink &sink) const
{
    TPageSurface surface(document, metrics);
    document.SetTitle(DocumentTitle(FMine));
    if (!FChoice.PrintsAnything()) {
        document.Clear();
        return;
    }
    surface.OnPageDrawn = PageNumber;
    surface.PageSink = sink;
    bool printed = false;
    if (FChoice.TitlePage) {
        TitlePage(surface);
        printed = true;
    }
    if (FChoice.PrintsNodes()) {
        if (printed)
            surface.NewPage();
        NodeTable(surface);
        printed = true;
    }
    if (FChoice.PrintsBranches()) {
        if (printed)
            surface.NewPage();
        BranchTable(surface);
    }
    surface.Finish();
}

void TTopologyReport::TitlePage(TPageSurface &surface) const
{
    const QLocale locale;
    surface.SetFont(Font("Arial", 10));
    surface.TextOut(0, 0, locale.toString(FMoment.date(), QLocale::ShortFormat));
    const QString time = locale.toString(FMoment.time(), QLocale::LongFormat);
    surface.TextOut(0, W - surface.TextWidth(time), time);
    const double rule = surface.TextHeight(u"H") + 0.3;
    surface.Line(0, rule, W, rule, 0.01);

    double y = 3.0;
    for (const QString &line : {QStringLiteral("Программа расчета параметров воздушных ударных волн и"),
                                QStringLiteral("взрывобезопасных расстояний \"Тарвел\"")}) {
        surface.TextOut(y, 0, line);
        y += surface.TextHeight(line);
    }

    y += 2.0;
    // The name wraps within the page; y then stands at the top of its last line.
    const TReportFont titleFont = Font("Times New Roman", 18, TReportFont::Bold);
    surface.SetFont(titleFont);
    const std::vector<TTextLine> title = TextWrap::Lines(DocumentTitle(FMine), W, surface.Metrics(), titleFont);
    for (const TTextLine &line : title)
        ListLine(surface, y, line.Text);
    y += 1.0 - surface.TextHeight(u"H");
    surface.SetFont(Font("Arial", 11, TReportFont::Bold));
    const QString statistics = QStringLiteral("Статистика:");
    surface.TextOut(y, 0, statistics);
    y += surface.TextHeight(statistics);

    const TUzelList &uzels = FMine.Uzels();
    int surfaceCount = 0;
    for (const TUzel *uzel : uzels)
        surfaceCount += uzel->Surface() ? 1 : 0;
    surface.SetFont(Font("Arial", 10, TReportFont::Italic));
    ListLine(surface, y, QStringLiteral("Количество узлов: %1").arg(uzels.Count()));
    ListLine(surface, y, QStringLiteral("Количество ветвей: %1").arg(FMine.Branches().Count()));
    ListLine(surface, y, QStringLiteral("Количество выходов на поверхность: %1 ").arg(surfaceCount));

    const QString head = QStringLiteral("Узлы поверхности: ");
    if (surfaceCount == 0) {
        ListLine(surface, y, head + QStringLiteral("отсутствуют"));
        return;
    }
    // Each number goes with its ", "; a line that cannot take the next one is printed as it is.
    QString line = head;
    for (const TUzel *uzel : uzels) {
        if (!uzel->Surface())
            continue;
        const QString item = NumberText::Int(uzel->Number()) + QStringLiteral(", ");
        if (!line.isEmpty() && surface.TextWidth(QString(line + item)) > W) {
            ListLine(surface, y, line);
            line.clear();
        }
        line += item;
    }
    line.chop(2);
    ListLine(surface, y, line);
}

std::pair<int, int> TTopologyReport::Rows(int count) const
{
    const bool one = FChoice.Lists != TReportChoice::AllLists;
    if (!FChoice.Selective || !one)
        return {0, count};
    const int first = std::clamp(FChoice.FirstRow, 0, count);
    const int last = std::clamp(FChoice.LastRow + 1, first, count);
    return {first, last};
}

void TTopologyReport::NodeTable(TPageSurface &surface) const
{
    const TUzelList &uzels = FMine.Uzels();
    const auto [first, last] = Rows(uzels.Count());
    TTableLayout layout = NodeLayout();
    const QStringList widest = WidestCells(surface.Metrics(), layout, uzels, first, last, kNodeKinds);
    // Two halves side by side while the table fits half the page at its usual font; otherwise
    // one table down the page, its font made smaller only when even the page is too narrow.
    TTableLayout halves = layout;
    const bool twoHalves = TTablePrinter::FitColumns(halves, widest, 0, W / 2, surface.Metrics(), false);
    if (twoHalves)
        layout = halves;
    else
        TTablePrinter::FitColumns(layout, widest, 0, W, surface.Metrics(), true);

    Heading(surface, QStringLiteral("Топологическая таблица узлов"));
    TTablePrinter table(surface);
    table.Open(0, kTableTop, layout);
    // Rows fill the left half of the page, then the right half from the same height, then the
    // next page from the top.
    double top = kTableTop;
    bool rightHalf = false;
    bool fits = true;
    QStringList cells;
    for (int i = first; i < last; ++i) {
        if (!fits) {
            if (twoHalves && !rightHalf) {
                table.MoveTo(W / 2, top);
            } else {
                top = 0;
                table.MoveToNewPage(0, top);
            }
            rightHalf = twoHalves && !rightHalf;
        }
        RowCells(cells, kNodeKinds, *uzels.Items(i + 1));
        fits = table.Row(cells);
    }
    table.Close();
}

void TTopologyReport::BranchTable(TPageSurface &surface) const
{
    const TBranchList &branches = FMine.Branches();
    const auto [first, last] = Rows(branches.Count());
    TTableLayout layout = BranchLayout();
    TTablePrinter::FitColumns(layout, WidestCells(surface.Metrics(), layout, branches, first, last, kBranchKinds), 0, W,
                              surface.Metrics(), true);

    Heading(surface, QStringLiteral("Топологическая таблица ветвей"));
    TTablePrinter table(surface);
    table.Open(0, kTableTop, layout);
    QStringList cells;
    for (int i = first; i < last; ++i) {
        RowCells(cells, kBranchKinds, *branches.Items(i + 1));
        table.Row(cells);
    }
    table.Close();
}
