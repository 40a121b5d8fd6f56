// The topology report of a large mine: composing it (what the preview and the printer wait for
// before the first page), painting one page as the preview does, and the memory the composed
// pages hold.
//   build/bench/bench_render_report
//   build/bench/bench_render_report --write-mine big.mdf   (the same mine as a file, for timing
//                                                           tarvel-mdf report as a whole process)
#include "../tests/support/LargeReportMine.h"
#include "ReportOutput.h"
#include "TQtTextMetrics.h"
#include "model/TMine.h"
#include "report/TTopologyReport.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstring>
#include <sys/resource.h>

namespace {

double PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_ComposeReport(benchmark::State &state)
{
    const int n = int(state.range(0));
    TMine mine;
    reportmines::Large(mine, n);
    const TQtTextMetrics metrics;
    int pages = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        auto doc = std::make_unique<TReportDocument>();
        TTopologyReport(mine, TReportChoice()).Build(*doc, metrics);
        pages = doc->PageCount();
        bytes = doc->MemoryUsed();
        doc.reset();
    }
    state.counters["pages"] = pages;
    state.counters["report_MB"] = double(bytes) / (1024.0 * 1024.0);
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ComposeReport)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One page of the branch table painted at the preview's 100 % on a 96 dpi screen.
void BM_PaintPreviewPage(benchmark::State &state)
{
    TMine mine;
    reportmines::Large(mine, 2000);
    TReportDocument doc;
    TTopologyReport(mine, TReportChoice()).Build(doc, TQtTextMetrics());
    const int page = doc.PageCount() - 2;
    for (auto _ : state) {
        QImage image = ReportOutput::PageImage(doc, page, 96);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintPreviewPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--write-mine") == 0) {
        TMineDocument doc;
        reportmines::Large(*doc.Mine(), 100000);
        TMineFile::Save(doc, QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
