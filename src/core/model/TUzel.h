#pragma once
// A node of the network (a junction of workings). Owned by its mine's TUzelList.
// Every change goes through a setter; setters that mark the document modified do so only when
// the value really changes (reals compare exactly).
#include <QString>
#include <QtGlobal>
#include <cstddef>

class TMine;
class TBranch;
class TUzelList;
template <class T> class TNumberIndex;

class TUzel {
public:
    // Refused (AppError) without a mine. The node is not in any list until TUzelList::Add.
    explicit TUzel(TMine *mine);
    ~TUzel();
    TUzel(const TUzel &) = delete;
    TUzel &operator=(const TUzel &) = delete;
    // Nodes of a mine are made in its element store (TMine::AddUzel), never one by one.
    static void *operator new(std::size_t) = delete;
    static void operator delete(void *) = delete;

    TMine *Mine() const { return FMine; }
    qint32 Number() const { return FNumber; }
    float X() const { return FX; }
    float Y() const { return FY; }
    float Z() const { return FZ; }
    // axis 1 = X, 2 = Y, 3 = Z
    float Coordinate(int axis) const;
    qint32 ProjX() const { return FProjX; }
    qint32 ProjY() const { return FProjY; }
    // Incident branches as counted by the last ResolveIncidence (a plain int: a node may carry
    // any number of branches).
    int BranchCount() const { return FBranchCount; }
    bool Surface() const { return FSurface != 0; }
    // The flag's byte as the file holds it (any non-zero value is true).
    quint8 SurfaceByte() const { return FSurface; }
    bool Drawn() const { return FDrawn; }
    qint32 Extra1() const { return FExtra1; }
    qint32 Extra2() const { return FExtra2; }

    // Marks Modified on a change. Branches keep their start/end numbers; they re-resolve at the
    // next ResolveIncidence.
    void SetNumber(qint32 value);
    // axis 1..3; on a change: Modified, extents and projection, scheme refresh.
    void SetCoordinate(int axis, float value);
    // Modified on a change of the truth value; stores 0 or 1 then, and keeps the byte otherwise.
    void SetSurface(bool value);
    // The file's byte, kept as read so that it is written back unchanged; no Modified.
    void SetSurfaceByte(quint8 value) { FSurface = value; }
    void SetExtra1(qint32 value) { FExtra1 = value; }   // kept for the file; no Modified
    void SetExtra2(qint32 value) { FExtra2 = value; }   // kept for the file; no Modified
    void SetDrawn(bool value) { FDrawn = value; }       // drawing's working flag; no Modified
    void SetProjection(qint32 x, qint32 y) { FProjX = x; FProjY = y; }  // no Modified
    void SetBranchCount(int value) { FBranchCount = value; }            // no Modified

    // Branches whose resolved StartUzel or EndUzel is this node (a loop branch counts once).
    // Kept as a counter by the branches, so this is O(1).
    int IncidentCount() const { return FIncidentRefs; }
    // Number and all three coordinates unset.
    bool IsEmpty() const;
    // Text of the node's information box (caption MineTables::InfoBoxCaption()); the title in
    // one line of at most 1,000 characters.
    QString InfoText() const;

    // 0-based position in the mine's node list, -1 when not in it.
    int ListPos() const { return FListPos; }

private:
    friend class TUzelList;
    friend class TBranch;
    friend class TMine;
    friend class TChangeStep;
    friend class TChangeJournal;

    TMine *FMine;
    qint32 FNumber;
    float FX, FY, FZ;
    qint32 FProjX = 0, FProjY = 0;
    int FBranchCount = 0;
    qint32 FExtra1 = -1, FExtra2 = -1;
    int FListPos = -1;
    int FIncidentRefs = 0;
    quint8 FSurface = 0;   // a file's Boolean byte, kept as read
    bool FDrawn = false;
    bool FDoomed = false;   // marked during a bulk deletion
};
