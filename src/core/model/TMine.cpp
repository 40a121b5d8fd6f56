#include "model/TMine.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TLayer.h"
#include "model/TPeopleInfo.h"
#include "model/TUzel.h"
#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// Sine and cosine of every whole degree from -360 to 360, in single precision: the view turns
// by whole degrees.
struct TrigTables {
    std::array<float, 721> sine{};
    std::array<float, 721> cosine{};
    TrigTables()
    {
        for (int d = -360; d <= 360; ++d) {
            const double rad = d * 3.14159265358979323846 / 180.0;
            sine[d + 360] = float(std::sin(rad));
            cosine[d + 360] = float(std::cos(rad));
        }
    }
};

const TrigTables &Trig()
{
    static const TrigTables tables;
    return tables;
}

// Whole degrees toward zero, folded into -360..360.
int TableDegree(float angle)
{
    if (!std::isfinite(angle))
        return 0;
    double d = std::trunc(double(angle));
    if (d > 360 || d < -360)
        d = std::fmod(d, 360.0);
    return int(d);
}

} // namespace

// Each mine counts its network's changes from a start of its own, 2^32 apart.
quint64 TMine::FirstNetworkStamp()
{
    static std::atomic<quint64> next{0};
    return (next += quint64(1) << 32);
}

TMine::TMine()
    : FGasBranches2(this, 2), FGasBranches1(this, 1), FJumpers(this, false), FUzels(this),
      FBranches(this), FLayers(this), FPLFs(this)
{
}

TMine::~TMine()
{
    FJournal.FStep.reset();
    if (IMineScheme *scheme = FScheme) {
        FScheme = nullptr;
        scheme->MineDestroyed(this);
    }
    OnModified = nullptr;
    FPLFs.Clear();
    FLayers.Clear();
    FBranches.Clear();
    FUzels.Clear();
}

void TMine::SetTitle(const QString &title)
{
    if (FJournal.Active())
        FJournal.Named(nullptr, TNamedField::MineTitle);
    FTitle = title;
    SetModified(true);
}

void TMine::SetTemperature(qint32 value)
{
    if (value != FTemperature && FJournal.Active())
        FJournal.Named(nullptr, TNamedField::MineTemperature);
    FTemperature = value;
}

void TMine::SetPressure(float value)
{
    if (value != FPressure && FJournal.Active())
        FJournal.Named(nullptr, TNamedField::MinePressure);
    FPressure = value;
}

void TMine::SetModified(bool value)
{
    FModified = value;
    if (OnModified)
        OnModified(this, value);
}

bool TMine::HasUzel(qint32 number) const
{
    return !IsUnset(number) && FUzels.Find(number) != nullptr;
}

bool TMine::HasBranch(qint32 number) const
{
    return !IsUnset(number) && FBranches.Find(number) != nullptr;
}

TUzel *TMine::AddUzel(qint32 number, float x, float y, float z)
{
    TUzel *n = FUzelStore.Create(this);
    n->FNumber = number;
    n->FX = x;
    n->FY = y;
    n->FZ = z;
    try {
        FUzels.Add(n);
    } catch (...) {
        // Out of memory: the node never joins the list and gives its slot back.
        FUzelStore.Destroy(n);
        throw;
    }
    if (FJournal.Active())
        FJournal.Added(n);
    return n;
}

TBranch *TMine::AddBranch(qint32 number, qint32 startNumber, qint32 endNumber,
                          const QString &comment, float section)
{
    TBranch *b = FBranchStore.Create(this);
    b->FNumber = number;
    b->FStartNumber = startNumber;
    b->FEndNumber = endNumber;
    try {
        b->FComment = comment;
        b->FSection = section;
        FBranches.Add(b);
    } catch (...) {
        FBranchStore.Destroy(b);
        throw;
    }
    if (FJournal.Active())
        FJournal.Added(b);
    return b;
}

int TMine::DeleteEmptyUzels()
{
    FUpdating = true;
    int doomed = 0;
    bool referenced = false;
    for (TUzel *n : FUzels) {
        if (n->IsEmpty()) {
            n->FDoomed = true;
            ++doomed;
            referenced = referenced || n->FIncidentRefs > 0;
        }
    }
    if (referenced) {
        // Branches that resolved to a node about to go forget it.
        for (TBranch *b : FBranches) {
            TUzel *s = b->FStartUzel, *e = b->FEndUzel;
            if ((s && s->FDoomed) || (e && e->FDoomed))
                b->LinkEnds(s && s->FDoomed ? nullptr : s, e && e->FDoomed ? nullptr : e);
        }
    }
    const int removed = doomed ? FUzels.RemoveDoomed() : 0;
    if (removed)
        InvalidateBounds();
    FUpdating = false;
    if (removed) {
        SetModified(true);
        RefreshScheme();
        CountsChanged();
    }
    return removed;
}

