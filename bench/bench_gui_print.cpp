// The print dialog on a mine of 100,000 nodes and 100,000 branches (about 3,000 pages): opening
// the dialog with its preview tables, and the preview from the button to page 1 on the screen
// (the report built, the page list filled, one page painted).
#include "../tests/support/LargeReportMine.h"
#include "GuiBenchMain.h"
#include "model/TMine.h"
#include "print/TPageView.h"
#include "print/TPreviewForm.h"
#include "print/TPrintForm.h"

#include <QApplication>
#include <QComboBox>
#include <benchmark/benchmark.h>

namespace {

void BM_OpenPrintDialog(benchmark::State &state)
{
    TMine mine;
    reportmines::Large(mine, int(state.range(0)));
    for (auto _ : state) {
        auto form = std::make_unique<TPrintForm>(mine);
        form->show();
        QApplication::processEvents();
        form.reset();
    }
}
BENCHMARK(BM_OpenPrintDialog)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PreviewToFirstPage(benchmark::State &state)
{
    TMine mine;
    reportmines::Large(mine, int(state.range(0)));
    TPrintForm form(mine);
    form.show();
    QApplication::processEvents();
    int pages = 0;
    for (auto _ : state) {
        TPreviewForm *preview = form.Preview();
        preview->resize(1000, 800);
        preview->show();   // builds the report, fills the page list
        preview->PageView->repaint();
        pages = preview->cbPage->count();
        preview->hide();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PreviewToFirstPage)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunGuiBenchmarks(argc, argv);
}
