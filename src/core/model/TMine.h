#pragma once
// TMine: the in-memory mine document: nodes, branches, stoppings, people, seams and plan
// positions, the view state of the 3D scheme and the selection shared by tables and schemes.
//
// Who owns what
//  - The document window owns one TMine. The mine owns Layers, PLFs, Uzels and Branches; the
//    node and branch lists own their elements; a branch owns its Jumpers and People. The mine's
//    Jumpers (all stoppings) and GasBranches1/2 own nothing. Nodes and branches live in the
//    mine's element stores (model/ElementStore.h): only AddUzel and AddBranch make them, and
//    only their lists destroy them.
//  - The 3D scheme is an IMineScheme (GUI side) the mine only points to (Scheme()); it attaches
//    itself with SetScheme.
//
// Conventions every caller relies on
//  - Fields are private (F<Field>) and read through const getters named like the field:
//    mine->Title(), node->Number(), branch->StartNumber(), jumper->Position().
//  - Every change goes through a setter of its element. A setter marks the document modified
//    (TMine::SetModified(true), which always calls OnModified) only when the value really
//    changes (reals compare exactly); the exceptions say so next to their declaration.
//    Deleting an element never marks Modified; DeleteEmptyUzels/DeleteEmptyBranches do when they
//    removed something.
//  - The unset marker is kUnsetInt / kUnsetReal (model/Unset.h): -777777.
//  - Node and branch lists are 1-based in Items(i) (their Delete(i) is 0-based); stopping,
//    people, seam and plan-position lists are 0-based; seams and plan positions are referred to
//    by 0-based index, -1 for none.
//  - Lookups by number (HasUzel, HasBranch, PositionOf, Find, Get) return the first element in
//    list order with that number, through an index (constant time).
//  - StartUzel/EndUzel and BranchCount are valid after ResolveIncidence until a number changes.
//  - Errors are AppError with the text the user sees.
#include "model/ElementStore.h"
#include "model/TChangeJournal.h"
#include "model/IMineScheme.h"
#include "model/TBranchList.h"
#include "model/TInfoBranchList.h"
#include "model/TJumperList.h"
#include "model/TLayerList.h"
#include "model/TPLFList.h"
#include "model/TUzelList.h"
#include "model/Unset.h"
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

class TUzel;
class TBranch;
class TJumper;
class TPeopleInfo;

class TMine {
public:
    TMine();
    // Frees plan positions, seams, branches, nodes, then the all-stoppings and gas lists; tells
    // an attached scheme.
    ~TMine();
    TMine(const TMine &) = delete;
    TMine &operator=(const TMine &) = delete;

    // Called every time SetModified runs (also when the value did not change), with the mine and
    // the new value.
    std::function<void(TMine *, bool)> OnModified;
    // Called after nodes or branches were added or removed, whether or not that marked the
    // document modified, so that whatever shows the counts follows. Within a bulk update only
    // once, at its end.
    std::function<void(TMine *)> OnCountsChanged;

    // --- fields ---
    IMineScheme *Scheme() const { return FScheme; }
    bool Updating() const { return FUpdating; }
    const QString &Title() const { return FTitle; }
    float Scale() const { return FScale; }
    float AngleX() const { return FAngleX; }
    float AngleY() const { return FAngleY; }
    float AngleZ() const { return FAngleZ; }
    quint8 SelKind() const { return FSelKind; }   // 0 node, 1 branch, 2 stopping
    TBranch *CurBranch() const { return FCurBranch; }
    TUzel *CurUzel() const { return FCurUzel; }
    TJumper *CurJumper() const { return FCurJumper; }
    TPeopleInfo *CurPeople() const { return FCurPeople; }
    // Half sizes of the nodes' box about its centre, whole metres, at least 1.
    qint32 ExtentX() const { return FExtentX; }
    qint32 ExtentY() const { return FExtentY; }
    qint32 ExtentZ() const { return FExtentZ; }
    float CenterX() const { return FCenterX; }
    float CenterY() const { return FCenterY; }
    float CenterZ() const { return FCenterZ; }
    float FitFactor() const { return FFitFactor; }
    bool Modified() const { return FModified; }
    TLayerList &Layers() { return FLayers; }
    const TLayerList &Layers() const { return FLayers; }
    TPLFList &PLFs() { return FPLFs; }
    const TPLFList &PLFs() const { return FPLFs; }
    TUzelList &Uzels() { return FUzels; }
    const TUzelList &Uzels() const { return FUzels; }
    TBranchList &Branches() { return FBranches; }
    const TBranchList &Branches() const { return FBranches; }
    TJumperList &Jumpers() { return FJumpers; }
    const TJumperList &Jumpers() const { return FJumpers; }
    TInfoBranchList &GasBranches1() { return FGasBranches1; }
    const TInfoBranchList &GasBranches1() const { return FGasBranches1; }
    TInfoBranchList &GasBranches2() { return FGasBranches2; }
    const TInfoBranchList &GasBranches2() const { return FGasBranches2; }
    // zone 1 or 2
    TInfoBranchList &GasBranches(int zone) { return zone == 1 ? FGasBranches1 : FGasBranches2; }
    bool CellsReady() const { return FCellsReady; }
    bool TopologyValid() const { return FTopologyValid; }
    bool CenterRequest() const { return FCenterRequest; }
    quint8 ShowUzels() const { return FShowUzels; }
    quint16 ColorFlags() const { return FColorFlags; }
    quint8 TextInfo() const { return FTextInfo; }   // 0 none, 1 branch numbers, 2 node numbers
    qint32 Temperature() const { return FTemperature; }
    float Pressure() const { return FPressure; }   // technical atmospheres
    float CellLength() const { return FCellLength; }

