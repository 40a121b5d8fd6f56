#include "exchange/DxfReader.h"

#include "AppError.h"
#include "exchange/DxfColors.h"
#include "exchange/DxfGeometry.h"
#include "exchange/DxfScreen.h"
#include "exchange/DxfText.h"
#include "model/Unset.h"
#include "storage/FileErrors.h"
#include "storage/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <exception>
#include <istream>
#include <new>
#include <set>
#include <streambuf>
#include <unordered_map>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

namespace {

using DxfGeometry::TAffine;
using DxfGeometry::TVector;

// The file's bytes as the library's stream, read in place; where reading stands tells which
// record the library has reached.
class TMemoryBuffer : public std::streambuf {
public:
    TMemoryBuffer(const char *data, qsizetype size)
    {
        char *p = const_cast<char *>(data);
        setg(p, p, p + size);
    }
    qsizetype Position() const { return gptr() - eback(); }
};

struct TRawVertex {
    double X, Y, Z, Bulge;
};

// A chain of points in its entity's coordinates: the drawing's for LINE and 3D polylines, the
// entity's own (Ocs, with arcs between points where Bulge is not 0) otherwise.
struct TRawPath {
    qint64 First = 0;
    qint32 Count = 0;
    qint32 Layer = 0;
    qint32 Record = 0;
    bool Ocs = false;
    TVector Normal{0, 0, 1};
};

struct TRawInsert {
    std::string Block;
    TVector At, Scale;
    double Angle = 0;    // degrees
    int Cols = 1, Rows = 1;
    double ColSpacing = 0, RowSpacing = 0;
    TVector Normal{0, 0, 1};
    qint32 Layer = 0;
    qint32 Record = 0;
};

struct TRawLabel {
    TVector At;
    bool Ocs = false;
    TVector Normal{0, 0, 1};
    std::string Text;
    bool MText = false;
    qint32 Layer = 0;
    qint32 Record = 0;
};

// Model space (index 0) or one block.
struct TContainer {
    std::string Name;
    TVector Base;
    std::vector<TRawVertex> Vertices;
    std::vector<TRawPath> Paths;
    std::vector<TRawInsert> Inserts;
    std::vector<TRawLabel> Labels;
    std::map<std::string, qint64> Skipped;
};

[[noreturn]] void Refuse(const QString &what) { throw AppError(what); }

// What the library reports, gathered per container. Which record a call is about comes from
// where the library's reading stands (DxfScreen lists the records).
class TCollector : public DL_CreationAdapter {
public:
    TCollector(const DxfScreen::TScreened &screened, const TMemoryBuffer &buffer)
        : FScreen(screened), FBuffer(buffer), FTaken(screened.Records.size(), false),
          FContainers(size_t(screened.Blocks) + 1)
    {
        LayerIndex("0");
    }

    // --- header and tables ---
    void setVariableInt(const std::string &key, int value, int) override
    {
        if (key == "$INSUNITS")
            FUnits = value;
    }
    void setVariableString(const std::string &key, const std::string &value, int) override
    {
        if (key == "$ACADVER")
            FVersion = value;
        else if (key == "$DWGCODEPAGE")
            FCodePage = value;
    }
    void addLayer(const DL_LayerData &data) override
    {
        const qint32 i = LayerIndex(data.name);
        // A negative colour is the same colour with the layer switched off.
        const int aci = std::abs(attributes.getColor());
        const int rgb = attributes.getColor24();
        FLayerColors[size_t(i)] = rgb >= 0 ? DxfColors::FromTrueColor(quint32(rgb)) : DxfColors::AciColor(aci);
    }
    void addBlock(const DL_BlockData &data) override
    {
        if (TContainer *c = Container(false)) {
            c->Name = data.name;
            c->Base = {data.bpx, data.bpy, data.bpz};
        }
    }

