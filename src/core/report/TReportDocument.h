#pragma once
// A composed report: its pages, each a list of drawing operations in centimetres, kept until the
// report is built again. Nothing here draws: a page is played onto a TPageCanvas (the preview,
// the printer, a PDF or a picture) when it is wanted, so a report of thousands of pages costs
// only its operations, never a picture per page. A report written straight out (a PDF of the
// command line) goes page by page to a TPageSink instead, which drops each page once it is
// painted: its memory then does not grow with its length.
//
// Operations and their texts are kept in blocks of a megabyte each, filled in turn: a large report
// makes a few allocations instead of one per cell, and growing never copies what is there or
// holds twice the room it needs.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

// A font by name, size in points and style. Fonts hold Unicode glyphs, so the report has no
// character set to choose.
struct TReportFont {
    enum Style : quint8 { Regular = 0, Bold = 1, Italic = 2 };
    QString Name;
    double Size = 10;
    quint8 StyleFlags = Regular;

    bool operator==(const TReportFont &) const = default;
};

// How a text sits in its box. Left, centre and right are the horizontal alignments; without
// VCenter the text's top is the box's top. Without Clip the text may leave its box (a text at a
// point has an empty box).
namespace TextFlag {
inline constexpr quint8 Left = 0;
inline constexpr quint8 HCenter = 1;
inline constexpr quint8 Right = 2;
inline constexpr quint8 HorizontalMask = 3;
inline constexpr quint8 VCenter = 4;
inline constexpr quint8 WordWrap = 8;
inline constexpr quint8 Clip = 16;
} // namespace TextFlag

struct TReportOp {
    enum Kind : quint8 { Text, Line };
    Kind OpKind = Text;
    quint8 Flags = 0;   // TextFlag, texts only
    quint16 Font = 0;   // index into TReportDocument::Fonts(), texts only
    // Centimetres from the top left corner of the printable area: a text's box, a line's ends.
    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    float Pen = 0;      // line width in centimetres, lines only
    quint32 TextStart = 0, TextLength = 0;   // in the document's text blocks
};

// What a page is played onto.
class TPageCanvas {
public:
    virtual ~TPageCanvas() = default;
    virtual void Text(const TReportFont &font, const TReportOp &op, QStringView text) = 0;
    virtual void Line(const TReportOp &op) = 0;
};

class TReportDocument;
// Takes each page as soon as it is composed: the document and the page's 0-based index.
using TPageSink = std::function<void(const TReportDocument &document, int index)>;

class TReportDocument {
public:
    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &title) { FTitle = title; }

    // Pages composed, the dropped ones included.
    int PageCount() const { return FDropped + int(FPageStarts.size()); }
    // index 0-based, of a page not dropped; plays the page's operations in the order they were
    // drawn.
    void PlayPage(int index, TPageCanvas &canvas) const;
    // The texts of a page in drawing order.
    QStringList PageTexts(int index) const;
    const std::vector<TReportFont> &Fonts() const { return FFonts; }
    // Bytes held by the operations and their texts.
    qint64 MemoryUsed() const;
    // A text longer than this is cut (nothing on a page could show it).
    static constexpr qsizetype kLongestText = qsizetype(1) << 19;

    // --- recording (TPageSurface) ---
    void Clear();
    void StartPage();
    quint16 FontIndex(const TReportFont &font);
    void AddText(const TReportOp &op, QStringView text);
    void AddLine(const TReportOp &op);
    // Forgets the operations of every page so far; the next page keeps its number. The first
    // blocks stay allocated for the pages to come.
    void DropPages();

private:
    static constexpr int kOpBlockBits = 15;
    static constexpr size_t kOpsPerBlock = size_t(1) << kOpBlockBits;
    static constexpr int kTextBlockBits = 19;

    const TReportOp &Op(size_t i) const { return FOpBlocks[i >> kOpBlockBits][i & (kOpsPerBlock - 1)]; }
    QStringView TextOf(const TReportOp &op) const;
    void Append(const TReportOp &op);

    QString FTitle;
    std::vector<TReportFont> FFonts;
    std::vector<std::unique_ptr<TReportOp[]>> FOpBlocks;
    size_t FOpCount = 0;
    std::vector<QString> FTextBlocks;    // each holds at most kLongestText characters
    std::vector<size_t> FPageStarts;     // first operation of each page not dropped
    int FDropped = 0;                    // pages dropped before them
};
