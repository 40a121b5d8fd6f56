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

} // namespace

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
    FOpen = true;
    StartBlock(x, y);
}

bool TTablePrinter::Row(const QStringList &cells)
{
    RequireOpen();
    FSurface.SetFont(FLayout.RowFont);
    const double line = FLayout.LineHeight;
    int lines = 1;
    for (const QString &cell : cells)
        lines = std::max(lines, int(std::ceil(FSurface.TextHeight(cell) / line - kSlack)));
    const double height = line * lines;
    if (FLayout.AutoBreak && !Fits(FY, height)) {
        MoveToNewPage(FX, FLayout.BreakTop);
        FSurface.SetFont(FLayout.RowFont);
    }
    double x = FX;
    for (qsizetype i = 0; i < FLayout.Widths.size(); ++i) {
        const double w = FLayout.Widths[i];
        if (i < cells.size() && !cells[i].isEmpty()) {
            FSurface.TextBox(x + kCellInset, FY + kCellInset, x + w - kCellInset, FY + height - kCellInset,
                             FlagsOf(FLayout.Aligns[i]) | TextFlag::VCenter | TextFlag::Clip, cells[i]);
        }
        x += w;
    }
    FY += height;
    FSurface.Line(FX, FY, FX + FWidth, FY, FLayout.ThinLine);
    return Fits(FY, line);
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