    // --- entities ---
    void addLine(const DL_LineData &d) override
    {
        TContainer *c = Container();
        if (!c)
            return;
        TRawPath p = NewPath(*c);
        c->Vertices.push_back({d.x1, d.y1, d.z1, 0});
        c->Vertices.push_back({d.x2, d.y2, d.z2, 0});
        p.Count = 2;
        c->Paths.push_back(p);
        Take();
    }
    void addArc(const DL_ArcData &d) override
    {
        TContainer *c = Container();
        if (!c || !(d.radius > 0))
            return;
        double sweep = std::fmod(d.angle2 - d.angle1, 360.0);
        if (sweep <= 0)
            sweep += 360.0;
        // One bulge holds at most half a turn.
        const int halves = sweep > 180.0 ? 2 : 1;
        const double bulge = std::tan(sweep / halves * M_PI / 180.0 / 4.0);
        TRawPath p = NewPath(*c);
        p.Ocs = true;
        p.Normal = Normal();
        for (int k = 0; k <= halves; ++k) {
            const double a = (d.angle1 + sweep * k / halves) * M_PI / 180.0;
            c->Vertices.push_back({d.cx + d.radius * std::cos(a), d.cy + d.radius * std::sin(a), d.cz, k < halves ? bulge : 0});
        }
        p.Count = halves + 1;
        c->Paths.push_back(p);
        Take();
    }
    void addPolyline(const DL_PolylineData &d) override
    {
        FinishPolyline();
        TContainer *c = Container();
        // Meshes and polyface meshes are surfaces, not centrelines.
        if (!c || (d.flags & (16 | 64)))
            return;
        FPolyline = NewPath(*c);
        FPolylineContainer = c;
        FPolylineRecord = Completed();
        FClosed = d.flags & 1;
        FPolyline.Ocs = !(d.flags & 8);
        FPolyline.Normal = Normal();
        FElevation = getExtrusion()->getElevation();
    }
    void addVertex(const DL_VertexData &d) override
    {
        if (FPolylineContainer)
            FPolylineContainer->Vertices.push_back(
                {d.x, d.y, FPolyline.Ocs ? FElevation : d.z, FPolyline.Ocs ? d.bulge : 0.0});
    }
    void endEntity() override { FinishPolyline(); }
    void addInsert(const DL_InsertData &d) override
    {
        TContainer *c = Container();
        if (!c)
            return;
        TRawInsert i;
        i.Block = d.name;
        i.At = {d.ipx, d.ipy, d.ipz};
        i.Scale = {d.sx, d.sy, d.sz};
        i.Angle = d.angle;
        i.Cols = std::max(1, d.cols);
        i.Rows = std::max(1, d.rows);
        i.ColSpacing = d.colSp;
        i.RowSpacing = d.rowSp;
        i.Normal = Normal();
        i.Layer = LayerIndex(attributes.getLayer());
        i.Record = qint32(Completed());
        c->Inserts.push_back(std::move(i));
        Take();
    }
    void addText(const DL_TextData &d) override
    {
        TContainer *c = Container();
        if (!c)
            return;
        TRawLabel l;
        // A justified text stands at its alignment point; fitted and aligned ones between both.
        if (d.hJustification == 3 || d.hJustification == 5)
            l.At = {(d.ipx + d.apx) / 2, (d.ipy + d.apy) / 2, (d.ipz + d.apz) / 2};
        else if (d.hJustification != 0 || d.vJustification != 0)
            l.At = {d.apx, d.apy, d.apz};
        else
            l.At = {d.ipx, d.ipy, d.ipz};
        l.Ocs = true;
        l.Normal = Normal();
        l.Text = d.text;
        l.Layer = LayerIndex(attributes.getLayer());
        l.Record = qint32(Completed());
        c->Labels.push_back(std::move(l));
        Take();
    }
    void addMTextChunk(const std::string &text) override { FChunks += text; }
    void addMText(const DL_MTextData &d) override
    {
        std::string text = std::move(FChunks);
        FChunks.clear();
        TContainer *c = Container();
        if (!c)
            return;
        TRawLabel l;
        l.At = {d.ipx, d.ipy, d.ipz};
        l.Text = text + d.text;
        l.MText = true;
        l.Layer = LayerIndex(attributes.getLayer());
        l.Record = qint32(Completed());
        c->Labels.push_back(std::move(l));
        Take();
    }

