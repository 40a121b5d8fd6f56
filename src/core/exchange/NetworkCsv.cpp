#include "exchange/NetworkCsv.h"

#include "AppError.h"
#include "exchange/NetworkCsvColumns.h"
#include "exchange/TCsvOut.h"
#include "exchange/TCsvTable.h"
#include "model/BranchGeometry.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/FileErrors.h"
#include "storage/RegularFile.h"
#include "storage/TSafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

using namespace NetworkCsvColumns;

namespace {

// ------------------------------------------------------------------------------------------
// Writing

void WriteNodes(const TMine &mine, TCsvOut &out)
{
    out.Header(kNodeNames, NodeColumnCount);
    for (const TUzel *n : mine.Uzels()) {
        if (n->IsEmpty())
            continue;
        for (TColumnKind kind : kNodeKinds)
            out.Value(ColumnKinds::Value(kind, *n));
        out.Int(n->Surface() ? 1 : 0);
        out.EndRow();
    }
}

void WriteBranches(const TMine &mine, TCsvOut &out)
{
    // Length and angle from the end nodes a topology resolve would find (the first node of each
    // number), without resolving the mine's own branches or copying the network.
    auto node = [&mine](qint32 number) { return IsUnset(number) ? nullptr : mine.Uzels().Find(number); };
    out.Header(kBranchNames, BranchColumnCount);
    for (const TBranch *b : mine.Branches()) {
        if (b->IsEmpty())
            continue;
        for (TColumnKind kind : {TColumnKind::BranchNumber, TColumnKind::StartNumber, TColumnKind::EndNumber,
                                 TColumnKind::Section})
            out.Value(ColumnKinds::Value(kind, *b));
        out.Int(b->Shape());
        out.Int(b->Roughness());
        out.Value(ColumnKinds::Value(TColumnKind::Resistance, *b));
        out.Group(b->LayerIndex());
        out.Group(b->PLFIndex());
        out.Value(ColumnKinds::Value(TColumnKind::Comment, *b));
        out.Value(ColumnKinds::Value(TColumnKind::Name, *b));
        const TUzel *start = node(b->StartNumber());
        const TUzel *end = node(b->EndNumber());
        out.Value(BranchGeometry::Length(start, end));
        out.Value(b->Perimeter());
        out.Value(BranchGeometry::Angle(start, end));
        out.EndRow();
    }
}

QByteArray Text(const TMine &mine, const NetworkCsv::TFormat &format, void (*write)(const TMine &, TCsvOut &))
{
    TCsvOut out(nullptr, format);
    write(mine, out);
    return out.Take();
}

// ------------------------------------------------------------------------------------------
// Reading

struct TNodeRow {
    qint32 Number;
    float X, Y, Z;
    bool Surface;
};

struct TBranchRow {
    qint32 Number, Start, End;
    float Section;
    quint8 Shape, Roughness;
    double Resistance;
    qint32 Layer, PLF;
    QString Comment, Name;
};

std::vector<TNodeRow> ReadNodes(const QByteArray &bytes, const QString &name)
{
    std::vector<TNodeRow> rows;
    TCsvTable t(bytes, name, kNodeNames, NodeColumnCount, {NNumber});
    while (t.Next())
        rows.push_back({t.Number(NNumber), t.Real(NX, true), t.Real(NY, true), t.Real(NZ, true), t.Flag(NSurface)});
    return rows;
}

std::vector<TBranchRow> ReadBranches(const QByteArray &bytes, const QString &name)
{
    std::vector<TBranchRow> rows;
    TCsvTable t(bytes, name, kBranchNames, BranchColumnCount, {BNumber, BStart, BEnd});
    // A new branch of the editor's table takes the shape and roughness of the one above it.
    TBranchRow above{};
    while (t.Next()) {
        TBranchRow b{t.Number(BNumber), t.Number(BStart), t.Number(BEnd), t.Real(BSection, false),
                     quint8(t.Int(BShape, above.Shape, 0, kMaxShape)),
                     quint8(t.Int(BRoughness, above.Roughness, 0, kMaxRoughness)),
                     t.Double(BResistance, double(kUnsetReal), true), t.Int(BLayer, -1, -1, kMaxGroupIndex),
                     t.Int(BPLF, -1, -1, kMaxGroupIndex), t.Words(BComment), t.Words(BName)};
        if (b.End == b.Start)
            t.Fail(BEnd, QStringLiteral("совпадает с начальным узлом: %1").arg(TCsvTable::Shown(t.Text(BEnd))));
        above.Shape = b.Shape;
        above.Roughness = b.Roughness;
        rows.push_back(std::move(b));
    }
    return rows;
}

void Build(TMine &mine, const std::vector<TNodeRow> &uzels, const std::vector<TBranchRow> &branches)
{
    qint32 layers = 0, plfs = 0;
    for (const TBranchRow &r : branches) {
        layers = std::max(layers, r.Layer + 1);
        plfs = std::max(plfs, r.PLF + 1);
    }
    mine.BeginUpdate();
    mine.Uzels().Reserve(int(uzels.size()));
    mine.Branches().Reserve(int(branches.size()));
    for (const TNodeRow &n : uzels) {
        TUzel *u = mine.AddUzel(n.Number, n.X, n.Y, n.Z);
        if (n.Surface)
            u->SetSurface(true);
    }
    for (int i = mine.Layers().Count(); i < layers; ++i)
        (new TLayer(&mine))->SetName(QStringLiteral("Пласт %1").arg(i + 1));
    for (int i = mine.PLFs().Count(); i < plfs; ++i)
        (new TPLF(&mine))->SetName(QStringLiteral("Позиция ПЛА %1").arg(i + 1));
    for (const TBranchRow &r : branches) {
        TBranch *b = mine.AddBranch(r.Number, r.Start, r.End, r.Comment, r.Section);
        b->SetShape(r.Shape);
        b->SetRoughness(r.Roughness);
        b->SetResistance(r.Resistance);
        b->SetLayerIndex(r.Layer);
        b->SetPLFIndex(r.PLF);
        b->SetName(r.Name);
    }
    mine.EndUpdate();
    mine.SetModified(true);
}

} // namespace

