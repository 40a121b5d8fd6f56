#include "storage/TMdfReader.h"

#include "AppError.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "storage/FileErrors.h"
#include "storage/MdfFormat.h"
#include "storage/TByteReader.h"
#include "storage/TMineDocument.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

using RecordBytes::At;
namespace B = MdfFormat::Branch;
namespace S = MdfFormat::Stopping;
namespace O = MdfFormat::OldStopping;

namespace {

// Material codes of the stoppings of versions 1.05 to 1.07, in the order of the current table.
quint8 MapOldMaterial(quint8 code)
{
    static const quint8 kMap[] = {0, 1, 9, 8, 4, 13};
    return code < sizeof kMap ? kMap[code] : 0;
}

// A fixed record whose fields exist only while the record is long enough to hold them. It keeps
// a copy: the comment and name are read before all of its fields are used.
class BranchRecord {
public:
    BranchRecord(const char *data, int size) : FSize(size) { std::memcpy(FData, data, size_t(size)); }
    template<typename T> T Get(int offset, T absent) const
    {
        return offset + int(sizeof(T)) <= FSize ? At<T>(FData, offset) : absent;
    }
    // A Boolean byte as stored; an absent one reads as 0 or 1.
    quint8 Flag(int offset, bool absent) const { return offset < FSize ? quint8(FData[offset]) : quint8(absent ? 1 : 0); }
    quint8 Byte(int offset) const { return offset < FSize ? quint8(FData[offset]) : 0; }

private:
    char FData[MdfFormat::kMaxBranchRecordSize];
    int FSize;
};

// Layout entries as stored; a layout naming a kind the table does not have, or one kind twice,
// is not one the program could have written and would leave a table without a usable column,
// so such a table keeps its default layout.
template<typename Columns>
void ApplyLayout(Columns &columns, const char *entries, int count, int firstKind, int lastKind)
{
    Columns read = columns;
    bool seen[TColumnDesc::kKindCount] = {};
    for (int i = 0; i < count; ++i) {
        const quint8 kind = quint8(entries[2 * i]);
        read[i].Kind = kind;
        read[i].Shown = entries[2 * i + 1] != 0 && !TColumnDesc::AlwaysHidden(kind);
    }
    for (const TColumnDesc &c : read) {
        if (c.Kind < firstKind || c.Kind > lastKind || seen[c.Kind])
            return;
        seen[c.Kind] = true;
    }
    columns = read;
}

class Reader {
public:
    Reader(TByteReader in, TMineDocument &doc)
        : FIn(std::move(in)), FDoc(doc), FMine(*doc.Mine()), FOldPeopleLeft(TMdfReader::OldPeopleLimit(FIn.Size()))
    {
    }

    void Run()
    {
        ReadHeader();
        FMine.BeginUpdate();
        struct UpdateGuard {
            TMine &Mine;
            ~UpdateGuard() { Mine.EndUpdate(); }
        } guard{FMine};
        ReadDocument();
        ReadLayout();
        if (FV >= 109)
            ReadGroups(false);
        if (FV >= 117)
            ReadGroups(true);
        ReadNodes();
        ReadBranches();
        if (FV >= 108)
            ReadStoppings();
        else if (FV >= 105)
            ReadOldStoppings();
        FDoc.SetFileVersion(FV);
        FMine.SetModified(false);
    }

private:
    void ReadHeader()
    {
        if (FIn.Size() < MdfFormat::kHeaderSize)
            throw AppError(FileErrors::Message(FileErrors::UnknownFormat));
        const char *h = FIn.Take(MdfFormat::kHeaderSize);
        if (std::memcmp(h, MdfFormat::kSignature, MdfFormat::kSignatureSize) != 0
            || At<qint32>(h, MdfFormat::kSizeOffset) != FIn.Size())
            throw AppError(FileErrors::Message(FileErrors::UnknownFormat));
        FMajor = quint8(h[9]);
        FMinor = quint8(h[10]);
        FV = MdfFormat::Version(FMajor, FMinor);
        if (FV > MdfFormat::kCurrentVersion)
            throw AppError(FileErrors::Message(FileErrors::NewerVersion));
        FNodeSize = MdfFormat::NodeRecordSize(FV);
        FBranchSize = MdfFormat::BranchRecordSize(FV);
    }