    // After the library is done: the last polyline, and every entity nobody took, counted by name.
    void Finish()
    {
        FinishPolyline();
        static const std::set<std::string> structural = {"SECTION", "ENDSEC", "EOF", "BLOCK", "ENDBLK", "VERTEX", "SEQEND"};
        for (size_t r = 0; r < FScreen.Records.size(); ++r) {
            const DxfScreen::TRecord &rec = FScreen.Records[r];
            if (rec.Container < 0 || FTaken[r])
                continue;
            const std::string &type = FScreen.Types[size_t(rec.Type)];
            if (!structural.count(type))
                ++FContainers[size_t(rec.Container)].Skipped[type];
        }
    }

    std::vector<TContainer> &Containers() { return FContainers; }
    const std::vector<std::string> &LayerNames() const { return FLayerNames; }
    const std::vector<quint32> &LayerColors() const { return FLayerColors; }
    int Units() const { return FUnits; }
    const std::string &Version() const { return FVersion; }
    const std::string &CodePage() const { return FCodePage; }

private:
    qsizetype Completed() const { return FScreen.RecordEndingAt(FBuffer.Position()) - 1; }

    // The container of the entity the library has just finished; none outside model space and
    // blocks, and for what lies on a sheet.
    TContainer *Container(bool entity = true)
    {
        const qsizetype r = Completed();
        if (r < 0)
            return nullptr;
        const qint32 c = FScreen.Records[size_t(r)].Container;
        if (c < 0 || (entity && c == 0 && attributes.isInPaperSpace()))
            return nullptr;
        return &FContainers[size_t(c)];
    }
    void Take()
    {
        if (const qsizetype r = Completed(); r >= 0)
            FTaken[size_t(r)] = true;
    }
    TVector Normal()
    {
        const double *n = getExtrusion()->getDirection();
        return {n[0], n[1], n[2]};
    }
    TRawPath NewPath(const TContainer &c)
    {
        TRawPath p;
        p.First = qint64(c.Vertices.size());
        p.Layer = LayerIndex(attributes.getLayer());
        p.Record = qint32(Completed());
        return p;
    }
    void FinishPolyline()
    {
        if (!FPolylineContainer)
            return;
        TContainer &c = *FPolylineContainer;
        FPolylineContainer = nullptr;
        FPolyline.Count = qint32(qint64(c.Vertices.size()) - FPolyline.First);
        if (FPolyline.Count < 2) {
            c.Vertices.resize(size_t(FPolyline.First));
            return;
        }
        if (FClosed) {
            const TRawVertex first = c.Vertices[size_t(FPolyline.First)];
            c.Vertices.push_back({first.X, first.Y, first.Z, 0});
            ++FPolyline.Count;
        } else {
            c.Vertices.back().Bulge = 0;
        }
        c.Paths.push_back(FPolyline);
        if (FPolylineRecord >= 0)
            FTaken[size_t(FPolylineRecord)] = true;
    }
    qint32 LayerIndex(const std::string &name)
    {
        auto [it, added] = FLayers.emplace(name, qint32(FLayerNames.size()));
        if (added) {
            FLayerNames.push_back(name);
            FLayerColors.push_back(DxfColors::AciColor(7));
        }
        return it->second;
    }

