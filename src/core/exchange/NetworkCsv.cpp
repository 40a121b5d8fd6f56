#include "exchange/NetworkCsv.h"

#include "AppError.h"
#include "exchange/NetworkCsvColumns.h"
#include "exchange/TCsvOut.h"
#include "exchange/TCsvTable.h"
#include "model/BranchGeometry.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TPLF.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include "model/Unset.h"
#include "storage/FileErrors.h"
#include "storage/RegularFile.h"
#include "storage/TMineDocument.h"
#include "storage/TSafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <memory>
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
        for (int zone : {1, 2}) {
            out.Int(b->Zone(zone) ? 1 : 0);
            out.Int(zone == 1 ? b->Gas1Kind() : b->Gas2Kind());
            out.Value(b->ZoneBound(2 * zone - 1));
            out.Value(b->ZoneBound(2 * zone));
        }
        out.EndRow();
    }
}

void WriteStoppings(const TMine &mine, TCsvOut &out)
{
    out.Header(kStoppingNames, StoppingColumnCount);
    for (const TBranch *b : mine.Branches()) {
        if (b->IsEmpty())
            continue;
        for (const TJumper *j : b->Jumpers()) {
            out.Int(b->Number());
            out.Real(j->Position());
            out.Text(j->Caption());
            out.Int(j->Material());
            out.Int(j->CutIn() ? 1 : 0);
            out.Int(j->Vent() ? 1 : 0);
            for (double v : {j->Thickness(), j->Depression(), j->Flow()})
                out.Real(v);
            out.Int(j->Measured() ? 1 : 0);
            for (double v : {j->Resistance(), j->ReverseResistance(), j->BreakPressure()})
                out.Real(v);
            out.Int(j->Doors());
            out.Int(j->Opening());
            out.Real(j->OpeningArea());
            out.EndRow();
        }
    }
}

void WritePeople(const TMine &mine, TCsvOut &out)
{
    out.Header(kPersonNames, PersonColumnCount);
    for (const TBranch *b : mine.Branches()) {
        if (b->IsEmpty())
            continue;
        for (const TPeopleInfo *p : b->People()) {
            out.Int(b->Number());
            out.Real(p->Position());
            out.Int(p->TabNumber());
            out.Text(p->FullName());
            out.Int(p->Site());
            out.Text(p->JobTitle());
            out.EndRow();
        }
    }
}

