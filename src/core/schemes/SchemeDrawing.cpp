#include "schemes/SchemeDrawing.h"

#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "schemes/TSchemeScene.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace SchemeColors {

TSchemeColor GasColor(int gasKind)
{
    static constexpr TSchemeColor kLevels[] = {kGasLevel0, kGasLevel1, kGasLevel2, kGasLevel3};
    return gasKind >= 1 && gasKind <= 3 ? kLevels[gasKind] : kGasLevel0;
}

} // namespace SchemeColors

namespace SchemeDrawing {
namespace {

using namespace SchemeColors;
using namespace SchemeFlags;

// A seam or plan position as the picture needs it.
struct TGroupLook {
    bool Visible = true;
    TSchemeColor Color = kNetwork;
};

// Buffers kept from one redraw to the next, so that a redraw allocates nothing once warm.
struct TScratch {
    std::vector<QLine> Lines;
    std::vector<QPoint> Points;   // every node's place on the screen, in list order
    std::vector<TGroupLook> Layers;
    std::vector<TGroupLook> PLFs;
};

TScratch &Scratch()
{
    static thread_local TScratch scratch;
    return scratch;
}

template <class List>
void LookOf(const List &list, std::vector<TGroupLook> &looks)
{
    looks.clear();
    for (const TLayer *l : list)
        looks.push_back({l->Visible(), l->Color() & 0xFFFFFF});
}

// The seam (plan position) a branch refers to, or none; an index that names nothing counts as
// none rather than reading past the list.
const TGroupLook *Look(const std::vector<TGroupLook> &looks, qint32 index)
{
    return index >= 0 && size_t(index) < looks.size() ? &looks[size_t(index)] : nullptr;
}

// A number as text without touching the heap.
class TNumberText {
public:
    explicit TNumberText(qint32 value)
    {
        char16_t digits[12];
        int n = 0;
        qint64 v = value;
        const bool negative = v < 0;
        if (negative)
            v = -v;
        do {
            digits[n++] = char16_t(u'0' + v % 10);
            v /= 10;
        } while (v > 0);
        if (negative)
            FText[FLength++] = u'-';
        while (n > 0)
            FText[FLength++] = digits[--n];
    }
    QStringView View() const { return QStringView(FText, FLength); }

private:
    char16_t FText[12];
    qsizetype FLength = 0;
};

// What the drawing asked for against what the canvas holds: pens and brushes are handed to the
// canvas only when something is drawn with them, and consecutive segments of one pen go to the
// canvas in one call. Anything else drawn first sends the waiting segments, so the canvas sees
// everything in the order the picture was composed.
class TPictureState {
public:
    TPictureState(TSchemeCanvas &canvas, std::vector<QLine> &batch, const TSchemeRect &clip)
        : FCanvas(canvas), FBatch(batch), FClip(clip)
    {
        FBatch.clear();
    }

    const TSchemeRect &Clip() const { return FClip; }

    void Pen(TSchemeColor color, int width)
    {
        FPen = color;
        FWidth = width;
    }
    void Brush(TSchemeColor color) { FBrush = color; }

    void Segment(QPoint a, QPoint b)
    {
        // Whatever lies wholly outside the rectangle would be clipped away anyway.
        const int reach = FWidth;
        if (std::max(a.x(), b.x()) + reach < FClip.Left || std::min(a.x(), b.x()) - reach >= FClip.Right
            || std::max(a.y(), b.y()) + reach < FClip.Top || std::min(a.y(), b.y()) - reach >= FClip.Bottom)
            return;
        ApplyPen();
        FBatch.emplace_back(a, b);
        if (FBatch.size() >= kBatchLimit)
            Flush();
    }

    void Disc(QPoint p, int radius)
    {
        const TSchemeRect box{p.x() - radius, p.y() - radius, p.x() + radius, p.y() + radius};
        if (box.Right <= FClip.Left || box.Left >= FClip.Right || box.Bottom <= FClip.Top
            || box.Top >= FClip.Bottom)
            return;
        ApplyPen();
        ApplyBrush();
        Flush();
        FCanvas.Ellipse(box);
    }

    // A label whose cell (width w, height h) at (x, y) touches the rectangle.
    bool Shows(int x, int y, int w, int h) const
    {
        return x < FClip.Right && y < FClip.Bottom && x + w > FClip.Left && y + h > FClip.Top;
    }

    void Label(int x, int y, QStringView text, TSchemeColor color)
    {
        ApplyBrush();
        if (!FTextSet || FTextColor != color) {
            FCanvas.SetTextColor(color);
            FTextColor = color;
            FTextSet = true;
        }
        Flush();
        FCanvas.Text(x, y, text);
    }

    void Flush()
    {
        if (!FBatch.empty())
            FCanvas.Lines(FBatch.data(), int(FBatch.size()));
        FBatch.clear();
    }

