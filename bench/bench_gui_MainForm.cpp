// The main window with a large mine: opening it, the enabling rules evaluated at every idle
// moment, activation (status bar, group boxes) and a sort through the command.
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "settings/TConfig.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString bigMine(const QTemporaryDir &dir, int n)
{
    const QString path = dir.filePath(QStringLiteral("big-%1.mdf").arg(n));
    if (QFile::exists(path))
        return path;
    TMineDocument doc;
    TMine *mine = doc.Mine();
    for (int i = 1; i <= 20; ++i)
        (new TLayer(mine))->SetName(QStringLiteral("Пласт %1").arg(i));
    for (int i = 1; i <= n; ++i)
        mine->AddUzel(i, float(i % 1000), float(i / 1000), float(-(i % 37)));
    for (int i = 1; i <= n; ++i) {
        TBranch *b = mine->AddBranch(n + 1 - i, i, i % n + 1, QString(), 10.0f);
        b->SetLayerIndex(i % 20);
    }
    TMineFile::Save(doc, path);
    return path;
}

struct Env {
    Env()
    {
        static int argc = 1;
        static char arg0[] = "bench";
        static char *argv[] = {arg0, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = new QApplication(argc, argv);
        Config = new TConfig(false);
    }
    QApplication *app;
    QTemporaryDir dir;
};

Env &env()
{
    static Env e;
    return e;
}

void BM_OpenDocument(benchmark::State &state)
{
    const QString path = bigMine(env().dir, int(state.range(0)));
    for (auto _ : state) {
        TMainForm form;
        form.OpenDocumentFile(path);
        benchmark::DoNotOptimize(form.DocumentCount());
        state.PauseTiming();
        form.ActiveChild()->Mine()->SetModified(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDocument)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UpdateActions(benchmark::State &state)
{
    const QString path = bigMine(env().dir, int(state.range(0)));
    TMainForm form;
    form.OpenDocumentFile(path);
    for (auto _ : state)
        form.UpdateActions();
    form.ActiveChild()->Mine()->SetModified(false);
}
BENCHMARK(BM_UpdateActions)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_Activate(benchmark::State &state)
{
    const QString path = bigMine(env().dir, int(state.range(0)));
    TMainForm form;
    form.OpenDocumentFile(path);
    for (auto _ : state)
        form.ActiveChild()->FormActivate();
    form.ActiveChild()->Mine()->SetModified(false);
}
BENCHMARK(BM_Activate)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_SortBranchesByEnd(benchmark::State &state)
{
    const QString path = bigMine(env().dir, int(state.range(0)));
    TMainForm form;
    form.OpenDocumentFile(path);
    for (auto _ : state)
        form.actSortBranchesEnd->trigger();
    form.ActiveChild()->Mine()->SetModified(false);
}
BENCHMARK(BM_SortBranchesByEnd)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
