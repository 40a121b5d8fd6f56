#include "report/TTablePrinter.h"

#include "AppError.h"

#include <cmath>

namespace {

// Positions add up halves and tenths of centimetres; a row that ends exactly on the band must
// still fit.
constexpr double kSlack = 1e-6;
// Cell texts keep this far from the ruling on every side.
constexpr double kCellInset = 0.05;

quint8 FlagsOf(TTextAlign align)
{
    switch (align) {
    case TTextAlign::Left: return TextFlag::Left;
    case TTextAlign::Center: return TextFlag::HCenter;
    case TTextAlign::Right: return TextFlag::Right;
    }
    return TextFlag::Left;
}

// Where a line of the given width starts in a cell from x of width w.
double LineX(TTextAlign align, double x, double w, double lineWidth)
{
    switch (align) {
    case TTextAlign::Left: break;
    case TTextAlign::Center: return x + (w - lineWidth) / 2;
    case TTextAlign::Right: return x + w - kCellInset - lineWidth;
    }
    return x + kCellInset;
}

} // namespace

TWidestCells::TWidestCells(const TTextMetrics &metrics, const TTableLayout &layout)
    : FMetrics(metrics), FFont(layout.RowFont), FWraps(layout.Wraps)
{
    for (qsizetype i = 0; i < layout.Widths.size(); ++i) {
        FTexts << QString();
        FWidths << 0.0;
    }
}

void TWidestCells::Add(const QStringList &cells)
{
    for (qsizetype i = 0; i < cells.size() && i < FTexts.size(); ++i) {
        if (FWraps.value(i, false) || cells[i].isEmpty())
            continue;
        const double w = FMetrics.Width(FFont, cells[i]);
        if (w > FWidths[i]) {
            FWidths[i] = w;
            FTexts[i] = cells[i];
        }
    }
}

bool TTablePrinter::FitColumns(TTableLayout &layout, const QStringList &widest, double x, double right,
                               const TTextMetrics &metrics, bool shrink)
{
    const QList<double> least = layout.Widths;
    const double base = layout.RowFont.Size;
    const double header = layout.HeaderFont.Size;
    for (double size = base;; size -= kFontStep) {
        TReportFont font = layout.RowFont;
        font.Size = size;
        double width = 0;
        for (qsizetype i = 0; i < least.size(); ++i) {
            double w = least[i];
            if (!layout.Wraps.value(i, false) && !widest.value(i).isEmpty())
                w = std::max(w, metrics.Width(font, widest[i]) + 2 * kCellInset);
            layout.Widths[i] = w;
            width += w;
        }
        layout.RowFont = font;
        layout.HeaderFont.Size = header * size / base;
        if (x + width <= right + kSlack)
            return true;
        if (!shrink || size - kFontStep < kSmallestFont - kSlack)
            return false;
    }
}

QString TTablePrinter::RefusalMismatch()
{
    return QStringLiteral("Не совпадают массивы заголовков, ширин или выравниваний столбцов");
}

QString TTablePrinter::RefusalNoRoom()
{
    return QStringLiteral("Недостаточно места на странице для печати \"шапки\" и одной строки таблицы");
}

QString TTablePrinter::RefusalNegativeIndent()
{
    return QStringLiteral("Неверная величина одного или нескольких отступов");
}

QString TTablePrinter::RefusalIndentsTooLarge()
{
    return QStringLiteral("Слишком большие отступы");
}

QString TTablePrinter::RefusalTooWide(double width, double available)
{
    return QString::asprintf("Таблица слишком широкая (%f > %f)", width, available);
}

QString TTablePrinter::RefusalStillOpen()
{
    return QStringLiteral("Предыдущая таблица не закрыта");
}

QString TTablePrinter::RefusalNotOpen()
{
    return QStringLiteral("Таблица не была открыта");
}

void TTablePrinter::Open(double x, double y, const TTableLayout &layout)
{
    // Checked so that every refusal can be reached: a band taller than the page would otherwise
    // always be reported as too little room.
    const double h = TPageSurface::kHeight;
    if (FOpen)
        throw AppError(RefusalStillOpen());
    if (layout.Captions.size() != layout.Widths.size() || layout.Widths.size() != layout.Aligns.size())
        throw AppError(RefusalMismatch());
    if (layout.Band < 0 || x < 0 || y < 0 || layout.BreakTop < 0)
        throw AppError(RefusalNegativeIndent());
    if (h < layout.Band)
        throw AppError(RefusalIndentsTooLarge());
    if (h - layout.Band < layout.HeaderHeight + layout.LineHeight)
        throw AppError(RefusalNoRoom());
    double width = 0;
    for (double w : layout.Widths)
        width += w;
    if (x + width > TPageSurface::kWidth + kSlack)
        throw AppError(RefusalTooWide(x + width, TPageSurface::kWidth));
    FLayout = layout;
    FWidth = width;
    FSurface.SetFont(layout.RowFont);
    FTextLine = FSurface.TextHeight(u"0");
    FOpen = true;
    StartBlock(x, y);
}