    const DxfScreen::TScreened &FScreen;
    const TMemoryBuffer &FBuffer;
    std::vector<bool> FTaken;
    std::vector<TContainer> FContainers;
    std::unordered_map<std::string, qint32> FLayers;
    std::vector<std::string> FLayerNames;
    std::vector<quint32> FLayerColors;
    int FUnits = 0;
    std::string FVersion, FCodePage, FChunks;
    TRawPath FPolyline;
    TContainer *FPolylineContainer = nullptr;
    qsizetype FPolylineRecord = -1;
    bool FClosed = false;
    double FElevation = 0;
};

// Model space unfolded into the drawing: blocks put in place, arcs split, points to metres in
// single precision.
class TUnfolder {
public:
    TUnfolder(TCollector &collected, const DxfScreen::TScreened &screened, TDxfDrawing &drawing,
              const DxfReader::TOptions &options, double unit)
        : FContainers(collected.Containers()), FScreen(screened), FDrawing(drawing), FChord(options.Chord),
          FMaxSegments(options.MaxSegments), FMaxWork(10 * options.MaxSegments), FUnit(unit), FOnStack(FContainers.size(), false), FContent(FContainers.size(), -1),
          FCost(FContainers.size(), TCost{-1, -1}), FOnCostStack(FContainers.size(), false)
    {
        for (size_t i = 1; i < FContainers.size(); ++i)
            if (!FContainers[i].Name.empty())
                FBlocks.emplace(Upper(FContainers[i].Name), qint32(i));
    }

    void Run() { Unfold(0, TAffine::Scaling({FUnit, FUnit, FUnit}), FUnit, -1, 0); }

private:
    static constexpr int kMaxDepth = 32;

    // Block names are compared as CAD programs compare them: without regard to letter case.
    static std::string Upper(std::string s)
    {
        for (char &c : s)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        return s;
    }

    // t takes the container's points to the drawing's metres and stretches no length by more
    // than stretch (the unit times each insert's largest scale).
    void Unfold(qint32 index, const TAffine &t, double stretch, qint32 inherited, int depth)
    {
        const TContainer &c = FContainers[size_t(index)];
        FOnStack[size_t(index)] = true;
        auto layerOf = [&](qint32 layer) { return layer == 0 && inherited >= 0 ? inherited : layer; };
        for (const TRawPath &p : c.Paths)
            Emit(c, p, t, stretch, layerOf(p.Layer));
        for (const TRawLabel &l : c.Labels) {
            Work(1);
            TVector at = l.Ocs ? TAffine::Ocs(l.Normal).Apply(l.At) : l.At;
            TDxfDrawing::TLabel label;
            label.At = Single(t.Apply(at), l.Record);
            label.Layer = layerOf(l.Layer);
            FRawTexts.push_back({l.Text, l.MText});
            FDrawing.Labels.push_back(label);
        }
        for (const auto &[name, count] : c.Skipped)
            FSkipped[name] += count;
        for (const TRawInsert &ins : c.Inserts) {
            const auto it = FBlocks.find(Upper(ins.Block));
            if (it == FBlocks.end()) {
                ++FSkipped["INSERT"];
                continue;
            }
            const qint32 block = it->second;
            if (!HasContent(block, 0))
                continue;
            if (FOnStack[size_t(block)])
                Refuse(QStringLiteral("строка %1: блок \"%2\" вставлен сам в себя")
                           .arg(FScreen.Records[size_t(ins.Record)].Line)
                           .arg(QString::fromStdString(ins.Block)));
            if (depth >= kMaxDepth)
                Refuse(QStringLiteral("строка %1: блоки вложены глубже %2 уровней")
                           .arg(FScreen.Records[size_t(ins.Record)].Line)
                           .arg(kMaxDepth));
            // What the copies come to at the least, refused before any is made.
            const TCost cost = Cost(block, 0);
            const qint64 copies = qint64(ins.Rows) * ins.Cols;
            if (Add(FSegments, Mul(copies, cost.Segments)) > FMaxSegments)
                Segments(Mul(copies, cost.Segments));
            if (Add(FWork, Mul(copies, Add(cost.Work, 1))) > FMaxWork)
                Work(Mul(copies, Add(cost.Work, 1)));
            const TContainer &b = FContainers[size_t(block)];
            const TAffine place = TAffine::Ocs(ins.Normal) * TAffine::Translation(ins.At) * TAffine::RotationZ(ins.Angle);
            const TAffine fit = TAffine::Scaling(ins.Scale) * TAffine::Translation({-b.Base.X, -b.Base.Y, -b.Base.Z});
            const double scale = std::max({std::fabs(ins.Scale.X), std::fabs(ins.Scale.Y), std::fabs(ins.Scale.Z)});
            for (int r = 0; r < ins.Rows; ++r)
                for (int col = 0; col < ins.Cols; ++col) {
                    Work(1);
                    const TAffine cell = TAffine::Translation({col * ins.ColSpacing, r * ins.RowSpacing, 0});
                    Unfold(block, t * place * cell * fit, stretch * scale, layerOf(ins.Layer), depth + 1);
                }
        }
        FOnStack[size_t(index)] = false;
    }

