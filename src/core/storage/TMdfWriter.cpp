#include "storage/TMdfWriter.h"

#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/MdfFormat.h"
#include "storage/TByteWriter.h"
#include "storage/TMineDocument.h"

#include <limits>

namespace B = MdfFormat::Branch;
namespace S = MdfFormat::Stopping;

namespace {

// A fixed record filled at its offsets.
template<int Size> struct Record {
    char Data[Size] = {};
    template<typename T> void Put(int offset, T v) { qToLittleEndian(v, Data + offset); }
    void Flag(int offset, quint8 v) { Data[offset] = char(v); }
};

template<typename Columns> void WriteLayout(TByteWriter &out, const Columns &columns)
{
    for (const TColumnDesc &c : columns) {
        out.Byte(c.Kind);
        out.Byte(c.Shown ? 1 : 0);
    }
}

void WriteGroup(TByteWriter &out, const TLayer &g)
{
    out.Byte(g.VisibleByte());
    out.String(g.Name());
    out.Int32(qint32(g.Color()));
}

void WriteBranch(TByteWriter &out, const TBranch &b)
{
    const qint32 people = qint32(b.People().Count());
    Record<121> r;
    r.Put(B::NormalResult, b.NormalResult());
    r.Put(B::Number, b.Number());
    r.Put(B::StartNumber, b.StartNumber());
    r.Put(B::EndNumber, b.EndNumber());
    r.Put(B::Section, b.Section());
    r.Put(B::Perimeter, b.Perimeter());
    r.Put(B::Shape, b.Shape());
    r.Put(B::VolumeFactor, b.VolumeFactor());
    r.Put(B::ExtraVolume, b.ExtraVolume());
    r.Put(B::Roughness, b.Roughness());
    r.Put(B::Gas1Kind, b.Gas1Kind());
    r.Flag(B::Gas1, b.ZoneByte(1));
    r.Flag(B::Zone3, b.ZoneByte(3));
    r.Flag(B::Zone4, b.ZoneByte(4));
    r.Put(B::Gas1From, b.Gas1From());
    r.Put(B::Gas1To, b.Gas1To());
    r.Put(B::Zone3From, b.Zone3From());
    r.Put(B::Zone3To, b.Zone3To());
    r.Put(B::Zone4From, b.Zone4From());
    r.Put(B::Zone4To, b.Zone4To());
    r.Put(B::Reserved, quint8(0));
    r.Flag(B::OptA, b.OptionByte(1));
    r.Put(B::OptA1, b.OptA1());
    r.Put(B::OptA2, b.OptA2());
    r.Put(B::LayerIndex, b.LayerIndex());
    r.Put(B::Resistance, b.Resistance());
    r.Put(B::People16, qint16(quint16(people & 0xFFFF)));
    r.Put(B::RouteResult, b.RouteResult());
    r.Put(B::LinkIndex, b.LinkIndex());
    r.Put(B::Gas2Kind, b.Gas2Kind());
    r.Flag(B::Gas2, b.ZoneByte(2));
    r.Put(B::Gas2From, b.Gas2From());
    r.Put(B::Gas2To, b.Gas2To());
    r.Flag(B::OptB, b.OptionByte(2));
    r.Put(B::OptB1, b.OptB1());
    r.Put(B::OptB2, b.OptB2());
    r.Put(B::PLFIndex, b.PLFIndex());
    r.Put(B::PeopleCount, people);
    out.Bytes().append(r.Data, sizeof r.Data);
    out.String(b.Comment());
    out.String(b.Name());
    for (int i = 0; i < people; ++i) {
        const TPeopleInfo &p = *b.People().Items(i);
        out.Float64(p.Position());
        out.Int32(p.TabNumber());
        out.String(p.FullName());
        out.Int32(p.Site());
        out.String(p.JobTitle());
    }
}

void WriteStopping(TByteWriter &out, qint32 branchIndex, const TJumper &j)
{
    out.Int32(branchIndex);
    out.String(j.Caption());
    Record<MdfFormat::kStoppingRecordSize> r;
    r.Put(S::Material, j.Material());
    r.Flag(S::Vent, j.VentByte());
    r.Put(S::Position, j.Position());
    r.Put(S::Thickness, j.Thickness());
    r.Put(S::Depression, j.Depression());
    r.Put(S::Flow, j.Flow());
    r.Put(S::Resistance, j.Resistance());
    r.Flag(S::Measured, j.MeasuredByte());
    r.Put(S::ReverseResistance, j.ReverseResistance());
    r.Put(S::BreakPressure, j.BreakPressure());
    r.Put(S::Opening, j.Opening());
    r.Put(S::OpeningArea, j.OpeningArea());
    r.Put(S::Doors, j.Doors());
    r.Flag(S::CutIn, j.CutInByte());
    out.Bytes().append(r.Data, sizeof r.Data);
    out.Byte(j.NormalHitByte());
    out.Int32(j.NormalStep());
    for (int k = 0; k < 3; ++k)
        out.Float64(j.NormalValues()[k]);
    out.Byte(j.RouteHitByte());
    out.Int32(j.RouteStep());
    for (int k = 0; k < 3; ++k)
        out.Float64(j.RouteValues()[k]);
}

void LayHead(const TMineDocument &doc, TByteWriter &out)
{
    const TMine &mine = *doc.Mine();
    const int nodes = mine.Uzels().Count();
    const int branches = mine.Branches().Count();
    out.Reserve(qint64(nodes) * 25 + qint64(branches) * 140 + 4096);

    out.Bytes().append(MdfFormat::kSignature, MdfFormat::kSignatureSize);
    out.Byte(MdfFormat::kCurrentMajor);
    out.Byte(MdfFormat::kCurrentMinor);
    out.Int32(0);
    out.String(mine.Title());

    out.Int32(mine.Temperature());
    out.Float32(mine.Pressure());
    out.Byte(doc.AutoUpdateByte());
    out.Int32(doc.AutoUpdateIterations());
    out.Int32(doc.SaveIterations());
    out.Float32(doc.CellLength());
    out.Int32(doc.Reserved1());
    out.Float32(doc.BoomSpeed());
    out.Byte(doc.CalculatedByte());
    out.Byte(doc.Reserved2Byte());
    out.Int32(nodes);
    out.Int32(branches);
    out.Int32(qint32(doc.Notes().size()));
    out.Byte(doc.CalcMethod());
    for (const QString &line : doc.Notes())
        out.String(line);
    WriteLayout(out, doc.NodeColumns());
    WriteLayout(out, doc.BranchColumns());

    out.Int32(mine.Layers().Count());
    for (int i = 0; i < mine.Layers().Count(); ++i)
        WriteGroup(out, *mine.Layers().Items(i));
    out.Int32(mine.PLFs().Count());
    for (int i = 0; i < mine.PLFs().Count(); ++i) {
        WriteGroup(out, *mine.PLFs().Items(i));
        out.Int32(0);
    }
}

void LayNode(const TUzel &u, TByteWriter &out)
{
    Record<25> r;
    r.Put(0, u.Number());
    r.Put(4, u.X());
    r.Put(8, u.Y());
    r.Put(12, u.Z());
    r.Flag(16, u.SurfaceByte());
    r.Put(17, u.Extra1());
    r.Put(21, u.Extra2());
    out.Bytes().append(r.Data, sizeof r.Data);
}

} // namespace