namespace NetworkCsv {

QByteArray ReadFile(const QString &path)
{
    QFile file;
    switch (RegularFile::OpenForReading(file, path)) {
    case RegularFile::TOpen::Opened: {
        // As large as the file and no larger (readAll grows its buffer by half again).
        QByteArray bytes(qsizetype(file.size()), Qt::Uninitialized);
        const qint64 got = file.read(bytes.data(), bytes.size());
        if (got == bytes.size() && file.atEnd())
            return bytes;
        file.seek(0);
        return file.readAll();
    }
    case RegularFile::TOpen::NotRegular:
        throw AppError(QStringLiteral("%1: %2").arg(path, FileErrors::NotRegularText()));
    case RegularFile::TOpen::Failed: break;
    }
    const int code = path.isEmpty() ? FileErrors::BadFileName
                     : QFileInfo::exists(path) ? FileErrors::AccessDenied
                                               : FileErrors::FileNotFound;
    throw AppError(QStringLiteral("%1: %2").arg(path, FileErrors::Text(code)));
}

QByteArray NodesText(const TMine &mine, const TFormat &format) { return Text(mine, format, WriteNodes); }
QByteArray BranchesText(const TMine &mine, const TFormat &format) { return Text(mine, format, WriteBranches); }

void Export(const TMine &mine, const QString &dir, const TFormat &format)
{
    if (dir.isEmpty() || !QDir().mkpath(dir))
        throw AppError(QStringLiteral("%1: %2").arg(dir, FileErrors::Text(FileErrors::BadFileName)));
    const QDir folder(dir);
    // Both files are complete beside their old versions before either replaces its old one.
    TSafeFile nodes(folder.filePath(QStringLiteral("nodes.csv")));
    TSafeFile branches(folder.filePath(QStringLiteral("branches.csv")));
    try {
        nodes.Open();
        branches.Open();
        {
            TCsvOut out(&nodes, format);
            WriteNodes(mine, out);
            out.Flush();
        }
        {
            TCsvOut out(&branches, format);
            WriteBranches(mine, out);
            out.Flush();
        }
        TSafeFile::CommitAll({&nodes, &branches});
    } catch (const TFileError &e) {
        throw TFileError(e.Path(), e.Reason(), QStringLiteral("%1: %2").arg(e.Path(), e.Reason()), true);
    }
}

void Read(TMine &mine, const QByteArray &nodes, const QString &nodesName, const QByteArray &branches,
          const QString &branchesName)
{
    const std::vector<TNodeRow> uzels = ReadNodes(nodes, nodesName);
    Build(mine, uzels, ReadBranches(branches, branchesName));
}

void Import(TMine &mine, const QString &nodesPath, const QString &branchesPath)
{
    // Each file's bytes go as soon as its rows are read.
    const std::vector<TNodeRow> uzels = ReadNodes(ReadFile(nodesPath), nodesPath);
    const std::vector<TBranchRow> branches = ReadBranches(ReadFile(branchesPath), branchesPath);
    Build(mine, uzels, branches);
}

} // namespace NetworkCsv