    // --- document ---
    void SetTitle(const QString &title);   // always marks Modified
    // Stores the flag and always calls OnModified.
    void SetModified(bool value);
    // Document settings written by the properties dialog and the file reader; no Modified
    // (the dialog marks the document itself).
    void SetTemperature(qint32 value);
    void SetPressure(float value);

    // What user actions changed (model/TChangeJournal.h); off until the document window
    // switches it on.
    TChangeJournal &Journal() { return FJournal; }

    // --- lookups ---
    bool HasUzel(qint32 number) const;     // false for the unset number
    bool HasBranch(qint32 number) const;   // false for the unset number

    // --- building ---
    // Creates a node and appends it (TUzelList::Add). Does not mark Modified.
    TUzel *AddUzel(qint32 number, float x, float y, float z);
    // Creates a branch with every other field at its default and appends it. No Modified.
    TBranch *AddBranch(qint32 number, qint32 startNumber, qint32 endNumber,
                       const QString &comment, float section);
    // Remove every empty node (branch); Modified := Modified or something removed. Return the
    // count. Both leave Updating cleared.
    int DeleteEmptyUzels();
    int DeleteEmptyBranches();
    // Resolves StartUzel/EndUzel of every branch to the first node carrying the number and
    // recounts BranchCount; clamps the gas and result zones to the computed lengths.
    void ResolveIncidence();
    void BeginUpdate();
    // Clears Updating (if set), refreshes the scheme and reports the counts.
    void EndUpdate();
    // Ends a bulk update in which nodes moved: clears Updating, brings the extents and the
    // projection of every node up to date, then refreshes the scheme and reports the counts.
    void EndUpdateMoved();

    // --- geometry of the 3D view ---
    // Centre and extents of the nodes' own box (from the smallest to the largest coordinate of
    // each axis); with recenter and a scheme, the scheme's rotation centre moves to the centre.
    // Skipped while Updating. Unset coordinates do not count.
    void UpdateExtents(bool recenter);
    // Half width u and half height v, in metres, of the box of the last UpdateExtents as the
    // current angles project it about its centre (zoom 1): what the picture must hold to show
    // the whole network.
    void ViewExtents(double &u, double &v) const;
    // The next projection shows the network about its own centre: the rotation centre moves to
    // the middle of the box and the screen origin to the middle of the drawing rectangle. The
    // zoom stays.
    void CentreOnNetwork();
    // "Вся шахта": CentreOnNetwork at zoom 1, projected and drawn.
    void ShowWholeMine();
    // The scheme has centred this mine on its network once (its first picture shows all of it).
    bool NetworkShown() const { return FNetworkShown; }
    // Changes whenever what the scheme draws of a branch may have changed other than through
    // its nodes' coordinates: a branch or node made, destroyed or moved in its list, a branch's
    // resolved ends, seam, plan position, gassed zones or stoppings. Never the same value in two
    // mines, so a picture's cache of the network knows whether it still holds.
    quint64 NetworkStamp() const { return FNetworkStamp; }
    // ProjX/ProjY of every node from the scheme's rotation centre, AngleX, AngleZ and Scale.
    // Skipped while Updating or without a scheme.
    void ProjectNodes();
    // Rounding of the projection and the drawing: to nearest, halves to even; NaN gives 0 and
    // values past the ends of qint32 its ends. Inline: a picture rounds millions of values.
    static qint32 Nearest(double v)
    {
        if (!(v > -2147483648.0 && v < 2147483647.0))
            return v != v ? 0 : v > 0 ? 2147483647 : qint32(-2147483647 - 1);
        // Adding and taking away 1.5 * 2^52 leaves a whole number rounded the processor's way,
        // to nearest with halves to even, as nearbyint does, without a call into the library.
        return qint32((v + 0x1.8p52) - 0x1.8p52);
    }