bool TTablePrinter::Row(const QStringList &cells)
{
    RequireOpen();
    FSurface.SetFont(FLayout.RowFont);
    const qsizetype columns = FLayout.Widths.size();
    std::vector<std::vector<TTextLine>> lines(static_cast<size_t>(columns));
    size_t total = 0;
    for (qsizetype i = 0; i < columns && i < cells.size(); ++i) {
        if (cells[i].isEmpty())
            continue;
        const double room = FLayout.Wraps.value(i, false) ? FLayout.Widths[i] - 2 * kCellInset : TextWrap::kNoLimit;
        lines[size_t(i)] = TextWrap::Lines(cells[i], room, FSurface.Metrics(), FLayout.RowFont);
        total = std::max(total, lines[size_t(i)].size());
    }
    const double freshTop = FLayout.BreakTop + FLayout.HeaderHeight;
    // The lines from `from` on are set in parts: the whole row as a rule, a part a page for a
    // row taller than a page.
    for (size_t from = 0;;) {
        size_t count = total - from;
        double height = PartHeight(count);
        if (FLayout.AutoBreak && !Fits(FY, height)) {
            const bool blockEmpty = FY <= FBlockTop + FLayout.HeaderHeight + kSlack;
            if (!blockEmpty && Fits(freshTop, height)) {
                MoveToNewPage(FX, FLayout.BreakTop);
                FSurface.SetFont(FLayout.RowFont);
            } else {
                while (count > 1 && !Fits(FY, PartHeight(count)))
                    --count;
                if (!blockEmpty && !Fits(FY, PartHeight(count))) {
                    MoveToNewPage(FX, FLayout.BreakTop);
                    FSurface.SetFont(FLayout.RowFont);
                    continue;
                }
                height = PartHeight(count);
            }
        }
        DrawPart(lines, from, count, height);
        FY += height;
        FSurface.Line(FX, FY, FX + FWidth, FY, FLayout.ThinLine);
        from += count;
        if (from >= total)
            break;
        MoveToNewPage(FX, FLayout.BreakTop);
        FSurface.SetFont(FLayout.RowFont);
    }
    return Fits(FY, FLayout.LineHeight);
}

double TTablePrinter::PartHeight(size_t lines) const
{
    // Whole line heights: the text's height divided by the line height, rounded up.
    const double line = FLayout.LineHeight;
    const double text = double(std::max<size_t>(lines, 1)) * FTextLine;
    return line * std::max(1.0, std::ceil(text / line - kSlack));
}

void TTablePrinter::DrawPart(const std::vector<std::vector<TTextLine>> &cells, size_t from, size_t count,
                             double height)
{
    // Each text is set at a point measured here, so that the page draws it as it is; only a
    // text wider than its cell (a single character wider than the column) is drawn clipped.
    double x = FX;
    for (qsizetype i = 0; i < FLayout.Widths.size(); ++i) {
        const double w = FLayout.Widths[i];
        const std::vector<TTextLine> &lines = cells[size_t(i)];
        const size_t n = lines.size() > from ? std::min(count, lines.size() - from) : 0;
        const double top = FY + (height - double(n) * FTextLine) / 2;
        for (size_t j = 0; j < n; ++j) {
            const TTextLine &line = lines[from + j];
            if (line.Text.isEmpty())
                continue;
            const double y = top + double(j) * FTextLine;
            if (line.Width > w - 2 * kCellInset + kSlack) {
                FSurface.TextBox(x + kCellInset, y, x + w - kCellInset, y + FTextLine,
                                 FlagsOf(FLayout.Aligns[i]) | TextFlag::Clip, line.Text);
            } else {
                FSurface.TextOut(y, LineX(FLayout.Aligns[i], x, w, line.Width), line.Text);
            }
        }
        x += w;
    }
}

void TTablePrinter::MoveTo(double x, double y)
{
    RequireOpen();
    CloseBlock();
    StartBlock(x, y);
}

void TTablePrinter::MoveToNewPage(double x, double y)
{
    RequireOpen();
    CloseBlock();
    FSurface.NewPage();
    StartBlock(x, y);
}

void TTablePrinter::Close()
{
    RequireOpen();
    CloseBlock();
    FOpen = false;
}

void TTablePrinter::RequireOpen() const
{
    if (!FOpen)
        throw AppError(RefusalNotOpen());
}

bool TTablePrinter::Fits(double y, double rowHeight) const
{
    return y + rowHeight + FLayout.Band <= TPageSurface::kHeight + kSlack;
}

void TTablePrinter::StartBlock(double x, double y)
{
    FX = x;
    FY = y;
    FBlockTop = y;
    const double right = x + FWidth;
    const double bottom = y + FLayout.HeaderHeight;
    FSurface.SetFont(FLayout.HeaderFont);
    FSurface.Line(x, y, right, y, FLayout.ThickLine);
    double left = x;
    for (qsizetype i = 0; i < FLayout.Widths.size(); ++i) {
        // Captions may hold line breaks of their own ("Нач.\r\nузел").
        QString caption = FLayout.Captions[i];
        caption.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        FSurface.TextBox(left, y, left + FLayout.Widths[i], bottom,
                         TextFlag::HCenter | TextFlag::VCenter | TextFlag::WordWrap, caption);
        left += FLayout.Widths[i];
    }
    FSurface.Line(x, bottom, right, bottom, FLayout.ThickLine);
    FY = bottom;
}

void TTablePrinter::CloseBlock()
{
    double x = FX;
    for (qsizetype i = 0; i + 1 < FLayout.Widths.size(); ++i) {
        x += FLayout.Widths[i];
        FSurface.Line(x, FBlockTop, x, FY, FLayout.ThinLine);
    }
    const double right = FX + FWidth;
    FSurface.Line(FX, FBlockTop, FX, FY, FLayout.ThickLine);
    FSurface.Line(right, FBlockTop, right, FY, FLayout.ThickLine);
    FSurface.Line(FX, FY, right, FY, FLayout.ThickLine);
}