int TMine::DeleteEmptyBranches()
{
    FUpdating = true;
    int doomed = 0;
    for (TBranch *b : FBranches) {
        if (b->IsEmpty()) {
            b->FDoomed = true;
            ++doomed;
        }
    }
    const int removed = doomed ? FBranches.RemoveDoomed() : 0;
    FUpdating = false;
    if (removed) {
        SetModified(true);
        RefreshScheme();
        CountsChanged();
    }
    return removed;
}

void TMine::ResolveIncidence()
{
    for (TUzel *n : FUzels) {
        n->FBranchCount = 0;
        n->FIncidentRefs = 0;
    }
    // Through the number index: an array indexed by number when the numbers are dense, so
    // resolving every end does not hash.
    auto find = [this](qint32 number) { return IsUnset(number) ? nullptr : FUzels.Find(number); };
    // Every node's reference count is zero now, so each branch forgets its old ends without
    // counting them down, in the same pass that links the new ones.
    for (TBranch *b : FBranches) {
        b->FStartUzel = nullptr;
        b->FEndUzel = nullptr;
        TUzel *s = find(b->FStartNumber);
        TUzel *e = find(b->FEndNumber);
        b->LinkEnds(s, e);
        // Each resolved end counts, so that a node is not reported isolated because the other
        // end of its branch is missing.
        if (s)
            ++s->FBranchCount;
        if (e)
            ++e->FBranchCount;
        if (s && e)
            b->ClampZonesToLength(b->Length());
    }
}

void TMine::BeginUpdate() { FUpdating = true; }

void TMine::EndUpdate()
{
    if (FUpdating)
        FUpdating = false;
    RefreshScheme();
    CountsChanged();
}

void TMine::EndUpdateMoved()
{
    FUpdating = false;
    UpdateExtents(false);
    ProjectNodes();
    RefreshScheme();
    CountsChanged();
}

void TMine::CountsChanged()
{
    if (!FUpdating && OnCountsChanged)
        OnCountsChanged(this);
}

void TMine::RefreshScheme()
{
    if (FScheme)
        FScheme->Refresh();
}

// --- extents -------------------------------------------------------------------------------

void TMine::ExtendBounds(const TUzel *uzel)
{
    if (!FBoundsValid)
        return;
    for (int axis = 0; axis < 3; ++axis) {
        const float v = uzel->Coordinate(axis + 1);
        if (IsUnset(v) || std::isnan(v))
            continue;
        if (!FHasBound[axis]) {
            FHasBound[axis] = true;
            FMin[axis] = FMax[axis] = v;
        } else {
            FMin[axis] = std::min(FMin[axis], v);
            FMax[axis] = std::max(FMax[axis], v);
        }
    }
}

void TMine::NodeMoved(int axis, float oldValue, float newValue)
{
    if (!FBoundsValid || axis < 1 || axis > 3)
        return;
    const int a = axis - 1;
    if (!IsUnset(oldValue) && FHasBound[a] && (oldValue == FMin[a] || oldValue == FMax[a])) {
        FBoundsValid = false;
        return;
    }
    if (IsUnset(newValue) || std::isnan(newValue))
        return;
    if (!FHasBound[a]) {
        FHasBound[a] = true;
        FMin[a] = FMax[a] = newValue;
    } else {
        FMin[a] = std::min(FMin[a], newValue);
        FMax[a] = std::max(FMax[a], newValue);
    }
}

void TMine::NodeLeaving(const TUzel *uzel)
{
    if (!FBoundsValid)
        return;
    for (int a = 0; a < 3; ++a) {
        const float v = uzel->Coordinate(a + 1);
        if (!IsUnset(v) && FHasBound[a] && (v == FMin[a] || v == FMax[a])) {
            FBoundsValid = false;
            return;
        }
    }
}