    // Counts that stop at kBig instead of overflowing.
    static constexpr qint64 kBig = qint64(1) << 62;
    static qint64 Add(qint64 a, qint64 b) { return a > kBig - b ? kBig : a + b; }
    static qint64 Mul(qint64 a, qint64 b) { return a != 0 && b > kBig / a ? kBig : a * b; }

    struct TCost {
        qint64 Segments = 0, Work = 0;
    };
    // The least a block unfolds into (arcs at a quarter turn a piece): enough to refuse a drawing
    // that multiplies a block beyond the bounds before unfolding any of it.
    TCost Cost(qint32 index, int depth)
    {
        if (FCost[size_t(index)].Work >= 0)
            return FCost[size_t(index)];
        TCost c;
        if (depth > kMaxDepth || FOnCostStack[size_t(index)])
            return c;   // the unfolding refuses these itself
        FOnCostStack[size_t(index)] = true;
        const TContainer &b = FContainers[size_t(index)];
        for (const TRawPath &p : b.Paths)
            for (qint32 i = 1; i < p.Count; ++i) {
                const double bulge = b.Vertices[size_t(p.First + i - 1)].Bulge;
                c.Segments = Add(c.Segments, bulge != 0 ? qint64(std::ceil(4 * std::atan(std::fabs(bulge)) / (M_PI / 2))) : 1);
            }
        c.Work = Add(c.Segments, qint64(b.Labels.size()));
        for (const TRawInsert &ins : b.Inserts) {
            const auto it = FBlocks.find(Upper(ins.Block));
            if (it == FBlocks.end())
                continue;
            const TCost inner = Cost(it->second, depth + 1);
            const qint64 copies = qint64(ins.Rows) * ins.Cols;
            c.Segments = Add(c.Segments, Mul(copies, inner.Segments));
            c.Work = Add(c.Work, Mul(copies, Add(inner.Work, 1)));
        }
        FOnCostStack[size_t(index)] = false;
        FCost[size_t(index)] = c;
        return c;
    }

    // Whether inserting the block puts anything in the drawing (empty blocks are not unfolded,
    // however often they are inserted).
    bool HasContent(qint32 index, int depth)
    {
        signed char &known = FContent[size_t(index)];
        if (known >= 0)
            return known;
        const TContainer &c = FContainers[size_t(index)];
        bool content = !c.Paths.empty() || !c.Labels.empty() || !c.Skipped.empty();
        if (depth > kMaxDepth)
            return true;   // the unfolding itself refuses such depth
        for (size_t i = 0; !content && i < c.Inserts.size(); ++i) {
            const auto it = FBlocks.find(Upper(c.Inserts[i].Block));
            content = it == FBlocks.end() || it->second == index || HasContent(it->second, depth + 1);
        }
        known = content ? 1 : 0;
        return content;
    }

    void Work(qint64 units)
    {
        FWork += units;
        if (FWork > FMaxWork)
            Refuse(QStringLiteral("блоки чертежа разворачиваются больше чем в %L1 объектов").arg(FMaxWork));
    }

