#include "schemes/IncidenceScheme.h"

#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/Unset.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace IncidenceScheme {
namespace {

constexpr TSchemeColor kBlack = SchemeRgb(0, 0, 0);
constexpr TSchemeColor kWhite = SchemeRgb(255, 255, 255);
constexpr TSchemeColor kRed = SchemeRgb(255, 0, 0);
constexpr TSchemeColor kBlue = SchemeRgb(0, 0, 255);
constexpr double kPi = std::numbers::pi;

// Radius of the outer discs, of the centre discs, and the gap between a disc and its label.
constexpr int kDisc = 2, kHubDisc = 3, kGap = 5;

QString NumberLabel(qint32 number)
{
    return IsUnset(number) ? QStringLiteral("???") : QString::number(number);
}

QPoint Out(QPoint from, double radius, double phi, bool mirrored)
{
    const int dx = TMine::Nearest(radius * std::cos(phi));
    const int dy = TMine::Nearest(radius * std::sin(phi));
    return QPoint(mirrored ? from.x() - dx : from.x() + dx, from.y() - dy);
}

void AddFan(const std::vector<TBranch *> &branches, qint32 hub, QPoint from, int r, bool right,
            std::vector<TSpoke> &spokes)
{
    if (branches.empty())
        return;
    const double step = kPi / double(branches.size());
    for (size_t i = 0; i < branches.size(); ++i) {
        const double phi = (step + kPi) / 2 + double(i) * step;
        spokes.push_back({branches[i], hub, from, Out(from, r, phi, right), Out(from, 0.7 * r, phi, right), right});
    }
}

bool Between(int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); }

bool OnSegment(QPoint a, QPoint b, QPoint at)
{
    const int x = at.x(), y = at.y();
    const int x1 = a.x(), y1 = a.y(), x2 = b.x(), y2 = b.y();
    if (x1 == x2)
        return std::abs(x - x1) < 2 && Between(y, y1, y2);
    if (y1 == y2)
        return std::abs(y - y1) < 2 && Between(x, x1, x2);
    if (!Between(x, x1, x2))
        return false;
    const double lineY = y1 + double(x - x1) * double(y2 - y1) / double(x2 - x1);
    return std::abs(qint64(TMine::Nearest(lineY)) - y) < 3;
}

void Disc(TSchemeCanvas &canvas, QPoint p, int radius)
{
    canvas.Ellipse({p.x() - radius, p.y() - radius, p.x() + radius, p.y() + radius});
}

} // namespace

qint32 TSpoke::FarNumber() const
{
    return Branch->StartNumber() == Hub ? Branch->EndNumber() : Branch->StartNumber();
}

TGeometry GeometryOf(int width, int height)
{
    TGeometry g;
    g.Inner = {10, 10, width - 10, height - 10};
    const int w = g.Inner.Width();
    g.C = QPoint((g.Inner.Left + g.Inner.Right) / 2, (g.Inner.Top + g.Inner.Bottom) / 2);
    g.P = QPoint(g.Inner.Left + w / 3, g.C.y());
    g.Q = QPoint(g.Inner.Right - w / 3, g.C.y());
    return g;
}

void BranchesAround(const TMine &mine, qint32 n, std::optional<qint32> excluded, std::vector<TBranch *> &out)
{
    out.clear();
    if (!mine.HasUzel(n))
        return;
    for (TBranch *b : mine.Branches().BranchesAt(n))
        if (!excluded || b->Number() != *excluded)
            out.push_back(b);
}

void Layout(const TMine &mine, TMode mode, qint32 number, int width, int height, TLayout &layout)
{
    layout.Shown = false;
    layout.Mode = mode;
    layout.Number = number;
    layout.Start = layout.End = kUnsetInt;
    layout.Geometry = GeometryOf(width, height);
    layout.Spokes.clear();
    const TGeometry &g = layout.Geometry;
    const int w = g.Inner.Width(), h = g.Inner.Height();
    // Kept from one layout to the next: a repaint allocates nothing once warm.
    static thread_local std::vector<TBranch *> around;

    if (mode == TMode::Uzel) {
        if (!mine.HasUzel(number))
            return;
        layout.Shown = true;
        layout.R = std::min(h / 2, w / 2);
        BranchesAround(mine, number, std::nullopt, around);
        const double step = around.empty() ? 0.0 : 2 * kPi / double(around.size());
        for (size_t i = 0; i < around.size(); ++i) {
            const double phi = double(i) * step;
            layout.Spokes.push_back({around[i], number, g.C, Out(g.C, layout.R, phi, false),
                                     Out(g.C, 0.7 * layout.R, phi, false), false});
        }
        return;
    }

    const TBranch *centre = mine.HasBranch(number) ? mine.Branches().Find(number) : nullptr;
    if (!centre)
        return;
    layout.Shown = true;
    layout.Start = centre->StartNumber();
    layout.End = centre->EndNumber();
    layout.R = std::min(h / 2, w / 3);
    BranchesAround(mine, layout.Start, number, around);
    AddFan(around, layout.Start, g.P, layout.R, false, layout.Spokes);
    BranchesAround(mine, layout.End, number, around);
    AddFan(around, layout.End, g.Q, layout.R, true, layout.Spokes);
}