void TMine::UpdateExtents(bool recenter)
{
    if (FUpdating)
        return;
    if (!FBoundsValid) {
        FHasBound[0] = FHasBound[1] = FHasBound[2] = false;
        FBoundsValid = true;
        for (TUzel *n : FUzels)
            ExtendBounds(n);
    }
    // The network's own box: a mine surveyed in national grid coordinates lies millions of
    // metres from the origin, which must not take part.
    float centre[3];
    for (int a = 0; a < 3; ++a)
        centre[a] = FHasBound[a] ? float((double(FMin[a]) + double(FMax[a])) / 2) : 0.0f;
    FCenterX = centre[0];
    FCenterY = centre[1];
    FCenterZ = centre[2];
    // Half sizes from the centre as stored (single precision rounds a far centre by up to a
    // quarter metre), so that every node lies within them. Rounding is monotone, so the
    // farthest node along an axis is at its minimum or maximum. Distances past the whole
    // numbers round to their ends, and the far negative end, which has no positive
    // counterpart, counts as the far positive one.
    auto magnitude = [](qint32 v) { return v == INT_MIN ? INT_MAX : std::abs(v); };
    qint32 extent[3];
    for (int a = 0; a < 3; ++a) {
        FHalfSize[a] = 0;
        qint32 e = 0;
        if (FHasBound[a]) {
            FHalfSize[a] = std::max(double(FMax[a]) - centre[a], centre[a] - double(FMin[a]));
            e = std::max(magnitude(Nearest(double(FMax[a]) - centre[a])),
                         magnitude(Nearest(double(FMin[a]) - centre[a])));
        }
        extent[a] = e == 0 ? 1 : e;
    }
    FExtentX = extent[0];
    FExtentY = extent[1];
    FExtentZ = extent[2];
    if (recenter && FScheme)
        FScheme->SetRotationCenter(FCenterX, FCenterY, FCenterZ);
}

void TMine::ViewExtents(double &u, double &v) const
{
    const TrigTables &t = Trig();
    const int a = TableDegree(FAngleX) + 360;
    const int g = TableDegree(FAngleZ) + 360;
    const double sa = t.sine[a], ca = t.cosine[a], sg = t.sine[g], cg = t.cosine[g];
    const double hx = FHalfSize[0], hy = FHalfSize[1], hz = FHalfSize[2];
    // The projection is linear: over the corners of the box its largest value is the sum of
    // the largest contributions of the three axes.
    u = hx * std::abs(cg) + hy * std::abs(sg);
    v = hx * std::abs(sa * sg) + hy * std::abs(sa * cg) + hz * std::abs(ca);
}

void TMine::CentreOnNetwork()
{
    UpdateExtents(true);
    FCenterRequest = true;
    FNetworkShown = true;
}

void TMine::ShowWholeMine()
{
    CentreOnNetwork();
    FScale = 1.0f;
    ProjectNodes();
    RefreshScheme();
}

// --- projection ----------------------------------------------------------------------------

namespace {

// The projection of the present view, worked out once for all the nodes: u and v of a node
// from its offset to the rotation centre.
struct TProjection {
    double CenterX, CenterY, CenterZ;
    double S, SA, CA, SG, CG;

    void Project(TUzel *n) const
    {
        const double dx = double(n->X()) - CenterX, dy = double(n->Y()) - CenterY, dz = double(n->Z()) - CenterZ;
        const double u = S * (dx * CG + dy * SG);
        const double v = S * (dx * SA * SG - dy * SA * CG + dz * CA);
        n->SetProjection(TMine::Nearest(u), TMine::Nearest(v));
    }
};

} // namespace

static TProjection ProjectionOf(const IMineScheme &scheme, float angleX, float angleZ, float scale)
{
    const TrigTables &t = Trig();
    const int a = TableDegree(angleX) + 360;
    const int g = TableDegree(angleZ) + 360;
    return {scheme.RotationCenterX(), scheme.RotationCenterY(), scheme.RotationCenterZ(), scale,
            t.sine[a], t.cosine[a], t.sine[g], t.cosine[g]};
}

void TMine::ProjectNode(TUzel *n)
{
    ProjectionOf(*FScheme, FAngleX, FAngleZ, FScale).Project(n);
}

void TMine::ProjectNodes()
{
    if (FUpdating || !FScheme)
        return;
    if (FCenterRequest) {
        FScheme->CenterScreenOrigin();
        FCenterRequest = false;
    }
    const TProjection p = ProjectionOf(*FScheme, FAngleX, FAngleZ, FScale);
    for (TUzel *n : FUzels)
        p.Project(n);
}