QString ColorText(quint32 bgr)
{
    const quint32 rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

void WriteDocument(const TMineDocument &doc, TCsvOut &out)
{
    const TMine &mine = *doc.Mine();
    auto row = [&out](DocumentRow name) { out.Text(QLatin1String(kDocumentRows[name])); };
    out.Header(kDocumentNames, DocumentColumnCount);
    row(RTitle);
    out.Text(mine.Title());
    out.EndRow();
    row(RTemperature);
    out.Int(mine.Temperature());
    out.EndRow();
    row(RPressure);
    out.Value(mine.Pressure());
    out.EndRow();
    for (const QString &line : doc.Notes()) {
        row(RNote);
        out.Text(line);
        out.EndRow();
    }
    auto groups = [&](const auto &list, DocumentRow name) {
        for (const TLayer *g : list) {
            row(name);
            out.Text(g->Name());
            out.EndRow();
            row(DocumentRow(name + 1));
            out.Text(ColorText(g->Color()));
            out.EndRow();
            row(DocumentRow(name + 2));
            out.Int(g->Visible() ? 1 : 0);
            out.EndRow();
        }
    };
    groups(mine.Layers(), RLayer);
    groups(mine.PLFs(), RPLF);
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
    struct {
        bool On;
        quint8 Kind;
        float From, To;
    } Gas[2];
};

std::vector<TNodeRow> ReadNodes(const QByteArray &bytes, const QString &name)
{
    std::vector<TNodeRow> rows;
    TCsvTable t(bytes, name, kNodeNames, NodeColumnCount, {NNumber});
    while (t.Next())
        rows.push_back({t.OwnNumber(NNumber), t.Real(NX, true), t.Real(NY, true), t.Real(NZ, true), t.Flag(NSurface)});
    return rows;
}

std::vector<TBranchRow> ReadBranches(const QByteArray &bytes, const QString &name)
{
    std::vector<TBranchRow> rows;
    TCsvTable t(bytes, name, kBranchNames, BranchColumnCount, {BNumber, BStart, BEnd});
    // A new branch of the editor's table takes the shape and roughness of the one above it.
    TBranchRow above{};
    while (t.Next()) {
        TBranchRow b{t.OwnNumber(BNumber), t.OwnNumber(BStart), t.OwnNumber(BEnd), t.Real(BSection, true),
                     quint8(t.Int(BShape, above.Shape, 0, kMaxShape)),
                     quint8(t.Int(BRoughness, above.Roughness, 0, kMaxRoughness)),
                     t.Double(BResistance, double(kUnsetReal), true), t.Int(BLayer, -1, -1, kMaxGroupIndex),
                     t.Int(BPLF, -1, -1, kMaxGroupIndex), t.Words(BComment), t.Words(BName),
                     {{t.Flag(BGas1), quint8(t.Int(BGas1Kind, 0, 0, kMaxGasKind)), t.Real(BGas1From, false, 0),
                       t.Real(BGas1To, false, 0)},
                      {t.Flag(BGas2), quint8(t.Int(BGas2Kind, 0, 0, kMaxGasKind)), t.Real(BGas2From, false, 0),
                       t.Real(BGas2To, false, 0)}}};
        above.Shape = b.Shape;
        above.Roughness = b.Roughness;
        rows.push_back(std::move(b));
    }
    return rows;
}

struct TStoppingRow {
    qint32 Branch;
    double Position;
    QString Caption;
    quint8 Material;
    bool CutIn, Vent;
    double Thickness, Depression, Flow;
    bool Measured;
    double Resistance, ReverseResistance, BreakPressure;
    quint8 Doors, Opening;
    double OpeningArea;
};

struct TPersonRow {
    qint32 Branch;
    double Position;
    qint32 TabNumber;
    QString FullName;
    qint32 Site;
    QString JobTitle;
};

struct TGroupRow {
    QString Name;
    quint32 Color = 0xFFFFFF;
    bool Visible = true;
};

struct TDocumentRows {
    bool Given = false;   // a document file was read
    bool HasTitle = false;
    QString Title;
    qint32 Temperature = 20;
    float Pressure = 1.0f;
    QStringList Notes;
    std::vector<TGroupRow> Layers, PLFs;
};

// The branch numbers of the branch file, to check the branch a stopping or person names.
class TBranchNumbers {
public:
    explicit TBranchNumbers(const std::vector<TBranchRow> &rows)
    {
        FNumbers.reserve(rows.size());
        for (const TBranchRow &r : rows)
            FNumbers.push_back(r.Number);
        std::sort(FNumbers.begin(), FNumbers.end());
    }
    qint32 Of(const TCsvTable &t, int column) const
    {
        const qint32 number = t.Number(column);
        if (!std::binary_search(FNumbers.begin(), FNumbers.end(), number))
            t.Fail(column, QStringLiteral("в файле ветвей нет ветви с таким номером: %1").arg(TCsvTable::Shown(t.Text(column))));
        return number;
    }

private:
    std::vector<qint32> FNumbers;
};

// A place along a branch: 0..1, the middle when not given (where the tables put a new one).
double PositionOf(const TCsvTable &t, int column)
{
    const double position = t.Double(column, 0.5, false);
    if (position > 1)
        t.Fail(column, QStringLiteral("допустимы значения от 0 до 1: %1").arg(TCsvTable::Shown(t.Text(column))));
    return position;
}

// As the mine file is read: a destruction pressure up to 0.00001 is none.
double BreakPressureOf(const TCsvTable &t)
{
    const double pressure = t.Double(SBreakPressure, 0, true);
    return pressure <= 0.00001 ? 0.0 : pressure;
}

std::vector<TStoppingRow> ReadStoppings(const QByteArray &bytes, const QString &name, const TBranchNumbers &branches)
{
    std::vector<TStoppingRow> rows;
    TCsvTable t(bytes, name, kStoppingNames, StoppingColumnCount, {SBranch});
    while (t.Next())
        rows.push_back({branches.Of(t, SBranch), PositionOf(t, SPosition), t.Words(SNumber),
                        quint8(t.Int(SMaterial, 0, 0, kMaxMaterial)), t.Flag(SCutIn), t.Flag(SVent),
                        t.Double(SThickness, 0, true), t.Double(SDepression, 0, true), t.Double(SFlow, 0, true),
                        t.Flag(SMeasured), t.Double(SResistance, 0, true), t.Double(SReverseResistance, 0, true),
                        BreakPressureOf(t), quint8(t.Int(SDoors, 0, 0, kMaxDoors)),
                        quint8(t.Int(SOpening, 0, 0, kMaxOpening)), t.Double(SOpeningArea, 0, true)});
    return rows;
}

std::vector<TPersonRow> ReadPeople(const QByteArray &bytes, const QString &name, const TBranchNumbers &branches)
{
    std::vector<TPersonRow> rows;
    TCsvTable t(bytes, name, kPersonNames, PersonColumnCount, {PBranch});
    while (t.Next())
        rows.push_back({branches.Of(t, PBranch), PositionOf(t, PPosition), t.Int(PTabNumber, 0, INT_MIN, INT_MAX),
                        t.Words(PFullName), t.Int(PSite, 0, INT_MIN, INT_MAX), t.Words(PJobTitle)});
    return rows;
}

// "#RRGGBB" as the model keeps a colour, 0x00BBGGRR.
quint32 ColorOf(const TCsvTable &t, int column)
{
    const std::string_view text = t.Text(column);
    bool ok = text.size() == 7 && text[0] == '#';
    const quint32 rgb = ok ? QByteArray(text.data() + 1, 6).toUInt(&ok, 16) : 0;
    if (!ok)
        t.Fail(column, QStringLiteral("ожидался цвет #RRGGBB: %1").arg(TCsvTable::Shown(text)));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

TDocumentRows ReadDocument(const QByteArray &bytes, const QString &name)
{
    TDocumentRows doc;
    doc.Given = true;
    TCsvTable t(bytes, name, kDocumentNames, DocumentColumnCount, {DName, DValue});
    while (t.Next()) {
        const QString key = t.Words(DName);
        int row = 0;
        while (row < DocumentRowCount && key.compare(QLatin1String(kDocumentRows[row]), Qt::CaseInsensitive) != 0)
            ++row;
        // A colour or a visibility belongs to the seam or plan position of the rows above.
        std::vector<TGroupRow> &groups = row <= RLayerVisible ? doc.Layers : doc.PLFs;
        if ((row == RLayerColor || row == RLayerVisible || row == RPLFColor || row == RPLFVisible) && groups.empty())
            t.Fail(DName, QStringLiteral("строка %1 должна идти после строки %2")
                              .arg(key, QLatin1String(kDocumentRows[row <= RLayerVisible ? RLayer : RPLF])));
        switch (row) {
        case RTitle:
            doc.HasTitle = true;
            doc.Title = t.Words(DValue);
            break;
        case RTemperature: doc.Temperature = t.Int(DValue, doc.Temperature, INT_MIN, INT_MAX); break;
        case RPressure: {
            const float pressure = t.Real(DValue, false);
            if (!IsUnset(pressure))
                doc.Pressure = pressure;
            break;
        }
        case RNote: doc.Notes << t.Words(DValue); break;
        case RLayer:
        case RPLF: groups.push_back({t.Words(DValue)}); break;
        case RLayerColor:
        case RPLFColor: groups.back().Color = ColorOf(t, DValue); break;
        case RLayerVisible:
        case RPLFVisible: groups.back().Visible = t.Flag(DValue); break;
        default: {
            QStringList names;
            for (const char *n : kDocumentRows)
                names << QLatin1String(n);
            t.Fail(DName, QStringLiteral("неизвестное имя %1; допустимы: %2")
                              .arg(TCsvTable::Shown(t.Text(DName)), names.join(QStringLiteral(", "))));
        }
        }
    }
    return doc;
}

// Everything read from the files, checked, before anything is created.
struct TRows {
    std::vector<TNodeRow> Uzels;
    std::vector<TBranchRow> Branches;
    std::vector<TStoppingRow> Stoppings;
    std::vector<TPersonRow> People;
    TDocumentRows Document;
};

void Build(TMineDocument *doc, TMine &mine, const TRows &rows)
{
    qint32 layers = 0, plfs = 0;
    for (const TBranchRow &r : rows.Branches) {
        layers = std::max(layers, r.Layer + 1);
        plfs = std::max(plfs, r.PLF + 1);
    }
    mine.BeginUpdate();
    mine.Uzels().Reserve(int(rows.Uzels.size()));
    mine.Branches().Reserve(int(rows.Branches.size()));
    const TDocumentRows &d = rows.Document;
    if (d.HasTitle)
        mine.SetTitle(d.Title);
    if (d.Given) {
        mine.SetTemperature(d.Temperature);
        mine.SetPressure(d.Pressure);
        if (doc)
            doc->SetNotes(d.Notes);
    }
    auto group = [](TLayer *g, const TGroupRow &r) {
        g->SetName(r.Name);
        g->SetColor(r.Color);
        g->SetVisible(r.Visible);
    };
    for (const TGroupRow &r : d.Layers)
        group(new TLayer(&mine), r);
    for (const TGroupRow &r : d.PLFs)
        group(new TPLF(&mine), r);
    for (const TNodeRow &n : rows.Uzels) {
        TUzel *u = mine.AddUzel(n.Number, n.X, n.Y, n.Z);
        if (n.Surface)
            u->SetSurface(true);
    }
    for (int i = mine.Layers().Count(); i < layers; ++i)
        (new TLayer(&mine))->SetName(QStringLiteral("Пласт %1").arg(i + 1));
    for (int i = mine.PLFs().Count(); i < plfs; ++i)
        (new TPLF(&mine))->SetName(QStringLiteral("Позиция ПЛА %1").arg(i + 1));
    for (const TBranchRow &r : rows.Branches) {
        TBranch *b = mine.AddBranch(r.Number, r.Start, r.End, r.Comment, r.Section);
        b->SetShape(r.Shape);
        b->SetRoughness(r.Roughness);
        b->SetResistance(r.Resistance);
        b->SetLayerIndex(r.Layer);
        b->SetPLFIndex(r.PLF);
        b->SetName(r.Name);
        // As the mine file is read: the kind before the zone, the bounds last.
        for (int zone : {1, 2}) {
            const auto &gas = r.Gas[zone - 1];
            b->SetGasKind(zone, gas.Kind);
            b->SetZone(zone, gas.On);
            b->SetZoneBound(2 * zone - 1, gas.From);
            b->SetZoneBound(2 * zone, gas.To);
        }
    }
    for (const TStoppingRow &r : rows.Stoppings) {
        auto *j = new TJumper(mine.Branches().Find(r.Branch), r.Position);
        j->SetCaption(r.Caption);
        j->SetMaterial(r.Material);
        j->SetCutIn(r.CutIn);
        j->SetVent(r.Vent);
        j->SetThickness(r.Thickness);
        // As the mine file keeps them: H, Q and R each as written, whether R came from H and Q.
        j->SetDepression(r.Depression);
        j->SetFlow(r.Flow);
        j->SetResistance(r.Resistance);
        j->SetMeasured(r.Measured);
        j->SetResistanceValue(2, r.ReverseResistance);
        j->SetBreakPressure(r.BreakPressure);
        j->SetOpening(r.Opening);
        j->SetOpeningArea(r.OpeningArea);
        j->SetDoors(r.Doors);
    }
    for (const TPersonRow &r : rows.People) {
        auto *p = new TPeopleInfo(mine.Branches().Find(r.Branch), r.Position);
        p->SetTabNumber(r.TabNumber);
        p->SetFullName(r.FullName);
        p->SetSite(r.Site);
        p->SetJobTitle(r.JobTitle);
    }
    mine.EndUpdate();
    mine.SetModified(true);
}

TRows ReadAll(const NetworkCsv::TSources &s, const NetworkCsv::TBytesOf &bytesOf)
{
    TRows rows;
    rows.Uzels = ReadNodes(bytesOf(s.Nodes), s.Nodes);
    rows.Branches = ReadBranches(bytesOf(s.Branches), s.Branches);
    if (!s.Document.isEmpty())
        rows.Document = ReadDocument(bytesOf(s.Document), s.Document);
    if (!s.Stoppings.isEmpty() || !s.People.isEmpty()) {
        const TBranchNumbers numbers(rows.Branches);
        if (!s.Stoppings.isEmpty())
            rows.Stoppings = ReadStoppings(bytesOf(s.Stoppings), s.Stoppings, numbers);
        if (!s.People.isEmpty())
            rows.People = ReadPeople(bytesOf(s.People), s.People, numbers);
    }
    return rows;
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

TSources SourcesBeside(const QString &nodesPath, const QString &branchesPath)
{
    TSources s{nodesPath, branchesPath, {}, {}, {}};
    const QDir folder = QFileInfo(branchesPath).dir();
    QString *optional[] = {&s.Stoppings, &s.People, &s.Document};
    for (int i = 0; i < 3; ++i) {
        const QString path = folder.filePath(QLatin1String(kFileNames[i + 2]));
        if (QFileInfo(path).isFile())
            *optional[i] = path;
    }
    return s;
}

QByteArray NodesText(const TMine &mine, const TFormat &format) { return Text(mine, format, WriteNodes); }
QByteArray BranchesText(const TMine &mine, const TFormat &format) { return Text(mine, format, WriteBranches); }
QByteArray StoppingsText(const TMine &mine, const TFormat &format) { return Text(mine, format, WriteStoppings); }
QByteArray PeopleText(const TMine &mine, const TFormat &format) { return Text(mine, format, WritePeople); }

QByteArray DocumentText(const TMineDocument &doc, const TFormat &format)
{
    TCsvOut out(nullptr, format);
    WriteDocument(doc, out);
    return out.Take();
}

void Export(const TMineDocument &doc, const QString &dir, const TFormat &format)
{
    if (dir.isEmpty() || !QDir().mkpath(dir))
        throw AppError(QStringLiteral("%1: %2").arg(dir, FileErrors::Text(FileErrors::BadFileName)));
    const QDir folder(dir);
    const TMine &mine = *doc.Mine();
    const std::function<void(TCsvOut &)> writers[] = {
        [&mine](TCsvOut &out) { WriteNodes(mine, out); }, [&mine](TCsvOut &out) { WriteBranches(mine, out); },
        [&mine](TCsvOut &out) { WriteStoppings(mine, out); }, [&mine](TCsvOut &out) { WritePeople(mine, out); },
        [&doc](TCsvOut &out) { WriteDocument(doc, out); }};
    // Every file is complete beside its old version before any replaces its old one.
    std::vector<std::unique_ptr<TSafeFile>> files;
    QList<TSafeFile *> all;
    try {
        for (const char *name : kFileNames) {
            files.push_back(std::make_unique<TSafeFile>(folder.filePath(QLatin1String(name))));
            files.back()->Open();
            all << files.back().get();
        }
        for (size_t i = 0; i < files.size(); ++i) {
            TCsvOut out(files[i].get(), format);
            writers[i](out);
            out.Flush();
        }
        TSafeFile::CommitAll(all);
    } catch (const TFileError &e) {
        throw TFileError(e.Path(), e.Reason(), QStringLiteral("%1: %2").arg(e.Path(), e.Reason()), true);
    }
}

void Read(TMineDocument &doc, const TSources &sources, const TBytesOf &bytesOf)
{
    Build(&doc, *doc.Mine(), ReadAll(sources, bytesOf));
}

void Read(TMine &mine, const QByteArray &nodes, const QString &nodesName, const QByteArray &branches,
          const QString &branchesName)
{
    const TSources sources{nodesName, branchesName, {}, {}, {}};
    int taken = 0;
    const auto bytesOf = [&](const QString &) { return taken++ == 0 ? nodes : branches; };
    Build(nullptr, mine, ReadAll(sources, bytesOf));
}

} // namespace NetworkCsv
