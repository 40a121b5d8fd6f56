#pragma once
// The page surface the report is composed on: A4 portrait in centimetres, positions measured
// from the top left corner of the printable area (x to the right, y downwards). It records what
// is drawn into a TReportDocument and measures text through a TTextMetrics; it never draws.
//
// The surface begins with page 1. Every page is finished by NewPage or Finish, which calls
// OnPageDrawn with the page's number (the report writes page numbers there); the font in effect
// before the hook is in effect again after it. With a page sink, each finished page then goes to
// the sink and is dropped from the document, which so holds one page at a time.
#include "report/TReportDocument.h"
#include "report/TTextMetrics.h"

#include <QString>
#include <functional>

enum class TTextAlign : quint8 { Left, Center, Right };

class TPageSurface {
public:
    static constexpr double kPaperWidth = 21.0;
    static constexpr double kPaperHeight = 29.7;
    static constexpr double kMarginLeft = 2.5;
    static constexpr double kMarginTop = 1.5;
    static constexpr double kMarginRight = 1.5;
    static constexpr double kMarginBottom = 1.5;
    // The printable area, W and H.
    static constexpr double kWidth = kPaperWidth - kMarginLeft - kMarginRight;
    static constexpr double kHeight = kPaperHeight - kMarginTop - kMarginBottom;

    // Clears the document and starts its first page.
    TPageSurface(TReportDocument &document, const TTextMetrics &metrics);

    std::function<void(TPageSurface &surface, int pageNumber)> OnPageDrawn;
    TPageSink PageSink;

    void SetFont(const TReportFont &font);
    const TReportFont &Font() const { return FFont; }

    // One line of text whose top is at y: starting at x (Left), centred on x or ending at x.
    void TextOut(double y, double x, const QString &text, TTextAlign align = TTextAlign::Left);
    // Text in a box; flags are TextFlag values.
    void TextBox(double x1, double y1, double x2, double y2, quint8 flags, QStringView text);
    double TextWidth(QStringView text) const;
    double TextHeight(QStringView text) const;
    const TTextMetrics &Metrics() const { return FMetrics; }
    void Line(double x1, double y1, double x2, double y2, double width);

    void NewPage();
    // Finishes the last page; nothing may be drawn afterwards.
    void Finish();
    int PageNumber() const { return FDocument.PageCount(); }

private:
    void PageDrawn();

    TReportDocument &FDocument;
    const TTextMetrics &FMetrics;
    TReportFont FFont;
    quint16 FFontIndex = 0;
    bool FFinished = false;
};