    void ReadDocument()
    {
        FMine.SetTitle(FIn.String());
        const char *r = FIn.Take(MdfFormat::kDocumentRecordSize);
        FMine.SetTemperature(At<qint32>(r, 0));
        FMine.SetPressure(At<float>(r, 4));
        FDoc.SetAutoUpdateByte(quint8(r[8]));
        FDoc.SetAutoUpdateIterations(At<qint32>(r, 9));
        FDoc.SetSaveIterations(At<qint32>(r, 13));
        FDoc.SetCellLength(At<float>(r, 17));
        FDoc.SetReserved1(At<qint32>(r, 21));
        FDoc.SetBoomSpeed(At<float>(r, 25));
        FDoc.SetCalculatedByte(quint8(r[29]));
        FDoc.SetReserved2Byte(quint8(r[30]));
        FNodeCount = At<qint32>(r, 31);
        FBranchCount = At<qint32>(r, 35);
        qint32 notes = At<qint32>(r, 39);
        if (FV >= 113)
            FDoc.SetCalcMethod(FIn.Byte());
        notes = FIn.CheckCount(notes, 4);
        QStringList lines;
        lines.reserve(notes);
        for (qint32 i = 0; i < notes; ++i)
            lines.append(FIn.String());
        FDoc.SetNotes(lines);
    }

    void ReadLayout()
    {
        const int k = MdfFormat::BranchLayoutCount(FV);
        // Taken in one piece: a second Take may move the bytes of the first.
        const char *nodeEntries = FIn.Take(2 * (TColumnDesc::kNodeColumnCount + k));
        const char *branchEntries = nodeEntries + 2 * TColumnDesc::kNodeColumnCount;
        TNodeColumns nodes = TMineDocument::DefaultNodeColumns();
        TBranchColumns branches = TMineDocument::DefaultBranchColumns();
        ApplyLayout(nodes, nodeEntries, TColumnDesc::kNodeColumnCount, 0, TColumnDesc::kFirstBranchKind - 1);
        ApplyLayout(branches, branchEntries, k, TColumnDesc::kFirstBranchKind, TColumnDesc::kLastKind);
        FDoc.SetNodeColumns(nodes);
        FDoc.SetBranchColumns(branches);
    }

    // Seams, or (plans) plan positions, whose records carry one more int32.
    void ReadGroups(bool plans)
    {
        const qint32 count = FIn.CheckCount(FIn.Int32(), plans ? 13 : 9);
        for (qint32 i = 0; i < count; ++i) {
            const quint8 visible = FIn.Byte();
            const QString name = FIn.String();
            const quint32 color = quint32(FIn.Int32());
            TLayer *group = plans ? static_cast<TLayer *>(new TPLF(&FMine)) : new TLayer(&FMine);
            group->SetVisibleByte(visible);
            group->SetName(name);
            group->SetColor(color);
            if (plans)
                FIn.Int32();
        }
    }

    void ReadNodes()
    {
        const qint32 count = FIn.CheckCount(FNodeCount, FNodeSize);
        FMine.Uzels().Reserve(count);
        for (qint32 i = 0; i < count; ++i) {
            const char *r = FIn.Take(FNodeSize);
            TUzel *u = FMine.AddUzel(At<qint32>(r, 0), At<float>(r, 4), At<float>(r, 8), At<float>(r, 12));
            u->SetSurfaceByte(quint8(r[16]));
            if (FNodeSize >= 21)
                u->SetExtra1(At<qint32>(r, 17));
            if (FNodeSize >= 25)
                u->SetExtra2(At<qint32>(r, 21));
        }
    }

    void ReadBranches()
    {
        // The smallest entry: the record, the comment length and, from 1.12, the name length.
        const qint64 minEntry = FBranchSize + 4 + (FV >= 112 ? 4 : 0);
        const qint32 count = FIn.CheckCount(FBranchCount, minEntry);
        FMine.Branches().Reserve(count);
        for (qint32 i = 0; i < count; ++i) {
            ReadBranch(count);
        }
    }