    void Emit(const TContainer &c, const TRawPath &p, const TAffine &t, double stretch, qint32 layer)
    {
        const TRawVertex *v = c.Vertices.data() + p.First;
        const TAffine ocs = p.Ocs ? TAffine::Ocs(p.Normal) : TAffine::Identity();
        const TAffine full = t * ocs;
        TDxfDrawing::TPath out;
        out.First = qint64(FDrawing.Points.size());
        out.Layer = layer;
        out.Line = FScreen.Records[size_t(p.Record)].Line;
        auto put = [&](double x, double y, double z) {
            FDrawing.Points.push_back(Single(full.Apply({x, y, z}), p.Record));
        };
        put(v[0].X, v[0].Y, v[0].Z);
        for (qint32 i = 1; i < p.Count; ++i) {
            const TRawVertex &a = v[i - 1], &b = v[i];
            const qint64 pieces = a.Bulge != 0 ? DxfGeometry::ArcPieces(a.X, a.Y, b.X, b.Y, a.Bulge, FChord, stretch) : 1;
            Segments(pieces);
            for (qint64 k = 1; k < pieces; ++k) {
                double x = 0, y = 0;
                DxfGeometry::ArcPoint(a.X, a.Y, b.X, b.Y, a.Bulge, double(k) / pieces, &x, &y);
                put(x, y, a.Z);
            }
            put(b.X, b.Y, b.Z);
        }
        out.Count = qint32(qint64(FDrawing.Points.size()) - out.First);
        FDrawing.Paths.push_back(out);
    }

    void Segments(qint64 n)
    {
        FSegments += n;
        if (FSegments > FMaxSegments)
            Refuse(QStringLiteral("чертёж разворачивается больше чем в %L1 отрезков").arg(FMaxSegments));
        Work(n);
    }

    // A point as the mine holds it.
    TDxfPoint Single(const TVector &v, qint32 record)
    {
        const double c[3] = {v.X, v.Y, v.Z};
        float f[3];
        for (int k = 0; k < 3; ++k) {
            if (!(std::fabs(c[k]) <= FLT_MAX))
                Refuse(QStringLiteral("%1: координаты не помещаются в числа одинарной точности").arg(Where(record)));
            f[k] = float(c[k]);
            if (IsUnset(f[k]))
                Refuse(QStringLiteral("%1: координата равна -777777, а этим числом программа отмечает незаданные значения")
                           .arg(Where(record)));
            const double shift = std::fabs(double(f[k]) - c[k]);
            if (shift > 0.001 && shift > FDrawing.Rounding && !SingleText(f[k], c[k]))
                FDrawing.Rounding = shift;
        }
        return {f[0], f[1], f[2]};
    }

    // The file held the single-precision number itself, in the fewest digits that give it back
    // (as export writes them): nothing was lost to single precision.
    static bool SingleText(float f, double read)
    {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, f);
        double back = 0;
        std::from_chars(buf, r.ptr, back);
        return back == read;
    }

    QString Where(qint32 record) const
    {
        const DxfScreen::TRecord &r = FScreen.Records[size_t(record)];
        return QStringLiteral("строка %1 (%2)").arg(r.Line).arg(QString::fromStdString(FScreen.Types[size_t(r.Type)]));
    }

public:
    struct TRawText {
        std::string Text;
        bool MText;
    };
    std::vector<TRawText> FRawTexts;
    std::map<std::string, qint64> FSkipped;

private:
    std::vector<TContainer> &FContainers;
    const DxfScreen::TScreened &FScreen;
    TDxfDrawing &FDrawing;
    double FChord;
    qint64 FMaxSegments, FMaxWork;
    double FUnit;
    std::unordered_map<std::string, qint32> FBlocks;
    std::vector<bool> FOnStack;
    std::vector<signed char> FContent;
    std::vector<TCost> FCost;
    std::vector<bool> FOnCostStack;
    qint64 FWork = 0, FSegments = 0;
};

} // namespace

