// Pasting a spreadsheet's 10,000 rows into the empty node and branch tables of a new document
// (the whole block checked, then written, the tables refreshed), and copying them back out as
// whole rows. Each pass builds its document and frees it within the time.
#include "../tests/support/TablesWindow.h"
#include "GuiBenchMain.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "editor/TableClipboard.h"
#include "editor/TableText.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRows = 10000;

// Rows as the tables show them (and as a copy writes them): computed columns included.
QString nodeBlock()
{
    QString text;
    for (int i = 1; i <= kRows; ++i)
        text += QStringLiteral("%1\t%2,5\t%3\t-%4,25\n").arg(i).arg(i % 977).arg(i % 313).arg(i % 101);
    return text.replace(u',', TableText::DecimalSeparator());
}

QString branchBlock()
{
    QString text;
    for (int i = 1; i <= kRows; ++i)
        text += QStringLiteral("%1\t%2\t%3\t\t%4,5\t\t\t\tШтрек №%1, пикет %5\t0,00%6\t0\tОткаточный\t\n")
                    .arg(i).arg(i).arg(i % kRows + 1).arg(4 + i % 17).arg(i % 9).arg(i % 50 + 10);
    // In the user's decimal separator, as a spreadsheet of the same desktop writes numbers.
    return text.replace(QStringLiteral(",5\t"), QString(TableText::DecimalSeparator()) + QStringLiteral("5\t"))
        .replace(QStringLiteral("0,00"), QStringLiteral("0") + TableText::DecimalSeparator() + QStringLiteral("00"));
}

struct Document {
    TMineDocument doc;
    QWidget window;
    std::unique_ptr<TNetworkTables> tables = ShowTables(doc, window, QSize(1280, 1024));
};

void paste(benchmark::State &state, bool uzels)
{
    const QString block = uzels ? nodeBlock() : branchBlock();
    for (auto _ : state) {
        auto d = std::make_unique<Document>();
        TNetworkGrid *grid = uzels ? d->tables->UzelGrid : d->tables->BranchGrid;
        grid->setFocus();
        grid->SetCurrentCell({.Row = 0, .Column = 0});
        d->tables->Paste(grid, block);
        QApplication::processEvents();   // the repaint of the filled table
        if (grid->TableModel()->ElementCount() != kRows)
            state.SkipWithError("rows missing");
        d.reset();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_Paste10000Nodes(benchmark::State &state) { paste(state, true); }
BENCHMARK(BM_Paste10000Nodes)->Unit(benchmark::kMillisecond);

void BM_Paste10000Branches(benchmark::State &state) { paste(state, false); }
BENCHMARK(BM_Paste10000Branches)->Unit(benchmark::kMillisecond);

void BM_Copy10000Branches(benchmark::State &state)
{
    Document d;
    d.tables->Paste(d.tables->BranchGrid, branchBlock());
    TNetworkGrid *grid = d.tables->BranchGrid;
    grid->selectAll();
    for (auto _ : state)
        TableClipboard::Copy(grid);
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Copy10000Branches)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunGuiBenchmarks(argc, argv);
}
