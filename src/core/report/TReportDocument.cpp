#include "report/TReportDocument.h"

namespace {

std::pair<size_t, size_t> PageRange(const std::vector<quint32> &starts, size_t opCount, int index)
{
    const size_t first = starts.at(size_t(index));
    const size_t last = size_t(index) + 1 < starts.size() ? starts[size_t(index) + 1] : opCount;
    return {first, last};
}

} // namespace

void TReportDocument::PlayPage(int index, TPageCanvas &canvas) const
{
    const auto [first, last] = PageRange(FPageStarts, FOps.size(), index);
    for (size_t i = first; i < last; ++i) {
        const TReportOp &op = FOps[i];
        if (op.OpKind == TReportOp::Line)
            canvas.Line(op);
        else
            canvas.Text(FFonts[op.Font], op, QStringView(FTexts).mid(op.TextStart, op.TextLength));
    }
}

QStringList TReportDocument::PageTexts(int index) const
{
    QStringList texts;
    const auto [first, last] = PageRange(FPageStarts, FOps.size(), index);
    for (size_t i = first; i < last; ++i) {
        if (FOps[i].OpKind == TReportOp::Text)
            texts << FTexts.mid(FOps[i].TextStart, FOps[i].TextLength);
    }
    return texts;
}

qint64 TReportDocument::MemoryUsed() const
{
    return qint64(FOps.capacity() * sizeof(TReportOp) + FPageStarts.capacity() * sizeof(quint32))
        + qint64(FTexts.capacity()) * qint64(sizeof(QChar));
}

void TReportDocument::Clear()
{
    FFonts.clear();
    std::vector<TReportOp>().swap(FOps);
    std::vector<quint32>().swap(FPageStarts);
    FTexts = QString();
}

void TReportDocument::StartPage()
{
    FPageStarts.push_back(quint32(FOps.size()));
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

void TReportDocument::AddText(const TReportOp &op, QStringView text)
{
    TReportOp stored = op;
    stored.OpKind = TReportOp::Text;
    stored.TextStart = quint32(FTexts.size());
    stored.TextLength = quint32(text.size());
    FTexts.append(text);
    FOps.push_back(stored);
}

void TReportDocument::AddLine(const TReportOp &op)
{
    TReportOp stored = op;
    stored.OpKind = TReportOp::Line;
    FOps.push_back(stored);
}