    // --- state ---
    // With true: extents, projection, incidence and (unless current) the cell counts; then the
    // scheme is refreshed. Does not mark Modified.
    void SetTopologyValid(bool value);
    // Stores the cell length and recounts the cells; sets Modified to true without calling
    // OnModified.
    void SetCellLength(float value);
    // Per-branch cell counts from EffectiveLength / CellLength.
    void RecountCells();

    // --- view state (never stored; no Modified) ---
    void SetScheme(IMineScheme *scheme) { FScheme = scheme; }
    void SetScale(float value);                       // re-projects and refreshes
    void SetAngles(float angleX, float angleZ);       // re-projects and refreshes
    void SetShowUzels(quint8 value);                  // refreshes
    void SetTextInfo(quint8 value);                   // refreshes
    void SetColorFlags(quint16 value);                // refreshes
    void SetFitFactor(float value) { FFitFactor = value; }
    void SetCenterRequest(bool value) { FCenterRequest = value; }

    // --- selection (shared by the tables and the schemes) ---
    void SelectUzel(TUzel *uzel);
    void SelectBranch(TBranch *branch);
    void SelectJumper(TJumper *jumper);
    void SelectPeople(TPeopleInfo *people) { FCurPeople = people; }

    // Refresh the attached scheme, if any.
    void RefreshScheme();

private:
    friend class TUzel;
    friend class TBranch;
    friend class TUzelList;
    friend class TBranchList;
    friend class TLayerList;
    friend class TJumper;
    friend class TPeopleInfo;
    friend class TChangeStep;
    friend class TChangeJournal;

    // OnCountsChanged, unless Updating.
    void CountsChanged();
    void NetworkChanged() { ++FNetworkStamp; }
    static quint64 FirstNetworkStamp();
    // Extents cache (node-only minimum and maximum per axis, unset values skipped).
    void InvalidateBounds() { FBoundsValid = false; }
    void ExtendBounds(const TUzel *uzel);
    void NodeMoved(int axis, float oldValue, float newValue);
    void NodeLeaving(const TUzel *uzel);
    void ProjectNode(TUzel *uzel);
    // A node was added or moved: extents, projection of that node (or all when re-centring is
    // due) and the scheme refresh.
    void NodeGeometryChanged(TUzel *uzel);

    IMineScheme *FScheme = nullptr;
    bool FUpdating = false;
    QString FTitle;
    float FScale = 1.0f;
    float FAngleX = 0, FAngleY = 0, FAngleZ = 0;
    quint8 FSelKind = 1;
    TBranch *FCurBranch = nullptr;
    TUzel *FCurUzel = nullptr;
    TJumper *FCurJumper = nullptr;
    qint32 FExtentX = 1, FExtentY = 1, FExtentZ = 1;
    double FHalfSize[3] = {0, 0, 0};
    bool FNetworkShown = false;
    quint64 FNetworkStamp = FirstNetworkStamp();
    float FCenterX = 0, FCenterY = 0, FCenterZ = 0;
    float FFitFactor = 1.0f;
    bool FModified = false;
    // Destruction order matters: plan positions, seams, branches, nodes, then the non-owning
    // lists, and the stores of nodes and branches last (members are destroyed in reverse order
    // of declaration).
    TElementStore<TUzel> FUzelStore;
    TElementStore<TBranch> FBranchStore;
    TInfoBranchList FGasBranches2;
    TInfoBranchList FGasBranches1;
    TJumperList FJumpers;
    TUzelList FUzels;
    TBranchList FBranches;
    TLayerList FLayers;
    TPLFList FPLFs;
    bool FCellsReady = false;
    bool FTopologyValid = false;
    bool FCenterRequest = false;
    quint8 FShowUzels = 0;
    quint16 FColorFlags = 0;
    quint8 FTextInfo = 0;
    qint32 FTemperature = 20;
    float FPressure = 1.0f;
    float FCellLength = 4.0f;
    TPeopleInfo *FCurPeople = nullptr;

    bool FBoundsValid = true;
    bool FHasBound[3] = {false, false, false};
    float FMin[3] = {0, 0, 0};
    float FMax[3] = {0, 0, 0};
    // Last, so that it goes first: a step it still records frees the elements it holds while
    // their lists and stores are there.
    TChangeJournal FJournal{this};
};