void TMine::NodeGeometryChanged(TUzel *uzel)
{
    if (FUpdating)
        return;
    UpdateExtents(false);
    // The other nodes keep their projection unless the view is to be re-centred.
    if (FScheme) {
        if (FCenterRequest)
            ProjectNodes();
        else
            ProjectNode(uzel);
    }
    RefreshScheme();
}

// --- state ---------------------------------------------------------------------------------

void TMine::SetTopologyValid(bool value)
{
    FTopologyValid = value;
    if (value) {
        UpdateExtents(false);
        ProjectNodes();
        ResolveIncidence();
        if (!FCellsReady)
            RecountCells();
    }
    RefreshScheme();
}

void TMine::SetCellLength(float value)
{
    FCellsReady = FTopologyValid && value != FCellLength;
    if (value != FCellLength && FJournal.Active())
        FJournal.Named(nullptr, TNamedField::MineCellLength);
    FCellLength = value;
    RecountCells();
    // The cell length is a document setting: the change is kept, without a status refresh.
    FModified = true;
}

void TMine::RecountCells()
{
    if (!FTopologyValid) {
        FCellsReady = false;
        return;
    }
    if (FCellLength == 0) {
        for (TBranch *b : FBranches)
            b->SetCellCount(0);
        FCellsReady = false;
        return;
    }
    for (TBranch *b : FBranches) {
        const float effective = b->EffectiveLength();
        qint32 count = 0;
        if (!IsUnset(effective)) {
            const double cells = std::trunc(double(effective) / double(FCellLength));
            if (cells > 0)
                count = cells >= double(INT_MAX) ? INT_MAX : qint32(cells);
        }
        b->SetCellCount(count);
    }
    FCellsReady = true;
}

// --- view ----------------------------------------------------------------------------------

void TMine::SetScale(float value)
{
    FScale = value;
    ProjectNodes();
    RefreshScheme();
}

void TMine::SetAngles(float angleX, float angleZ)
{
    FAngleX = angleX;
    FAngleZ = angleZ;
    ProjectNodes();
    RefreshScheme();
}

void TMine::SetShowUzels(quint8 value)
{
    FShowUzels = value;
    RefreshScheme();
}

void TMine::SetTextInfo(quint8 value)
{
    FTextInfo = value;
    RefreshScheme();
}

void TMine::SetColorFlags(quint16 value)
{
    FColorFlags = value;
    RefreshScheme();
}

// --- selection -----------------------------------------------------------------------------

void TMine::SelectUzel(TUzel *uzel)
{
    if (!uzel)
        return;
    if (FScheme)
        FScheme->SetFocusPoint(uzel->FX, uzel->FY, uzel->FZ);
    if (FCurUzel == uzel && FSelKind == 0)
        return;
    FCurUzel = uzel;
    FSelKind = 0;
    if (FScheme && FScheme->HasSelectUzelHandler())
        FScheme->SelectUzelEvent(this, FUzels.ItemPosition(uzel), uzel);
    FCenterRequest = true;
    RefreshScheme();
}

void TMine::SelectBranch(TBranch *branch)
{
    if (!branch)
        return;
    TUzel *s = branch->FStartUzel, *e = branch->FEndUzel;
    if (FTopologyValid && FScheme && s && e)
        FScheme->SetFocusPoint(float((double(s->FX) + e->FX) / 2),
                               float((double(s->FY) + e->FY) / 2),
                               float((double(s->FZ) + e->FZ) / 2));
    if (FCurBranch == branch && FSelKind == 1)
        return;
    FCurBranch = branch;
    FSelKind = 1;
    if (FScheme && FScheme->HasSelectBranchHandler())
        FScheme->SelectBranchEvent(this, FBranches.ItemPosition(branch), branch);
    FCenterRequest = true;
    RefreshScheme();
}

void TMine::SelectJumper(TJumper *jumper)
{
    if (!jumper)
        return;
    const TBranch *b = jumper->Branch();
    TUzel *s = b->FStartUzel, *e = b->FEndUzel;
    if (FScheme && s && e) {
        const double t = jumper->Position();
        FScheme->SetFocusPoint(float(s->FX + (double(e->FX) - s->FX) * t),
                               float(s->FY + (double(e->FY) - s->FY) * t),
                               float(s->FZ + (double(e->FZ) - s->FZ) * t));
    }
    if (FCurJumper == jumper && FSelKind == 2)
        return;
    FCurJumper = jumper;
    FSelKind = 2;
    if (FScheme && FScheme->HasSelectJumperHandler())
        FScheme->SelectJumperEvent(this, jumper);
    FCenterRequest = true;
    RefreshScheme();
}
