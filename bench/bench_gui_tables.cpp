// Painting the network tables of a 100,000-node, 100,000-branch mine: one full screen of the
// branch table (every visible cell and row header), at the top and far down the list; the row
// refresh after an edit; widening the number columns and a keystroke into a coordinate; and
// opening the tables on the mine.
#include "../tests/support/TablesWindow.h"
#include "GuiBenchMain.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kElements = 100000;

struct BigMine {
    TMineDocument doc;
    QWidget window;
    std::unique_ptr<TNetworkTables> tables;

    BigMine()
    {
        TMine *mine = doc.Mine();
        mine->BeginUpdate();
        for (int i = 1; i <= kElements; ++i)
            mine->AddUzel(i, float(i % 977) * 3.5f, float(i % 313), float(i % 101) - 50.0f);
        for (int i = 1; i <= kElements; ++i) {
            TBranch *b = mine->AddBranch(i, i, i % kElements + 1, QStringLiteral("Штрек %1").arg(i),
                                         4.0f + float(i % 17));
            b->SetShape(quint8(i % 4));
            b->SetResistance(0.0001 * (i % 50));
        }
        mine->EndUpdate();
        mine->ResolveIncidence();
        tables = ShowTables(doc, window, QSize(1280, 1024));
    }
};

BigMine &bigMine()
{
    static BigMine mine;
    return mine;
}

void paintScreen(benchmark::State &state, int firstRow)
{
    BigMine &m = bigMine();
    TNetworkGrid *grid = m.tables->BranchGrid;
    grid->verticalScrollBar()->setValue(firstRow);
    QApplication::processEvents();
    QImage image(grid->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        grid->render(&p);
        p.end();
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["rows"] = double(grid->viewport()->height()) / grid->rowHeight(0);
}

void BM_PaintBranchScreenTop(benchmark::State &state)
{
    paintScreen(state, 0);
}
BENCHMARK(BM_PaintBranchScreenTop)->Unit(benchmark::kMillisecond);

void BM_PaintBranchScreenMiddle(benchmark::State &state)
{
    paintScreen(state, kElements / 2);
}
BENCHMARK(BM_PaintBranchScreenMiddle)->Unit(benchmark::kMillisecond);

void BM_RefreshTables(benchmark::State &state)
{
    BigMine &m = bigMine();
    for (auto _ : state) {
        m.tables->RefreshTables();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RefreshTables)->Unit(benchmark::kMillisecond);

// Every number column of both tables checked against its widest value, as after a paste or a
// transformation.
void BM_WidenColumns(benchmark::State &state)
{
    BigMine &m = bigMine();
    for (auto _ : state)
        m.tables->WidenColumns();
}
BENCHMARK(BM_WidenColumns)->Unit(benchmark::kMillisecond);

// One keystroke into a node's X: applied, the column and the branch table's number columns
// widened where the value needs it.
void BM_TypeCoordinate(benchmark::State &state)
{
    BigMine &m = bigMine();
    TNetworkGrid *grid = m.tables->UzelGrid;
    const int x = grid->TableModel()->ColumnOfKind(TColumnKind::X);
    m.tables->EditAllowed = true;
    bool odd = false;
    for (auto _ : state) {
        m.tables->ApplyEditText(grid, 500, x, odd ? QStringLiteral("1234.5") : QStringLiteral("1234.25"));
        odd = !odd;
    }
}
BENCHMARK(BM_TypeCoordinate)->Unit(benchmark::kMillisecond);

void BM_OpenTables(benchmark::State &state)
{
    BigMine &m = bigMine();
    for (auto _ : state) {
        QWidget host;
        TNetworkTables tables(m.doc, &host);
        tables.LayoutColumns();
        tables.RefreshTables();
        host.resize(1280, 1024);
        QImage image(host.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        tables.BranchGrid->render(&p);
    }
}
BENCHMARK(BM_OpenTables)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunGuiBenchmarks(argc, argv);
}