namespace DxfReader {

QString UnitName(int units)
{
    static const char *const names[] = {
        "", "дюймы", "футы", "мили", "миллиметры", "сантиметры", "метры", "километры", "микродюймы",
        "тысячные доли дюйма", "ярды", "ангстремы", "нанометры", "микрометры", "дециметры", "декаметры",
        "гектометры", "гигаметры", "астрономические единицы", "световые годы", "парсеки",
        "геодезические футы США"};
    return units > 0 && units < int(std::size(names)) ? QString::fromUtf8(names[units]) : QString();
}

double UnitFactor(int units)
{
    static const double metres[] = {1, 0.0254, 0.3048, 1609.344, 0.001, 0.01, 1, 1000, 2.54e-8, 2.54e-5, 0.9144,
                                    1e-10, 1e-9, 1e-6, 0.1, 10, 100, 1e9, 1.495978707e11, 9.4607304725808e15,
                                    3.0856775814913673e16, 1200.0 / 3937.0};
    return units > 0 && units < int(std::size(metres)) ? metres[units] : 1.0;
}

TDxfDrawing Read(const QByteArray &bytes, const QString &name, const TOptions &options)
{
    try {
        const DxfScreen::TScreened screened = DxfScreen::Check(bytes);
        TMemoryBuffer buffer(bytes.constData(), bytes.size());
        std::istream stream(&buffer);
        TCollector collector(screened, buffer);
        {
            DL_Dxf dxf;
            dxf.in(stream, &collector);
        }
        collector.Finish();

        TDxfDrawing drawing;
        drawing.Units = UnitName(collector.Units()).isEmpty() ? 0 : collector.Units();
        TUnfolder unfolder(collector, screened, drawing, options, UnitFactor(drawing.Units));
        unfolder.Run();

        const DxfText::TDecoder decoder(collector.Version(), collector.CodePage());
        for (size_t i = 0; i < collector.LayerNames().size(); ++i) {
            TDxfDrawing::TLayer layer;
            layer.Name = DxfText::Fit1251(DxfText::OneLine(decoder.Decode(collector.LayerNames()[i])), &layer.NameChanged);
            layer.Color = collector.LayerColors()[i];
            drawing.Layers.push_back(layer);
        }
        for (size_t i = 0; i < drawing.Labels.size(); ++i) {
            const auto &raw = unfolder.FRawTexts[i];
            drawing.Labels[i].Text = DxfText::Fit1251(DxfText::PlainText(decoder.Decode(raw.Text), raw.MText), nullptr);
        }
        for (const auto &[type, count] : unfolder.FSkipped)
            drawing.Skipped[QString::fromLatin1(type.data(), qsizetype(type.size()))] += count;
        return drawing;
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("%1: %2").arg(name, e.message()));
    } catch (const std::bad_alloc &) {
        throw;
    } catch (const std::exception &e) {
        throw AppError(QStringLiteral("%1: файл DXF не читается (%2)").arg(name, QString::fromLocal8Bit(e.what())));
    }
}

TDxfDrawing ReadFile(const QString &path, const TOptions &options)
{
    QFile file;
    switch (RegularFile::OpenForReading(file, path)) {
    case RegularFile::TOpen::Opened: break;
    case RegularFile::TOpen::NotRegular:
        throw AppError(QStringLiteral("%1: %2").arg(path, FileErrors::NotRegularText()));
    case RegularFile::TOpen::Failed: {
        const int code = path.isEmpty() ? FileErrors::BadFileName
                         : QFileInfo::exists(path) ? FileErrors::AccessDenied
                                                   : FileErrors::FileNotFound;
        throw AppError(QStringLiteral("%1: %2").arg(path, FileErrors::Text(code)));
    }
    }
    if (file.size() > kMaxBytes)
        throw AppError(QStringLiteral("%1: файл больше %2 МиБ, таких импорт DXF не читает").arg(path).arg(kMaxBytes >> 20));
    QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes)
        throw AppError(QStringLiteral("%1: файл больше %2 МиБ, таких импорт DXF не читает").arg(path).arg(kMaxBytes >> 20));
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("%1: %2").arg(path, FileErrors::Text(FileErrors::AccessDenied)));
    return Read(bytes, path, options);
}

} // namespace DxfReader
