// The find and list tools on a mine of 100,000 nodes and 100,000 branches with a stopping in
// every branch: the find dialog's value lists (as text, with the element's number, comments),
// the dialog opening on a parameter and painting its list, and the stopping list filling,
// sorting and painting. Every iteration frees what it built.
#include "GuiBenchMain.h"
#include "dialogs/TFindForm.h"
#include "dialogs/TfrmJumpers.h"
#include "model/FindValues.h"
#include "model/StoppingOrder.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "storage/TMineDocument.h"

#include <QApplication>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QTableView>
#include <benchmark/benchmark.h>

namespace {

constexpr int kElements = 100000;

TMineDocument &bigMine()
{
    static TMineDocument *doc = [] {
        auto *d = new TMineDocument;
        TMine *mine = d->Mine();
        mine->BeginUpdate();
        for (int i = 1; i <= kElements; ++i)
            mine->AddUzel(i, float(i % 977) * 3.5f, float(i % 313), float(i % 101) - 50.0f);
        for (int i = 1; i <= kElements; ++i) {
            // Numbers in an order of their own, so that no list starts out sorted.
            const int number = int((qint64(i) * 7919) % kElements) + 1;
            TBranch *b = mine->AddBranch(number, i, i % kElements + 1,
                                         QStringLiteral("Штрек %1").arg(i % 5000), 4.0f + float(i % 17));
            b->SetName(QStringLiteral("Выработка %1").arg(i));
            auto *j = new TJumper(b, double(i % 1000) / 1000.0);
            j->SetCaption(QStringLiteral("П%1").arg(i % 3000));
            j->SetThickness(double(i % 7) / 10.0);
        }
        mine->EndUpdate();
        mine->ResolveIncidence();
        return d;
    }();
    return *doc;
}

void BM_FindValueList(benchmark::State &state)
{
    const TMine &mine = *bigMine().Mine();
    const int kind = int(state.range(0));
    for (auto _ : state) {
        std::vector<TFindValue> values = FindValues::List(mine, kind);
        benchmark::DoNotOptimize(values.data());
    }
}
// Branch numbers (no suffix), lengths (computed, with suffix), comments, names.
BENCHMARK(BM_FindValueList)->Arg(4)->Arg(7)->Arg(14)->Arg(17)->Unit(benchmark::kMillisecond);

void BM_FindDialogOpens(benchmark::State &state)
{
    TMineDocument &doc = bigMine();
    TFindForm::SetRememberedKind(TFindForm::Branches, 17);
    for (auto _ : state) {
        TFindForm form(doc, TFindForm::Branches);
        form.resize(400, 500);
        QImage image(form.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        form.render(&p);
    }
}
BENCHMARK(BM_FindDialogOpens)->Unit(benchmark::kMillisecond);

void BM_StoppingListOpens(benchmark::State &state)
{
    TMine *mine = bigMine().Mine();
    for (auto _ : state) {
        TfrmJumpers list(mine);
        QImage image(list.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&image);
        list.render(&p);
    }
}
BENCHMARK(BM_StoppingListOpens)->Unit(benchmark::kMillisecond);

void BM_StoppingListSort(benchmark::State &state)
{
    const std::vector<TJumper *> all = StoppingOrder::AllStoppings(*bigMine().Mine());
    const int column = int(state.range(0));
    for (auto _ : state) {
        std::vector<TJumper *> list = all;
        StoppingOrder::Sort(list, column);
        benchmark::DoNotOptimize(list.data());
    }
}
// Branch, designation (byte by byte), thickness, position.
BENCHMARK(BM_StoppingListSort)->Arg(1)->Arg(2)->Arg(6)->Arg(7)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunGuiBenchmarks(argc, argv);
}