    void ReadBranch(qint32 count)
    {
        const BranchRecord r(FIn.Take(FBranchSize), FBranchSize);
        const QString comment = FIn.String();
        TBranch *b = FMine.AddBranch(r.Get<qint32>(B::Number, 0), r.Get<qint32>(B::StartNumber, 0),
                                     r.Get<qint32>(B::EndNumber, 0), comment, r.Get<float>(B::Section, 0));
        qint32 link = r.Get<qint32>(B::LinkIndex, -1);
        if (link < 0 || link >= count)
            link = -1;
        if (FV >= 112)
            b->SetName(FIn.String());
        b->SetNormalResult(r.Get<qint32>(B::NormalResult, -1));
        b->SetRouteResult(r.Get<qint32>(B::RouteResult, -1));
        b->SetLinkIndex(link);
        b->SetShape(r.Byte(B::Shape));
        // The stored volume coefficient and additional volume are not trusted by any version.
        b->SetVolumeFactor(1.0f);
        b->SetExtraVolume(0.0f);
        b->SetRoughness(r.Byte(B::Roughness));
        b->SetGasKind(1, r.Byte(B::Gas1Kind));
        b->SetZoneByte(1, r.Flag(B::Gas1, false));
        b->SetGasKind(2, r.Byte(B::Gas2Kind));
        b->SetZoneByte(2, r.Flag(B::Gas2, false));
        b->SetZoneByte(3, r.Flag(B::Zone3, false));
        b->SetZoneByte(4, r.Flag(B::Zone4, false));
        static const int kBounds[8] = {B::Gas1From,  B::Gas1To,  B::Gas2From,  B::Gas2To,
                                       B::Zone3From, B::Zone3To, B::Zone4From, B::Zone4To};
        for (int k = 0; k < 8; ++k) {
            const float value = r.Get<float>(kBounds[k], 0.0f);
            // The ends are not resolved while reading, so only the lower bound applies.
            b->SetZoneBound(k + 1, value < 0 ? 0.0f : value);
        }
        if (FV >= 107) {
            b->SetOptionByte(1, r.Flag(B::OptA, true));
            b->SetOptionValue(1, r.Get<float>(B::OptA1, 0.0f));
            b->SetOptionValue(2, r.Get<float>(B::OptA2, 0.0f));
        }
        if (FV >= 116) {
            b->SetOptionByte(2, r.Flag(B::OptB, true));
            b->SetOptionValue(3, r.Get<float>(B::OptB1, 0.0f));
            b->SetOptionValue(4, r.Get<float>(B::OptB2, 0.0f));
        }
        b->SetLayerIndex(GroupIndex(r.Get<qint32>(B::LayerIndex, -1), FMine.Layers().Count()));
        b->SetResistance(r.Get<double>(B::Resistance, 0.0));
        if (FV < 119) {
            const qint16 n = r.Get<qint16>(B::People16, 0);
            if (n > 0)
                SpreadOldPeople(b, n);
        }
        b->SetPLFIndex(GroupIndex(r.Get<qint32>(B::PLFIndex, -1), FMine.PLFs().Count()));
        if (FV >= 119)
            ReadPeople(b, r.Get<qint32>(B::PeopleCount, 0));
    }

    // A seam or plan-position index that points at no element of its list means none: the rest
    // of the program looks the element up by it.
    static qint32 GroupIndex(qint32 index, int count) { return index >= -1 && index < count ? index : -1; }

    // Old files know only how many people a branch holds; they are spread evenly along it.
    void SpreadOldPeople(TBranch *b, qint16 n)
    {
        FOldPeopleLeft -= n;
        if (FOldPeopleLeft < 0)
            TByteReader::Fail();
        for (int k = 1; k <= n; ++k)
            new TPeopleInfo(b, double(k) / double(n + 1));
    }

    struct RawPerson {
        double Position;
        qint32 TabNumber;
        QString FullName;
        qint32 Site;
        QString JobTitle;
    };

