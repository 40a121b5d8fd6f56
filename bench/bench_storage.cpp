// Loading and saving a large mine file: 100,000 nodes and 100,000 branches (about 16 MB).
// For scale, BM_ReadAndHashMd5 reads the same file and computes its MD5 the way md5sum does.
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"
#include "storage/TMineFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kNodes = 100000;
constexpr int kBranches = 100000;

void BuildLargeMine(TMineDocument &doc)
{
    TMine &m = *doc.Mine();
    m.BeginUpdate();
    m.SetTitle(QStringLiteral("Большая шахта"));
    for (int i = 1; i <= kNodes; ++i)
        m.AddUzel(i, float(i % 400) * 25.0f, float(i / 400) * 25.0f, -300.0f + float(i % 37));
    for (int i = 1; i <= kBranches; ++i) {
        TBranch *b = m.AddBranch(i, i, i % kNodes + 1, QStringLiteral("Выработка №%1").arg(i), 9.5f + float(i % 7));
        b->SetName(QStringLiteral("Штрек %1").arg(i % 100));
        b->SetResistance(0.001 * (i % 13));
        if (i % 50 == 0) {
            TJumper *j = new TJumper(b);
            j->SetCaption(QStringLiteral("П-%1").arg(i));
            j->SetPosition(0.5);
        }
        if (i % 500 == 0)
            new TPeopleInfo(b);
    }
    m.EndUpdate();
}

struct LargeFile {
    QTemporaryDir Dir;
    QString Path;
    LargeFile()
    {
        Path = Dir.filePath(QStringLiteral("large.mdf"));
        TMineDocument doc;
        BuildLargeMine(doc);
        TMineFile::Save(doc, Path);
    }
};

LargeFile &File()
{
    static LargeFile file;
    return file;
}

void BM_Load(benchmark::State &state)
{
    const QString path = File().Path;
    for (auto _ : state) {
        auto doc = std::make_unique<TMineDocument>();
        TMineFile::Load(*doc, path);
        benchmark::DoNotOptimize(doc.get());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_Save(benchmark::State &state)
{
    TMineDocument doc;
    TMineFile::Load(doc, File().Path);
    const QString out = File().Dir.filePath(QStringLiteral("saved.mdf"));
    for (auto _ : state)
        TMineFile::Save(doc, out);
    state.SetBytesProcessed(state.iterations() * QFileInfo(out).size());
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_ReadAndHashMd5(benchmark::State &state)
{
    const QString path = File().Path;
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QCryptographicHash hash(QCryptographicHash::Md5);
        hash.addData(&f);
        benchmark::DoNotOptimize(hash.result());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadAndHashMd5)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