    void BrushIsOnCanvas(TSchemeColor color)
    {
        FBrush = FCanvasBrush = color;
        FBrushSet = true;
    }

private:
    static constexpr size_t kBatchLimit = 8192;

    void ApplyPen()
    {
        if (FPenSet && FCanvasPen == FPen && FCanvasWidth == FWidth)
            return;
        Flush();
        FCanvas.SetPen(FPen, FWidth, TPenStyle::InsideFrame);
        FCanvasPen = FPen;
        FCanvasWidth = FWidth;
        FPenSet = true;
    }
    void ApplyBrush()
    {
        if (FBrushSet && FCanvasBrush == FBrush)
            return;
        FCanvas.SetBrush(FBrush);
        FCanvasBrush = FBrush;
        FBrushSet = true;
    }

    TSchemeCanvas &FCanvas;
    std::vector<QLine> &FBatch;
    TSchemeRect FClip;
    TSchemeColor FPen = kNetwork, FCanvasPen = 0;
    int FWidth = 1, FCanvasWidth = 0;
    bool FPenSet = false;
    TSchemeColor FBrush = kBackground, FCanvasBrush = 0;
    bool FBrushSet = false;
    TSchemeColor FTextColor = 0;
    bool FTextSet = false;
};

// Visits the branches in list order, asking the memory early for the branch a few steps ahead
// and then for its two nodes: branches and nodes are separate heap objects, and a pass over a
// large mine would otherwise wait for each of them in turn. Stops when visit returns false.
template <typename Visit>
void ForEachBranch(const TBranchList &branches, Visit visit)
{
    constexpr ptrdiff_t kBranchAhead = 16, kNodesAhead = 8;
    TBranch *const *const last = branches.end();
    for (TBranch *const *it = branches.begin(); it != last; ++it) {
        if (last - it > kBranchAhead)
            __builtin_prefetch(*(it + kBranchAhead));
        if (last - it > kNodesAhead) {
            const TBranch *ahead = *(it + kNodesAhead);
            __builtin_prefetch(ahead->StartUzel());
            __builtin_prefetch(ahead->EndUzel());
        }
        if (!visit(*it))
            return;
    }
}

TSchemeRect Normalized(const TSchemeRect &r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

// Screen coordinates stay within 2^28 pixels of zero: far beyond any picture, and the difference
// of two of them still fits an int. Only a node projected absurdly far (a coordinate of 1e30 m
// seen edge-on) comes near the limit; its branch then points the same way off the picture.
constexpr qint64 kFarthest = qint64(1) << 28;

[[gnu::always_inline]] inline int ScreenCoordinate(int origin, double offset)
{
    return int(std::clamp<qint64>(qint64(origin) + TMine::Nearest(offset), -kFarthest, kFarthest));
}

QPoint PointAt(QPoint a, QPoint b, double t)
{
    return QPoint(TMine::Nearest(a.x() + t * (b.x() - a.x())), TMine::Nearest(a.y() + t * (b.y() - a.y())));
}

} // namespace

float FitFactor(const TMine &mine, const TSchemeRect &rect)
{
    const double w = std::abs(rect.Width());
    const double h = std::abs(rect.Height());
    double u = 0, v = 0;
    mine.ViewExtents(u, v);
    // A node's projection is rounded to whole (zoomed) metres, and rounding never carries a
    // value past the next whole number: fitting the whole numbers keeps every node inside.
    auto whole = [](double e) { return std::max(1.0, std::ceil(e - 1e-6)); };
    return float(std::min(std::abs(w / 2 - 5) / whole(u), std::abs(h / 2 - 5) / whole(v)));
}

void DrawScheme(TMine &mine, TSchemeCanvas &canvas, const TSchemeRect &rect, QPoint origin, bool selection,
                TSchemeScene *scene)
{
    if (!mine.TopologyValid() || mine.Branches().Count() == 0)
        return;
    TSchemeScene own;
    TSchemeScene &sc = scene ? *scene : own;
    sc.Update(mine);

    const quint16 flags = mine.ColorFlags();
    const bool gas1 = flags & kGas1, gas2 = flags & kGas2;
    const bool layerColors = flags & kLayerColors, plfColors = flags & kPLFColors;
    // Without selection no kind matches.
    const quint8 selKind = selection ? mine.SelKind() : quint8(0xFF);
    const TBranch *curBranch = mine.CurBranch();
    const TUzel *curUzel = mine.CurUzel();
    const TJumper *curJumper = mine.CurJumper();
    const bool showUzels = mine.ShowUzels() != 0;
    const int textInfo = mine.TextInfo();
    // The scene holds the branches in list order, so the current branch is found by position.
    const qint64 selected = selKind == 1 && curBranch ? curBranch->ListPos() : -1;
    // Discs, the current node's mark and labels need the nodes themselves.
    const bool decorated = showUzels || textInfo == 1 || textInfo == 2 || (selKind == 0 && curUzel);
    // A node's disc and label are drawn once: the flags matter only when there are either.
    const bool marksNodes = showUzels || textInfo == 2;
    if (marksNodes)
        for (TUzel *n : mine.Uzels())
            n->SetDrawn(false);

    const float fit = FitFactor(mine, rect);
    mine.SetFitFactor(fit);
    const double f = fit;
    const int ox = origin.x(), oy = origin.y();

    canvas.SetBrush(kBackground);
    canvas.FillRect({rect.Left - 1, rect.Top - 1, rect.Right + 1, rect.Bottom + 1});
    const TClipScope clip(canvas, rect);
    canvas.SetFont(QStringLiteral("Arial"), 204, 8);

    TScratch &scratch = Scratch();
    LookOf(mine.Layers(), scratch.Layers);
    LookOf(mine.PLFs(), scratch.PLFs);
    // Every node placed once: most nodes end several branches.
    const TUzelList &uzels = mine.Uzels();
    TUzel *const *nodes = uzels.begin();
    const size_t nodeCount = size_t(uzels.Count());
    std::vector<QPoint> &points = scratch.Points;
    points.resize(nodeCount);
    for (size_t k = 0; k < nodeCount; ++k) {
        const TUzel *n = nodes[k];
        points[k] = QPoint(ScreenCoordinate(ox, n->ProjX() * f), ScreenCoordinate(oy, -(n->ProjY() * f)));
    }
    TPictureState st(canvas, scratch.Lines, Normalized(rect));
    st.BrushIsOnCanvas(kBackground);
    const int textHeight = textInfo == 1 || textInfo == 2 ? canvas.TextHeight(u"0") : 0;

    const std::vector<TSchemeScene::TEdge> &edges = sc.Edges();
    const std::vector<quint32> &specials = sc.Specials();
    size_t nextSpecial = 0;
    const size_t count = edges.size();
    for (size_t i = 0; i < count; ++i) {
        const bool special = nextSpecial < specials.size() && specials[nextSpecial] == i;
        if (special)
            ++nextSpecial;
        const TSchemeScene::TEdge &edge = edges[i];
        // Unresolved ends are -1, which no unsigned position matches.
        if (size_t(quint32(edge.Start)) >= nodeCount || size_t(quint32(edge.End)) >= nodeCount)
            continue;
        const TGroupLook *layer = Look(scratch.Layers, edge.Layer);
        const TGroupLook *plf = Look(scratch.PLFs, edge.PLF);
        if ((layer && !layer->Visible) || (plf && !plf->Visible))
            continue;
        TSchemeColor color = kNetwork;
        if (layerColors && layer)
            color = layer->Color;
        else if (plfColors && plf)
            color = plf->Color;
        TSchemeColor labelColor = kNetwork;
        if (qint64(i) == selected) {
            labelColor = color;
            color = kSelection;
        }
        const QPoint p1 = points[size_t(edge.Start)], p2 = points[size_t(edge.End)];
        st.Pen(color, 1);
        st.Segment(p1, p2);

        if (special) {
            const TBranch *b = sc.Branch(i);
            st.Brush(kBackground);
            const bool zone1 = gas1 && b->Gas1();
            if (zone1 || (gas2 && b->Gas2())) {
                const float length = b->Length();
                // A branch of no length has its zone in its one point.
                const double scale = length > 0 ? 1.0 / length : 0.0;
                const float from = zone1 ? b->Gas1From() : b->Gas2From();
                const float to = zone1 ? b->Gas1To() : b->Gas2To();
                st.Pen(GasColor(zone1 ? b->Gas1Kind() : b->Gas2Kind()), 2);
                st.Segment(PointAt(p1, p2, from * scale), PointAt(p1, p2, to * scale));
            }

            const TJumperList &jumpers = b->Jumpers();
            if (jumpers.Count() > 0) {
                const int dx = p2.x() - p1.x(), dy = p2.y() - p1.y();
                double length = std::sqrt(double(dx) * dx + double(dy) * dy);
                if (length == 0)
                    length = 4;
                const double nx = 4.0 * dy / length, ny = -4.0 * dx / length;
                for (const TJumper *j : jumpers) {
                    TSchemeColor jc = color;
                    if (selKind == 2 && j == curJumper)
                        jc = kSelection;
                    else if (gas1)
                        jc = j->NormalHit() ? kMarkedStopping : color;
                    else if (gas2)
                        jc = j->RouteHit() ? kMarkedStopping : color;
                    const double back = 1.0 - j->Position();
                    const double cx = p2.x() - back * dx, cy = p2.y() - back * dy;
                    st.Pen(jc, 1);
                    st.Segment(QPoint(TMine::Nearest(cx + nx), TMine::Nearest(cy + ny)),
                               QPoint(TMine::Nearest(cx - nx), TMine::Nearest(cy - ny)));
                }
            }
        }

        if (!decorated)
            continue;
        TUzel *s = nodes[edge.Start], *e = nodes[edge.End];
        if (showUzels) {
            st.Pen(kNetwork, 1);
            st.Brush(kNetwork);
            for (TUzel *n : {s, e}) {
                if (n->Drawn())
                    continue;
                st.Disc(n == s ? p1 : p2, 2);
                if (textInfo != 2)
                    n->SetDrawn(true);
            }
        }
        if (selKind == 0 && (s == curUzel || e == curUzel)) {
            st.Pen(kNetwork, 1);
            st.Brush(kSelection);
            if (s == curUzel)
                st.Disc(p1, 3);
            if (e == curUzel)
                st.Disc(p2, 3);
        }
        if (textInfo == 1) {
            st.Brush(kBackground);
            const TNumberText text(sc.Branch(i)->Number());
            const int mx = (p1.x() + p2.x()) / 2, my = (p1.y() + p2.y()) / 2;
            const int w = canvas.TextWidth(text.View());
            const int x = mx - w / 2, y = my - textHeight / 2;
            if (st.Shows(x, y, w, textHeight))
                st.Label(x, y, text.View(), labelColor);
        } else if (textInfo == 2) {
            st.Brush(kBackground);
            for (TUzel *n : {s, e}) {
                if (n->Drawn())
                    continue;
                const QPoint p = n == s ? p1 : p2;
                const int x = p.x() + 3, y = p.y() + 3;
                const TNumberText text(n->Number());
                // The width matters only for a label that starts left of the rectangle.
                const int w = x >= st.Clip().Left ? 1 : canvas.TextWidth(text.View());
                if (st.Shows(x, y, w, textHeight))
                    st.Label(x, y, text.View(), n == curUzel && selKind == 0 ? kSelection : kNetwork);
                n->SetDrawn(true);
            }
        }
    }
    st.Flush();
}

TUzel *HitNode(const TMine &mine, QPoint origin, QPoint at)
{
    if (!mine.Scheme())
        return nullptr;
    const double f = mine.FitFactor();
    const int a = at.x(), b = at.y();
    const TUzelList &uzels = mine.Uzels();
    constexpr ptrdiff_t kAhead = 8;
    for (TUzel *const *it = uzels.end(); it != uzels.begin();) {
        TUzel *n = *--it;
        if (it - uzels.begin() >= kAhead)
            __builtin_prefetch(*(it - kAhead));
        const int x = ScreenCoordinate(origin.x(), n->ProjX() * f);
        const int y = ScreenCoordinate(origin.y(), -(n->ProjY() * f));
        if (a >= x - 3 && a < x + 3 && b >= y - 3 && b < y + 3)
            return n;
    }
    return nullptr;
}

TBranch *HitBranch(const TMine &mine, QPoint origin, QPoint at)
{
    if (!mine.Scheme())
        return nullptr;
    const double f = mine.FitFactor();
    const double a = at.x(), b = at.y();
    const double steep = 3.0 * mine.Scale();
    std::vector<TGroupLook> &layers = Scratch().Layers;
    LookOf(mine.Layers(), layers);
    TBranch *hit = nullptr;
    ForEachBranch(mine.Branches(), [&](TBranch *br) {
        const TUzel *s = br->StartUzel(), *e = br->EndUzel();
        if (!s || !e)
            return true;
        if (const TGroupLook *layer = Look(layers, br->LayerIndex()); layer && !layer->Visible)
            return true;
        const double x1 = origin.x() + f * s->ProjX(), y1 = origin.y() - f * s->ProjY();
        const double x2 = origin.x() + f * e->ProjX(), y2 = origin.y() - f * e->ProjY();
        const double minX = std::min(x1, x2), maxX = std::max(x1, x2);
        const double minY = std::min(y1, y2), maxY = std::max(y1, y2);
        if (x1 == x2) {
            if (std::abs(x1 - a) <= 3 && b >= minY && b <= maxY)
                hit = br;
        } else if (y1 == y2) {
            if (std::abs(y1 - b) <= 3 && a >= minX && a <= maxX)
                hit = br;
        } else if (a >= minX && a <= maxX && b >= minY && b <= maxY) {
            if (maxX - minX <= steep || std::abs(y1 + (a - x1) * (y2 - y1) / (x2 - x1) - b) <= 3)
                hit = br;
        }
        return hit == nullptr;
    });
    return hit;
}

} // namespace SchemeDrawing