    void ReadPeople(TBranch *b, qint32 stored)
    {
        // Position, tab number, two string lengths, site.
        const qint32 count = FIn.CheckCount(stored, 8 + 4 + 4 + 4 + 4);
        std::vector<RawPerson> people;
        people.reserve(size_t(count));
        for (qint32 i = 0; i < count; ++i) {
            RawPerson p;
            p.Position = ClampPosition(FIn.Float64());
            p.TabNumber = FIn.Int32();
            p.FullName = FIn.String();
            p.Site = FIn.Int32();
            p.JobTitle = FIn.String();
            people.push_back(std::move(p));
        }
        // The branch keeps its people in position order, equal positions in the order read. A
        // file the program wrote is already in that order; any other is put in it first, so that
        // every person joins the end of the list instead of being moved through it.
        std::stable_sort(people.begin(), people.end(),
                         [](const RawPerson &x, const RawPerson &y) { return x.Position < y.Position; });
        for (const RawPerson &raw : people) {
            TPeopleInfo *p = new TPeopleInfo(b, raw.Position);
            p->SetTabNumber(raw.TabNumber);
            p->SetFullName(raw.FullName);
            p->SetSite(raw.Site);
            p->SetJobTitle(raw.JobTitle);
        }
    }

    // A place along a branch: a fraction 0..1; what is not a number is the start.
    static double ClampPosition(double x)
    {
        if (std::isnan(x) || x < 0)
            return 0.0;
        return x > 1 ? 1.0 : x;
    }

    // A stopping entry as read, before it is placed in its branch.
    struct RawStopping {
        qint32 BranchIndex = 0;
        double Position = 0;
        QString Caption;
        char Record[MdfFormat::kStoppingRecordSize] = {}; // the 70-byte record (1.08 on), or the old record
        quint8 NormalHit = 0;
        qint32 NormalStep = 0;
        double NormalValues[3] = {0, 0, 0};
        quint8 RouteHit = 0;
        qint32 RouteStep = 0;
        double RouteValues[3] = {0, 0, 0};
    };

    // The branch of a stopping entry by its 1-based position; one that names no branch of the
    // file cannot be placed and marks the file as damaged.
    TBranch *StoppingBranch(qint32 index)
    {
        if (index < 1 || index > FMine.Branches().Count())
            TByteReader::Fail();
        return FMine.Branches().Items(index);
    }

    // Stoppings are created in the order read, each placed in its branch by position. When some
    // branch's entries are out of position order (never in a file the program wrote) they are
    // put in order first, branch by branch, so that each stopping joins the end of its branch's
    // list; the branch lists come out the same, only the mine's list of all stoppings follows
    // the branches instead of the file.
    void OrderStoppings(std::vector<RawStopping> &stoppings)
    {
        // Entries grouped by branch in branch order, as the program writes them, are checked
        // against their neighbours; only other files need the last position of every branch.
        bool ordered = true;
        const RawStopping *previous = nullptr;
        for (const RawStopping &s : stoppings) {
            StoppingBranch(s.BranchIndex);
            if (previous && (s.BranchIndex < previous->BranchIndex
                             || (s.BranchIndex == previous->BranchIndex && s.Position < previous->Position)))
                ordered = false;
            previous = &s;
        }
        if (!ordered) {
            std::vector<double> last(size_t(FMine.Branches().Count()) + 1, 0.0);
            ordered = true;
            for (const RawStopping &s : stoppings) {
                if (s.Position < last[size_t(s.BranchIndex)])
                    ordered = false;
                last[size_t(s.BranchIndex)] = s.Position;
            }
        }
        if (!ordered)
            std::stable_sort(stoppings.begin(), stoppings.end(), [](const RawStopping &x, const RawStopping &y) {
                return x.BranchIndex != y.BranchIndex ? x.BranchIndex < y.BranchIndex : x.Position < y.Position;
            });
    }

