#include "exchange/DxfNetwork.h"

#include "AppError.h"
#include "exchange/DxfReader.h"
#include "model/TBranch.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/Unset.h"

#include <QLocale>
#include <climits>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

namespace {

// Points filed by the cell of a cubic grid they fall in. A cell is eight times the distance
// searched for, so that a point looks beyond its own cell only across the faces it lies within
// that distance of: two cells on average instead of the 27 of cells as large as the distance.
// Nodes keep the tolerance between them, so a cell holds a bounded number of them. Cells are
// keyed by their indices as doubles, which stay whole numbers however far out a
// single-precision point lies.
class TCellHash {
public:
    TCellHash(double limit, bool plan, size_t expected) : FCell(8 * limit), FLimit(limit), FPlan(plan)
    {
        FHead.reserve(expected);
    }

    void Add(qint32 item, const TDxfPoint &p)
    {
        const TKey k = KeyOf(p);
        FNext.resize(std::max(FNext.size(), size_t(item) + 1), -1);
        auto [it, added] = FHead.emplace(k, item);
        if (!added) {
            FNext[size_t(item)] = it->second;
            it->second = item;
        }
    }

    // The item nearest to p closer than the distance, the one added first on a tie; -1 when none.
    template<typename PositionOf> qint32 Nearest(const TDxfPoint &p, PositionOf position) const
    {
        const TKey k = KeyOf(p);
        // Along each axis: the own cell, and the neighbour across a face p lies near.
        double steps[3][3];
        int counts[3];
        const float coords[3] = {p.X, p.Y, p.Z};
        const double keys[3] = {k.X, k.Y, k.Z};
        for (int a = 0; a < 3; ++a) {
            counts[a] = 0;
            steps[a][counts[a]++] = 0;
            if (a == 2 && FPlan)
                continue;
            const double low = keys[a] * FCell, v = coords[a];
            if (v - low < FLimit)
                steps[a][counts[a]++] = -1;
            if (low + FCell - v < FLimit)
                steps[a][counts[a]++] = 1;
        }
        qint32 best = -1;
        double bestDistance = FLimit * FLimit;
        for (int i = 0; i < counts[0]; ++i)
            for (int j = 0; j < counts[1]; ++j)
                for (int l = 0; l < counts[2]; ++l) {
                    const auto it = FHead.find({k.X + steps[0][i], k.Y + steps[1][j], k.Z + steps[2][l]});
                    if (it == FHead.end())
                        continue;
                    for (qint32 n = it->second; n >= 0; n = FNext[size_t(n)]) {
                        const TDxfPoint q = position(n);
                        const double dx = double(q.X) - p.X, dy = double(q.Y) - p.Y;
                        const double d = dx * dx + dy * dy + (FPlan ? 0.0 : (double(q.Z) - p.Z) * (double(q.Z) - p.Z));
                        if (d < bestDistance || (d == bestDistance && best >= 0 && n < best)) {
                            best = n;
                            bestDistance = d;
                        }
                    }
                }
        return best;
    }

private:
    struct TKey {
        double X, Y, Z;
        bool operator==(const TKey &o) const { return X == o.X && Y == o.Y && Z == o.Z; }
    };
    struct THash {
        size_t operator()(const TKey &k) const
        {
            quint64 h = 0;
            for (double v : {k.X, k.Y, k.Z}) {
                quint64 bits;
                v += 0.0;   // -0 and 0 are one cell
                std::memcpy(&bits, &v, sizeof bits);
                // splitmix64 over the running value
                h += bits + 0x9e3779b97f4a7c15ULL;
                h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ULL;
                h = (h ^ (h >> 27)) * 0x94d049bb133111ebULL;
                h ^= h >> 31;
            }
            return size_t(h);
        }
    };
    TKey KeyOf(const TDxfPoint &p) const
    {
        return {std::floor(p.X / FCell), std::floor(p.Y / FCell), FPlan ? 0.0 : std::floor(p.Z / FCell)};
    }

