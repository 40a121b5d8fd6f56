#include "report/TReportDocument.h"

namespace {

std::pair<size_t, size_t> PageRange(const std::vector<size_t> &starts, size_t opCount, int index)
{
    const size_t first = starts.at(size_t(index));   // throws for a dropped page
    const size_t last = size_t(index) + 1 < starts.size() ? starts[size_t(index) + 1] : opCount;
    return {first, last};
}

} // namespace

QStringView TReportDocument::TextOf(const TReportOp &op) const
{
    const QString &block = FTextBlocks[op.TextStart >> kTextBlockBits];
    return QStringView(block).mid(op.TextStart & (kLongestText - 1), op.TextLength);
}

void TReportDocument::PlayPage(int index, TPageCanvas &canvas) const
{
    const auto [first, last] = PageRange(FPageStarts, FOpCount, index - FDropped);
    for (size_t i = first; i < last; ++i) {
        const TReportOp &op = Op(i);
        if (op.OpKind == TReportOp::Line)
            canvas.Line(op);
        else
            canvas.Text(FFonts[op.Font], op, TextOf(op));
    }
}

QStringList TReportDocument::PageTexts(int index) const
{
    QStringList texts;
    const auto [first, last] = PageRange(FPageStarts, FOpCount, index - FDropped);
    for (size_t i = first; i < last; ++i) {
        if (Op(i).OpKind == TReportOp::Text)
            texts << TextOf(Op(i)).toString();
    }
    return texts;
}

qint64 TReportDocument::MemoryUsed() const
{
    qint64 bytes = qint64(FOpBlocks.size() * kOpsPerBlock * sizeof(TReportOp) + FPageStarts.capacity() * sizeof(size_t));
    for (const QString &block : FTextBlocks)
        bytes += qint64(block.capacity()) * qint64(sizeof(QChar));
    return bytes;
}

void TReportDocument::Clear()
{
    FFonts.clear();
    FOpBlocks.clear();
    FOpCount = 0;
    FTextBlocks.clear();
    std::vector<size_t>().swap(FPageStarts);
    FDropped = 0;
}

void TReportDocument::DropPages()
{
    FDropped += int(FPageStarts.size());
    FPageStarts.clear();
    FOpCount = 0;
    if (FOpBlocks.size() > 1)
        FOpBlocks.resize(1);
    if (FTextBlocks.size() > 1)
        FTextBlocks.resize(1);
    if (!FTextBlocks.empty())
        FTextBlocks.front().resize(0);   // keeps its room
}

void TReportDocument::StartPage()
{
    FPageStarts.push_back(FOpCount);
}

quint16 TReportDocument::FontIndex(const TReportFont &font)
{
    // A report uses a handful of fonts: a scan is cheaper than a map.
    for (size_t i = 0; i < FFonts.size(); ++i) {
        if (FFonts[i] == font)
            return quint16(i);
    }
    FFonts.push_back(font);
    return quint16(FFonts.size() - 1);
}

void TReportDocument::Append(const TReportOp &op)
{
    if (FOpCount == FOpBlocks.size() * kOpsPerBlock)
        FOpBlocks.push_back(std::make_unique<TReportOp[]>(kOpsPerBlock));
    FOpBlocks.back()[FOpCount & (kOpsPerBlock - 1)] = op;
    ++FOpCount;
}

void TReportDocument::AddText(const TReportOp &op, QStringView text)
{
    text = text.left(kLongestText);
    if (FTextBlocks.empty() || FTextBlocks.back().size() + text.size() > kLongestText) {
        FTextBlocks.emplace_back();
        FTextBlocks.back().reserve(kLongestText);
    }
    QString &block = FTextBlocks.back();
    TReportOp stored = op;
    stored.OpKind = TReportOp::Text;
    stored.TextStart = quint32(((FTextBlocks.size() - 1) << kTextBlockBits) | size_t(block.size()));
    stored.TextLength = quint32(text.size());
    block.append(text);
    Append(stored);
}

void TReportDocument::AddLine(const TReportOp &op)
{
    TReportOp stored = op;
    stored.OpKind = TReportOp::Line;
    Append(stored);
}
