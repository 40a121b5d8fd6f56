// Moving every node of a 100,000-node mine: the model's transformation with a scheme attached
// (extents and the projection of every node follow once), and the same through the dialog's
// "&ОК" on an open document window (results question, tables, status bar), the dialog built and
// freed in every round.
#include "../tests/support/LargeSchemeMine.h"
#include "../tests/support/RecordingScheme.h"
#include "app/TChildForm.h"
#include "app/TMainForm.h"
#include "dialogs/TTransForm.h"
#include "model/CoordinateTransform.h"
#include "model/TMine.h"
#include "settings/TConfig.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <benchmark/benchmark.h>
#include <numbers>

namespace {

QApplication &app()
{
    static int argc = 1;
    static char arg0[] = "bench";
    static char *argv[] = {arg0, nullptr};
    static QApplication *a = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto *created = new QApplication(argc, argv);
        Config = new TConfig(false);
        return created;
    }();
    return *a;
}

void BM_TransformMine(benchmark::State &state)
{
    const bool rotate = state.range(0) == 1;
    auto mine = schememines::Large();
    RecordingScheme scheme;
    mine->SetScheme(&scheme);
    const auto transform = rotate ? TNodeTransform::Rotation(100, 50, std::numbers::pi / 180)
                                  : TNodeTransform::ShiftScale({1, 1, 1}, {0.5, -0.5, 0});
    for (auto _ : state) {
        transform.ApplyToAll(*mine);
        scheme.Clear();
    }
    mine->SetScheme(nullptr);
    state.SetItemsProcessed(state.iterations() * mine->Uzels().Count());
}
BENCHMARK(BM_TransformMine)->Arg(0)->Arg(1)->ArgName("rotate")->Unit(benchmark::kMillisecond);

void BM_TransformDialog(benchmark::State &state)
{
    app();
    const bool rotate = state.range(0) == 1;
    TMainForm form;
    TChildForm *child = form.CreateChild();
    {
        auto large = schememines::Large();
        TMine *mine = child->Mine();
        mine->BeginUpdate();
        for (const TUzel *u : large->Uzels())
            mine->AddUzel(u->Number(), u->X(), u->Y(), u->Z());
        mine->EndUpdate();
    }
    child->RefreshTables();
    for (auto _ : state) {
        TTransForm dialog(*child);
        if (rotate) {
            dialog.PageControl->setCurrentIndex(TTransForm::RotationPage);
            dialog.AngleEdit->setText(QStringLiteral("1"));
        } else {
            dialog.OffsetXEdit->setText(QStringLiteral("0.5"));
        }
        dialog.btnOK->click();
        benchmark::DoNotOptimize(dialog.result());
    }
    child->Mine()->SetModified(false);
    state.SetItemsProcessed(state.iterations() * child->Mine()->Uzels().Count());
}
BENCHMARK(BM_TransformDialog)->Arg(0)->Arg(1)->ArgName("rotate")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
