// Loading and saving a large mine file (LargeMine.h): 100,000 and 1,000,000 nodes and branches
// (about 18 and 180 MB). A load is timed with the freeing of the document that follows it, as
// the editor pays for both. For scale, BM_ReadAndHashMd5 reads the same file and computes its
// MD5 the way md5sum does.
#include "LargeMine.h"
#include "storage/TMdfWriter.h"
#include "storage/TMineFile.h"
#include "storage/TRecoveryStore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

struct LargeFile {
    QTemporaryDir Dir;
    QString Path;
    explicit LargeFile(int n)
    {
        Path = Dir.filePath(QStringLiteral("large.mdf"));
        TMineDocument doc;
        largemine::Build(doc, n);
        TMineFile::Save(doc, Path);
    }
};

LargeFile &File(int n)
{
    static std::map<int, std::unique_ptr<LargeFile>> files;
    std::unique_ptr<LargeFile> &file = files[n];
    if (!file)
        file = std::make_unique<LargeFile>(n);
    return *file;
}

void BM_LoadAndFree(benchmark::State &state)
{
    const QString path = File(int(state.range(0))).Path;
    for (auto _ : state) {
        auto doc = std::make_unique<TMineDocument>();
        TMineFile::Load(*doc, path);
        benchmark::DoNotOptimize(doc.get());
        doc.reset();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_LoadAndFree)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_Save(benchmark::State &state)
{
    const LargeFile &file = File(int(state.range(0)));
    TMineDocument doc;
    TMineFile::Load(doc, file.Path);
    const QString out = file.Dir.filePath(QStringLiteral("saved.mdf"));
    for (auto _ : state)
        TMineFile::Save(doc, out);
    state.SetBytesProcessed(state.iterations() * QFileInfo(out).size());
}
BENCHMARK(BM_Save)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// A recovery copy of a document being edited, in its two parts: laying out the file's bytes in
// memory, which holds up typing, and writing them to disk, which the store's own thread does.
// Together they are a save (BM_Save).
void BM_RecoverySnapshot(benchmark::State &state)
{
    const LargeFile &file = File(int(state.range(0)));
    TMineDocument doc;
    TMineFile::Load(doc, file.Path);
    for (auto _ : state)
        benchmark::DoNotOptimize(TMdfWriter::Snapshot(doc));
}
BENCHMARK(BM_RecoverySnapshot)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// What the editor does instead: slices of 16,384 elements; the time of one slice is the most
// the user waits.
void BM_RecoverySnapshotSlice(benchmark::State &state)
{
    const LargeFile &file = File(int(state.range(0)));
    TMineDocument doc;
    TMineFile::Load(doc, file.Path);
    qint64 slices = 0;
    for (auto _ : state) {
        TMdfSnapshot snapshot(doc);
        do
            ++slices;
        while (!snapshot.Step(16384));
        benchmark::DoNotOptimize(snapshot.TakeBytes());
    }
    state.counters["slices"] = benchmark::Counter(double(slices), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RecoverySnapshotSlice)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_RecoveryWrite(benchmark::State &state)
{
    const LargeFile &file = File(int(state.range(0)));
    TMineDocument doc;
    TMineFile::Load(doc, file.Path);
    const QByteArray bytes = TMdfWriter::Snapshot(doc);
    TRecoveryStore store(file.Dir.filePath(QStringLiteral("recovery")));
    TRecoveryInfo info;
    info.FileName = file.Path;
    info.HasFile = true;
    info.Time = QDateTime::currentDateTime();
    for (auto _ : state)
        store.Write(1, bytes, info);
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_RecoveryWrite)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_ReadAndHashMd5(benchmark::State &state)
{
    const QString path = File(int(state.range(0))).Path;
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QCryptographicHash hash(QCryptographicHash::Md5);
        hash.addData(&f);
        benchmark::DoNotOptimize(hash.result());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadAndHashMd5)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