// The file in the order of its sections, a run of nodes, branches or stoppings at a time.
struct TMdfLayout {
    enum TStage { Head, Nodes, Branches, StoppingCount, Stoppings, Done };
    TStage Stage = Head;
    int Next = 1;            // 1-based position in the list of the stage
    qint32 StoppingTotal = 0;

    // Lays out at most about budget more elements; true once the file is complete.
    bool Step(const TMineDocument &doc, TByteWriter &out, qint64 budget)
    {
        const TMine &mine = *doc.Mine();
        while (budget > 0 && Stage != Done) {
            switch (Stage) {
            case Head:
                LayHead(doc, out);
                Stage = Nodes;
                break;
            case Nodes:
                for (; Next <= mine.Uzels().Count() && budget > 0; ++Next, --budget) {
                    LayNode(*mine.Uzels().Items(Next), out);
                    out.Spill();
                }
                if (Next > mine.Uzels().Count()) {
                    Stage = Branches;
                    Next = 1;
                }
                break;
            case Branches:
                for (; Next <= mine.Branches().Count() && budget > 0; ++Next, --budget) {
                    const TBranch &b = *mine.Branches().Items(Next);
                    WriteBranch(out, b);
                    out.Spill();
                    StoppingTotal += b.Jumpers().Count();
                }
                if (Next > mine.Branches().Count()) {
                    Stage = StoppingCount;
                    Next = 1;
                }
                break;
            case StoppingCount:
                out.Int32(StoppingTotal);
                Stage = Stoppings;
                break;
            case Stoppings:
                for (; Next <= mine.Branches().Count() && budget > 0; ++Next, --budget) {
                    const TBranch &b = *mine.Branches().Items(Next);
                    for (int k = 0; k < b.Jumpers().Count(); ++k, --budget) {
                        WriteStopping(out, Next, *b.Jumpers().Items(k));
                        out.Spill();
                    }
                }
                if (Next > mine.Branches().Count()) {
                    out.Finish(MdfFormat::kSizeOffset, qint32(out.Size()));
                    Stage = Done;
                }
                break;
            case Done:
                break;
            }
        }
        return Stage == Done;
    }
};

namespace {

void Lay(const TMineDocument &doc, TByteWriter &out)
{
    TMdfLayout layout;
    layout.Step(doc, out, std::numeric_limits<qint64>::max());
}

void DropEmpty(TMineDocument &doc)
{
    doc.Mine()->DeleteEmptyUzels();
    doc.Mine()->DeleteEmptyBranches();
}

} // namespace

QByteArray TMdfWriter::Write(TMineDocument &doc)
{
    DropEmpty(doc);
    return Snapshot(doc);
}

void TMdfWriter::Write(TMineDocument &doc, QIODevice &device)
{
    DropEmpty(doc);
    TByteWriter out(&device);
    Lay(doc, out);
}

QByteArray TMdfWriter::Snapshot(const TMineDocument &doc)
{
    TByteWriter out;
    Lay(doc, out);
    return std::move(out.Bytes());
}

TMdfSnapshot::TMdfSnapshot(const TMineDocument &doc)
    : FDoc(doc), FOut(std::make_unique<TByteWriter>()), FLayout(std::make_unique<TMdfLayout>())
{
}

TMdfSnapshot::~TMdfSnapshot() = default;

bool TMdfSnapshot::Step(qint64 elements)
{
    return FLayout->Step(FDoc, *FOut, elements);
}

QByteArray TMdfSnapshot::TakeBytes()
{
    return std::move(FOut->Bytes());
}
