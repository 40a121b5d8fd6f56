#include "report/TPageSurface.h"

#include <QtGlobal>

TPageSurface::TPageSurface(TReportDocument &document, const TTextMetrics &metrics)
    : FDocument(document), FMetrics(metrics)
{
    FFont.Name = QStringLiteral("Arial");
    FDocument.Clear();
    FFontIndex = FDocument.FontIndex(FFont);
    FDocument.StartPage();
}

void TPageSurface::SetFont(const TReportFont &font)
{
    if (font == FFont)
        return;
    FFont = font;
    FFontIndex = FDocument.FontIndex(font);
}

void TPageSurface::TextOut(double y, double x, const QString &text, TTextAlign align)
{
    const quint8 flags = align == TTextAlign::Left ? TextFlag::Left
        : align == TTextAlign::Center              ? TextFlag::HCenter
                                                   : TextFlag::Right;
    TextBox(x, y, x, y, flags, text);
}

void TPageSurface::TextBox(double x1, double y1, double x2, double y2, quint8 flags, QStringView text)
{
    Q_ASSERT(!FFinished);
    TReportOp op;
    op.Flags = flags;
    op.Font = FFontIndex;
    op.X1 = float(x1);
    op.Y1 = float(y1);
    op.X2 = float(x2);
    op.Y2 = float(y2);
    FDocument.AddText(op, text);
}

double TPageSurface::TextWidth(QStringView text) const
{
    return FMetrics.Width(FFont, text);
}

double TPageSurface::TextHeight(QStringView text) const
{
    return FMetrics.Height(FFont, text);
}

void TPageSurface::Line(double x1, double y1, double x2, double y2, double width)
{
    Q_ASSERT(!FFinished);
    TReportOp op;
    op.X1 = float(x1);
    op.Y1 = float(y1);
    op.X2 = float(x2);
    op.Y2 = float(y2);
    op.Pen = float(width);
    FDocument.AddLine(op);
}

void TPageSurface::NewPage()
{
    PageDrawn();
    FDocument.StartPage();
}

void TPageSurface::Finish()
{
    if (FFinished)
        return;
    PageDrawn();
    FFinished = true;
}

void TPageSurface::PageDrawn()
{
    if (OnPageDrawn) {
        const TReportFont font = FFont;
        OnPageDrawn(*this, PageNumber());
        SetFont(font);
    }
    if (PageSink) {
        PageSink(FDocument, PageNumber() - 1);
        FDocument.DropPages();
    }
}