int FontHeight(const TLook &look) { return std::max(1, int(std::lround(look.FontPoints * 96.0 / 72.0))); }

void Draw(const TLayout &layout, TSchemeCanvas &canvas, int width, int height, int labelMode, const TLook &look)
{
    canvas.SetBrush(look.Face);
    canvas.FillRect({0, 0, width, height});
    // A lowered frame: shadow at the top and left, light at the bottom and right.
    canvas.SetBrush(look.Shadow);
    canvas.FillRect({0, 0, width, 1});
    canvas.FillRect({0, 0, 1, height});
    canvas.SetBrush(look.Highlight);
    canvas.FillRect({0, height - 1, width, height});
    canvas.FillRect({width - 1, 0, width, height});
    if (!layout.Shown)
        return;

    canvas.SetFont(look.FontFamily, 1, look.FontPoints);
    const int fh = FontHeight(look);
    const TGeometry &g = layout.Geometry;
    const bool branchMode = layout.Mode == TMode::Branch;

    for (const TSpoke &s : layout.Spokes) {
        canvas.SetPen(kBlack, 1, TPenStyle::Solid);
        canvas.Line(s.From.x(), s.From.y(), s.End.x(), s.End.y());
        canvas.SetPen(kRed, 1, TPenStyle::Solid);
        canvas.SetBrush(kRed);
        Disc(canvas, s.End, kDisc);

        const QString text = NumberLabel(labelMode == 1 ? s.Branch->Number() : s.FarNumber());
        const int tw = canvas.TextWidth(text);
        int x, y;
        if (labelMode == 1) {
            x = s.Middle.x() - tw / 2;
            // The left fan's numbers stand one pixel lower than the others.
            y = s.Middle.y() - fh / 2 - (branchMode && !s.Right ? 0 : 1);
        } else {
            const bool leftOfDisc = branchMode ? !s.Right : s.End.x() < g.C.x();
            x = leftOfDisc ? s.End.x() - kGap - tw : s.End.x() + kGap;
            y = s.End.y() - fh / 2;
        }
        canvas.SetBrush(look.LabelBack);
        canvas.SetTextColor(kBlack);
        canvas.Text(x, y, text);
    }

    canvas.SetTextColor(kBlue);
    canvas.SetBrush(look.Face);
    canvas.SetPen(kRed, 1, TPenStyle::Solid);
    if (!branchMode) {
        canvas.Text(g.C.x() + 10, g.C.y() - fh / 2 - 1, NumberLabel(layout.Number));
        canvas.SetBrush(kRed);
        Disc(canvas, g.C, kHubDisc);
        return;
    }

    const int top = g.C.y() - fh - 5;
    const QString m = NumberLabel(layout.Number), s = NumberLabel(layout.Start), t = NumberLabel(layout.End);
    canvas.Text(g.C.x() - canvas.TextWidth(m), top, m);
    canvas.Text(g.P.x() + kGap, top, s);
    canvas.Text(g.Q.x() - kGap - canvas.TextWidth(t), top, t);

    // The centre branch: a white bar with a black outline, from (P.x, P.y - 2) to (Q.x, Q.y + 2).
    canvas.SetBrush(kBlack);
    canvas.FillRect({g.P.x(), g.P.y() - 2, g.Q.x(), g.Q.y() + 2});
    canvas.SetBrush(kWhite);
    canvas.FillRect({g.P.x() + 1, g.P.y() - 1, g.Q.x() - 1, g.Q.y() + 1});
    canvas.SetBrush(kRed);
    Disc(canvas, g.P, kHubDisc);
    Disc(canvas, g.Q, kHubDisc);
}

THit HitTest(const TLayout &layout, QPoint at)
{
    if (!layout.Shown)
        return {};
    for (const TSpoke &s : layout.Spokes) {
        const TSchemeRect disc{s.End.x() - kDisc, s.End.y() - kDisc, s.End.x() + kDisc, s.End.y() + kDisc};
        if (disc.Contains(at.x(), at.y()))
            return {THit::Uzel, s.Branch, s.FarNumber()};
        if (OnSegment(s.From, s.End, at))
            return {THit::Branch, s.Branch, 0};
    }
    return {};
}

} // namespace IncidenceScheme