    double FCell, FLimit;
    bool FPlan;
    std::unordered_map<TKey, qint32, THash> FHead;   // the last item added to each cell
    std::vector<qint32> FNext;                       // the item added to its cell before it
};

struct TPiece {
    qint32 Start, End, Layer;
    TDxfPoint Middle;
};

double Distance(const TDxfPoint &a, const TDxfPoint &b)
{
    const double dx = double(a.X) - b.X, dy = double(a.Y) - b.Y, dz = double(a.Z) - b.Z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

QString Metres(double v) { return QLocale::system().toString(v, 'g', 3); }

} // namespace

QString TDxfImportReport::Summary() const
{
    QString s = QStringLiteral("узлов: %1, ветвей: %2, пластов: %3, пропущено объектов: %4").arg(Nodes).arg(Branches).arg(Seams).arg(Skipped);
    if (!SkippedKinds.isEmpty())
        s += QStringLiteral(" (%1)").arg(SkippedKinds);
    return s;
}

namespace DxfNetwork {

QString StoppingsLayer() { return QStringLiteral("Перемычки"); }

QStringList DefaultLayers(const TDxfDrawing &drawing)
{
    QStringList layers = drawing.UsedLayers();
    layers.removeAll(StoppingsLayer());
    return layers;
}

TDxfImportReport Build(TMine &mine, const TDxfDrawing &drawing, const TDxfImportOptions &options)
{
    TDxfImportReport report;
    const QStringList used = drawing.UsedLayers();
    const QStringList wanted = options.Layers ? *options.Layers : DefaultLayers(drawing);
    for (const QString &name : wanted)
        if (!used.contains(name))
            throw AppError(QStringLiteral("в файле нет слоя \"%1\" с линиями или текстами").arg(name));
    std::vector<bool> take(drawing.Layers.size(), false);
    for (size_t i = 0; i < drawing.Layers.size(); ++i)
        take[i] = wanted.contains(drawing.Layers[i].Name);

    // Nodes and segments, before anything reaches the mine.
    const double tolerance = options.Tolerance;
    std::vector<TDxfPoint> nodes;
    TCellHash grid(tolerance, false, drawing.Points.size());
    auto position = [&nodes](qint32 n) { return nodes[size_t(n)]; };
    auto newNode = [&](const TDxfPoint &p, bool filed) {
        const qint32 n = qint32(nodes.size());
        nodes.push_back(p);
        if (filed)
            grid.Add(n, p);
        return n;
    };
    auto snap = [&](const TDxfPoint &p) {
        const qint32 n = grid.Nearest(p, position);
        return n >= 0 ? n : newNode(p, true);
    };

    std::vector<TPiece> pieces;
    std::unordered_set<quint64> joined;
    qint64 shortOnes = 0, repeated = 0, lines = 0;
    for (const TDxfDrawing::TPath &path : drawing.Paths) {
        if (!take[size_t(path.Layer)])
            continue;
        ++lines;
        qint32 previous = -1;
        for (qint32 k = 0; k < path.Count; ++k) {
            const TDxfPoint &p = drawing.Points[size_t(path.First + k)];
            const bool inner = k > 0 && k + 1 < path.Count;
            qint32 node;
            if (!inner || options.SplitAtJunctions)
                node = snap(p);
            else if (Distance(p, nodes[size_t(previous)]) < tolerance)
                node = previous;
            else
                node = newNode(p, false);
            if (k > 0) {
                if (node == previous) {
                    ++shortOnes;
                } else if (!joined.insert(quint64(quint32(std::min(node, previous))) << 32 | quint32(std::max(node, previous))).second) {
                    ++repeated;
                } else {
                    const TDxfPoint &a = nodes[size_t(previous)], &b = nodes[size_t(node)];
                    pieces.push_back({previous, node, path.Layer,
                                      {float((double(a.X) + b.X) / 2), float((double(a.Y) + b.Y) / 2), float((double(a.Z) + b.Z) / 2)}});
                }
            }
            previous = node;
        }
    }
    if (lines == 0)
        throw AppError(options.Layers ? QStringLiteral("в выбранных слоях нет линий (LINE, POLYLINE, LWPOLYLINE, ARC)")
                                      : QStringLiteral("в файле нет линий (LINE, POLYLINE, LWPOLYLINE, ARC)"));
    if (pieces.empty())
        throw AppError(QStringLiteral("все отрезки чертежа короче допуска %1 м").arg(Metres(tolerance)));
    // Only the nodes that some branch joins are kept: a polyline's vertex between two short
    // segments may have joined none.
    std::vector<qint32> number(nodes.size(), 0);
    qint64 kept = 0;
    for (const TPiece &piece : pieces)
        for (qint32 n : {piece.Start, piece.End})
            if (number[size_t(n)] == 0)
                number[size_t(n)] = qint32(++kept);
    const qint64 last = qint64(options.First) - 1 + std::max<qint64>(kept, qint64(pieces.size()));
    if (options.First < 1 || last > INT_MAX)
        throw AppError(QStringLiteral("номера от %1 не помещаются в целые числа: последний был бы %2").arg(options.First).arg(last));

    // Names: the nearest text to each branch's middle, in plan.
    std::vector<QString> names(pieces.size());
    int named = 0;
    if (options.NamesDistance > 0) {
        TCellHash texts(options.NamesDistance, true, drawing.Labels.size());
        std::vector<qint32> labels;
        for (size_t i = 0; i < drawing.Labels.size(); ++i)
            if (take[size_t(drawing.Labels[i].Layer)] && !drawing.Labels[i].Text.isEmpty()) {
                texts.Add(qint32(labels.size()), drawing.Labels[i].At);
                labels.push_back(qint32(i));
            }
        auto at = [&](qint32 n) { return drawing.Labels[size_t(labels[size_t(n)])].At; };
        for (size_t i = 0; i < pieces.size(); ++i)
            if (const qint32 t = texts.Nearest(pieces[i].Middle, at); t >= 0) {
                names[i] = drawing.Labels[size_t(labels[size_t(t)])].Text;
                ++named;
            }
    }

    // Seams: one per layer that has a branch, but layer "0".
    std::vector<qint32> seamOf(drawing.Layers.size(), -2);
    std::vector<qint32> seamLayers;
    for (const TPiece &piece : pieces) {
        qint32 &seam = seamOf[size_t(piece.Layer)];
        if (seam != -2)
            continue;
        if (drawing.Layers[size_t(piece.Layer)].Name == QLatin1String("0")) {
            seam = -1;
        } else {
            seam = qint32(seamLayers.size());
            seamLayers.push_back(piece.Layer);
        }
    }

    mine.BeginUpdate();
    std::vector<const TDxfPoint *> ordered(size_t(kept), nullptr);
    for (size_t n = 0; n < nodes.size(); ++n)
        if (number[n] > 0)
            ordered[size_t(number[n] - 1)] = &nodes[n];
    for (qint64 i = 0; i < kept; ++i)
        mine.AddUzel(qint32(options.First + i), ordered[size_t(i)]->X, ordered[size_t(i)]->Y, ordered[size_t(i)]->Z);
    int renamed = 0;
    for (qint32 layer : seamLayers) {
        auto *seam = new TLayer(&mine);
        seam->SetName(drawing.Layers[size_t(layer)].Name);
        seam->SetColor(drawing.Layers[size_t(layer)].Color);
        renamed += drawing.Layers[size_t(layer)].NameChanged ? 1 : 0;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        const TPiece &piece = pieces[i];
        TBranch *b = mine.AddBranch(qint32(options.First + qint64(i)), qint32(options.First - 1 + number[size_t(piece.Start)]),
                                    qint32(options.First - 1 + number[size_t(piece.End)]), QString(), kUnsetReal);
        b->SetLayerIndex(seamOf[size_t(piece.Layer)]);
        if (!names[i].isEmpty())
            b->SetName(names[i]);
    }
    mine.EndUpdate();
    mine.SetModified(true);

    report.Nodes = int(kept);
    report.Branches = int(pieces.size());
    report.Seams = int(seamLayers.size());
    report.Skipped = drawing.SkippedCount();
    QStringList kinds;
    for (const auto &[kind, count] : drawing.Skipped)
        kinds << QStringLiteral("%1 %2").arg(kind).arg(count);
    report.SkippedKinds = kinds.join(QStringLiteral(", "));

    if (drawing.Units == 0)
        report.Notes << QStringLiteral("единицы чертежа не указаны ($INSUNITS): приняты метры");
    else if (drawing.Units != 6)
        report.Notes << QStringLiteral("единицы чертежа — %1, переведены в метры").arg(DxfReader::UnitName(drawing.Units));
    if (!options.Layers && used.contains(StoppingsLayer()))
        report.Notes << QStringLiteral("слой \"%1\" не взят: на нём выгрузка в DXF рисует перемычки").arg(StoppingsLayer());
    if (renamed > 0)
        report.Notes << QStringLiteral("в названиях пластов знаки вне кодовой страницы Windows-1251 заменены на \"?\": %1").arg(renamed);
    if (shortOnes > 0)
        report.Notes << QStringLiteral("отрезков короче допуска %1 м пропущено: %2").arg(Metres(tolerance)).arg(shortOnes);
    if (repeated > 0)
        report.Notes << QStringLiteral("повторяющихся отрезков пропущено: %1").arg(repeated);
    if (drawing.Rounding > 0.001)
        report.Notes << QStringLiteral("координаты округлены до одинарной точности, точки сдвинуты до %1 м").arg(Metres(drawing.Rounding));
    if (options.NamesDistance > 0)
        report.Notes << QStringLiteral("ветвей названо по надписям: %1").arg(named);
    return report;
}

} // namespace DxfNetwork