    void ReadStoppings()
    {
        qint64 minEntry = 4 + 4 + MdfFormat::kStoppingRecordSize + 1 + 4;
        if (FV >= 111)
            minEntry += 3 * 8;
        if (FV >= 118)
            minEntry += 1 + 4 + 3 * 8;
        const qint32 count = FIn.CheckCount(FIn.Int32(), minEntry);
        std::vector<RawStopping> stoppings(static_cast<size_t>(count));
        for (RawStopping &s : stoppings) {
            s.BranchIndex = FIn.Int32();
            s.Caption = FIn.String();
            std::memcpy(s.Record, FIn.Take(MdfFormat::kStoppingRecordSize), MdfFormat::kStoppingRecordSize);
            s.Position = ClampPosition(At<double>(s.Record, S::Position));
            s.NormalHit = FIn.Byte();
            s.NormalStep = FIn.Int32();
            if (FV >= 111)
                for (double &x : s.NormalValues)
                    x = FIn.Float64();
            if (FV >= 118) {
                s.RouteHit = FIn.Byte();
                s.RouteStep = FIn.Int32();
                for (double &x : s.RouteValues)
                    x = FIn.Float64();
            }
        }
        OrderStoppings(stoppings);
        for (const RawStopping &s : stoppings) {
            const char *r = s.Record;
            TJumper *j = new TJumper(FMine.Branches().Items(s.BranchIndex), s.Position);
            j->SetCaption(s.Caption);
            j->SetMaterial(quint8(r[S::Material]));
            j->SetVentByte(quint8(r[S::Vent]));
            j->SetThickness(At<double>(r, S::Thickness));
            j->SetDepression(At<double>(r, S::Depression));
            j->SetFlow(At<double>(r, S::Flow));
            j->SetResistance(At<double>(r, S::Resistance));
            j->SetMeasuredByte(quint8(r[S::Measured]));
            j->SetResistanceValue(2, At<double>(r, S::ReverseResistance));
            const double pressure = At<double>(r, S::BreakPressure);
            j->SetBreakPressure(pressure <= 0.00001 ? 0.0 : pressure);
            j->SetOpening(quint8(r[S::Opening]));
            j->SetOpeningArea(At<double>(r, S::OpeningArea));
            j->SetDoors(quint8(r[S::Doors]));
            j->SetCutInByte(quint8(r[S::CutIn]));
            j->SetNormalHitByte(s.NormalHit);
            j->SetNormalStep(s.NormalStep);
            j->SetNormalValues(s.NormalValues[0], s.NormalValues[1], s.NormalValues[2]);
            if (FV >= 118) {
                j->SetRouteHitByte(s.RouteHit);
                j->SetRouteStep(s.RouteStep);
                j->SetRouteValues(s.RouteValues[0], s.RouteValues[1], s.RouteValues[2]);
            }
        }
    }

    // Versions 1.05 to 1.07: thickness in centimetres and the old material codes.
    void ReadOldStoppings()
    {
        const int size = FMajor == 1 && FMinor == 5 ? MdfFormat::kOldestStoppingRecordSize
                                                    : MdfFormat::kOldStoppingRecordSize;
        const qint32 count = FIn.CheckCount(FIn.Int32(), size);
        std::vector<RawStopping> stoppings(static_cast<size_t>(count));
        for (RawStopping &s : stoppings) {
            std::memcpy(s.Record, FIn.Take(size), size_t(size));
            s.BranchIndex = At<qint32>(s.Record, O::BranchIndex);
            s.Position = ClampPosition(double(At<float>(s.Record, O::Position)));
            s.NormalHit = quint8(s.Record[O::NormalHit]);
            s.NormalStep = size >= MdfFormat::kOldStoppingRecordSize ? At<qint32>(s.Record, O::NormalStep) : 0;
        }
        OrderStoppings(stoppings);
        for (const RawStopping &s : stoppings) {
            const char *r = s.Record;
            TJumper *j = new TJumper(FMine.Branches().Items(s.BranchIndex), s.Position);
            j->SetMaterial(MapOldMaterial(quint8(r[O::Material])));
            j->SetThickness(double(At<float>(r, O::ThicknessCm)) / 100.0);
            const double pressure = double(At<float>(r, O::BreakPressure));
            j->SetBreakPressure(pressure < 0.0001 ? 0.0 : pressure);
            j->SetNormalHitByte(s.NormalHit);
            j->SetNormalStep(s.NormalStep);
        }
    }

    TByteReader FIn;
    TMineDocument &FDoc;
    TMine &FMine;
    qint64 FOldPeopleLeft;
    quint8 FMajor = 0, FMinor = 0;
    int FV = 0;
    int FNodeSize = 0, FBranchSize = 0;
    qint32 FNodeCount = 0, FBranchCount = 0;
};

} // namespace

qint64 TMdfReader::OldPeopleLimit(qint64 fileSize)
{
    return std::min<qint64>(1000000, 100000 + fileSize);
}

void TMdfReader::Read(QByteArrayView bytes, TMineDocument &doc)
{
    Reader(TByteReader(bytes), doc).Run();
}

void TMdfReader::ReadFile(int fd, qint64 size, TMineDocument &doc)
{
    Reader(TByteReader(fd, size), doc).Run();
}
