#pragma once
// A branch (a mine working) joining two nodes, which it names by number; StartUzel/EndUzel are
// the nodes those numbers resolved to at the last TMine::ResolveIncidence. Owned by the mine's
// TBranchList. The branch owns its stoppings (Jumpers) and people (People).
//
// Setters named Set<Field> mark the document modified only on a real change (reals compare
// exactly) unless their comment says otherwise; the comment names the setters that never touch
// Modified (results and working values that the file reader and "clear results" store).
#include "model/TJumperList.h"
#include "model/TPeopleList.h"
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <cstddef>
#include <memory>

class TMine;
class TUzel;
enum class TColumnKind : quint8;
enum class TNamedField : quint8;

using TCells = QVector<double>;

class TBranch {
public:
    // Refused (AppError) without a mine. Not in any list until TBranchList::Add.
    explicit TBranch(TMine *mine);
    // Decrements BranchCount of the resolved ends, clears the mine's CurBranch if it is this
    // branch, leaves the gas lists, frees the stoppings and people.
    ~TBranch();
    TBranch(const TBranch &) = delete;
    TBranch &operator=(const TBranch &) = delete;
    // Branches of a mine are made in its element store (TMine::AddBranch), never one by one.
    static void *operator new(std::size_t) = delete;
    static void operator delete(void *) = delete;

    TMine *Mine() const { return FMine; }
    qint32 Number() const { return FNumber; }
    qint32 StartNumber() const { return FStartNumber; }
    qint32 EndNumber() const { return FEndNumber; }
    // which of the numbers Numbers and SetNumbers mean: 1 number, 2 start number, 3 end number
    static constexpr int kNumber = 1, kStartNumber = 2, kEndNumber = 3;
    qint32 Numbers(int which) const;
    TUzel *StartUzel() const { return FStartUzel; }
    TUzel *EndUzel() const { return FEndUzel; }
    float Section() const { return FSection; }
    quint8 Shape() const { return FShape; }
    quint8 Roughness() const { return FRoughness; }
    float VolumeFactor() const { return Seldom().VolumeFactor; }
    float ExtraVolume() const { return Seldom().ExtraVolume; }
    const QString &Comment() const { return FComment; }
    // A branch without stoppings (people) answers with one shared empty list, which nothing
    // changes: stoppings and people enter their own branch's list through their constructors.
    TJumperList &Jumpers() { return FSeldom ? FSeldom->Jumpers : kNoJumpers; }
    const TJumperList &Jumpers() const { return Seldom().Jumpers; }
    TPeopleList &People() { return FSeldom ? FSeldom->People : kNoPeople; }
    const TPeopleList &People() const { return Seldom().People; }

    // Zones: 1 = gas zone 1, 2 = gas zone 2, 3..6 = result zones. Bounds 1..12 are
    // Gas1From, Gas1To, Gas2From, Gas2To, Zone3From, Zone3To, ... Zone6To (metres from the start).
    bool Zone(int zone) const;
    float ZoneBound(int bound) const;
    bool Gas1() const { return Seldom().Zone[0] != 0; }
    float Gas1From() const { return Seldom().Bound[0]; }
    float Gas1To() const { return Seldom().Bound[1]; }
    bool Gas2() const { return Seldom().Zone[1] != 0; }
    float Gas2From() const { return Seldom().Bound[2]; }
    float Gas2To() const { return Seldom().Bound[3]; }
    bool Zone3() const { return Seldom().Zone[2] != 0; }
    float Zone3From() const { return Seldom().Bound[4]; }
    float Zone3To() const { return Seldom().Bound[5]; }
    bool Zone4() const { return Seldom().Zone[3] != 0; }
    float Zone4From() const { return Seldom().Bound[6]; }
    float Zone4To() const { return Seldom().Bound[7]; }
    bool Zone5() const { return Seldom().Zone[4] != 0; }
    float Zone5From() const { return Seldom().Bound[8]; }
    float Zone5To() const { return Seldom().Bound[9]; }
    bool Zone6() const { return Seldom().Zone[5] != 0; }
    float Zone6From() const { return Seldom().Bound[10]; }
    float Zone6To() const { return Seldom().Bound[11]; }
    quint8 Gas1Kind() const { return Seldom().GasKind[0]; }
    quint8 Gas2Kind() const { return Seldom().GasKind[1]; }
    quint8 NormalMark() const { return Seldom().NormalMark; }
    quint8 RouteMark() const { return Seldom().RouteMark; }
    float OptA1() const { return Seldom().OptValue[0]; }
    float OptA2() const { return Seldom().OptValue[1]; }
    bool OptA() const { return Seldom().OptA != 0; }
    float OptB1() const { return Seldom().OptValue[2]; }
    float OptB2() const { return Seldom().OptValue[3]; }
    bool OptB() const { return Seldom().OptB != 0; }
    // which 1..2 (OptA, OptB); value index 1..4 (OptA1, OptA2, OptB1, OptB2)
    bool Option(int which) const { return OptionByte(which) != 0; }
    // The flags' bytes as the file holds them (any non-zero value is true); zone 1..6, which 1..2.
    quint8 ZoneByte(int zone) const { return zone >= 1 && zone <= 6 ? Seldom().Zone[zone - 1] : 0; }
    quint8 OptionByte(int which) const { return which == 1 ? Seldom().OptA : Seldom().OptB; }
    float OptionValue(int index) const;
    qint32 NormalResult() const { return Seldom().NormalResult; }
    qint32 RouteResult() const { return Seldom().RouteResult; }
    qint32 LayerIndex() const { return FLayerIndex; }
    qint32 CellCount() const { return FCellCount; }
    // Sized to CellCount when first asked for: nothing in this program reads the cell values,
    // so a recount never allocates.
    TCells &Cells();
    double Resistance() const { return FResistance; }
    const QString &Name() const { return FName; }
    qint32 LinkIndex() const { return Seldom().LinkIndex; }
    qint32 PLFIndex() const { return FPLFIndex; }

    // Pen overrides of the scheme drawing (never stored in the file).
    quint32 Pen1Color() const { return Seldom().Pen1Color; }
    bool Pen1On() const { return Seldom().Pen1On; }
    int Pen1Width() const { return Seldom().Pen1Width; }
    quint32 Pen2Color() const { return Seldom().Pen2Color; }
    float Pen2Value1() const { return Seldom().Pen2Value1; }
    float Pen2Value2() const { return Seldom().Pen2Value2; }
    bool Pen2On() const { return Seldom().Pen2On; }
    int Pen2Width() const { return Seldom().Pen2Width; }

    // --- setters that mark Modified on a real change ---
    // which 1 number, 2 start number, 3 end number; a new start (end) number forgets StartUzel
    // (EndUzel).
    void SetNumbers(int which, qint32 value);
    void SetSection(float value);
    // Marks Modified on a change: a shape chosen alone in the cross-section dialog changes the
    // perimeter and must not be lost when the document is closed.
    void SetShape(quint8 value);
    void SetRoughness(quint8 value);
    void SetVolumeFactor(float value);
    void SetExtraVolume(float value);
    void SetResistance(double value);
    void SetComment(const QString &value);
    void SetName(const QString &value);
    void SetLayerIndex(qint32 value);
    void SetPLFIndex(qint32 value);
    // zone 1..6; zones 1 and 2 join or leave the mine's GasBranches1/GasBranches2. Flags change
    // only with their truth value (then to 0 or 1); otherwise the byte is kept.
    void SetZone(int zone, bool on);
    // The file's byte, kept as read so that it is written back unchanged; a change of the truth
    // value has the effects of SetZone (SetOption).
    void SetZoneByte(int zone, quint8 value);
    void SetOptionByte(int which, quint8 value);
    // bound 1..12; clamped to [0, Length] (to >= 0 while the length is unknown).
    void SetZoneBound(int bound, float value);
    // which 1..2; resets NormalMark (RouteMark).
    void SetGasKind(int which, quint8 kind);
    void SetOption(int which, bool on);
    void SetOptionValue(int index, float value);

    // --- setters that never touch Modified (results, file-only and working values) ---
    void SetNormalResult(qint32 value);
    void SetRouteResult(qint32 value);
    void SetLinkIndex(qint32 value);
    void SetNormalMark(quint8 value);
    void SetRouteMark(quint8 value);
    void SetCellCount(qint32 value);
    void SetPen1(quint32 color, bool on, int width);
    void SetPen2(quint32 color, float v1, float v2, bool on, int width);

    // --- derived values (32-bit reals; kUnsetReal when they cannot be computed) ---
    float Length() const;
    float Perimeter() const;
    float Volume() const;
    float Angle() const;
    float EffectiveLength() const;
    // Number, start, end number and section all unset.
    bool IsEmpty() const;
    // Text of the branch's information box (caption MineTables::InfoBoxCaption()); the title
    // and the comment each in one line of at most 1,000 characters.
    QString InfoText() const;

    // 0-based position in the mine's branch list, -1 when not in it.
    int ListPos() const { return FListPos; }

private:
    friend class TBranchList;
    friend class TInfoBranchList;
    friend class TMine;
    friend class TUzelList;
    friend class TLayerList;
    friend class TChangeStep;
    friend class TChangeJournal;
    friend class TJumper;
    friend class TPeopleInfo;

    // Out of the mine and back while a step of the journal holds the branch: the links, the
    // gas lists and the mine's list of all stoppings let go of it and take it back.
    void Detach();
    void Attach();
    // key: the column kind, or the named field, the journal records the old value under.
    template <class Field, class Value, class Key>
    void Store(Field &field, const Value &value, Key key);
    // Sets the resolved ends, keeping the nodes' IncidentCount current.
    void LinkEnds(TUzel *start, TUzel *end);
    void ClampZonesToLength(float length);
    void Changed();

    // What most branches never have: stoppings and people, the calculation's fields and results,
    // the zones with their bounds, the options, a volume coefficient or additional volume other
    // than 1 and 0, pen overrides and calculation cells. A branch that has none of them carries
    // one null pointer instead (a file of a million branches reads without them); the first
    // setter that stores something other than the default makes the part, and it stays.
    struct TSeldom {
        TJumperList Jumpers;
        TPeopleList People;
        TCells Cells;
        float Bound[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};   // Gas1From .. Zone6To
        float OptValue[4] = {0, 0, 0, 0};   // OptA1, OptA2, OptB1, OptB2
        float VolumeFactor = 1.0f;
        float ExtraVolume = 0.0f;
        qint32 NormalResult = -1;
        qint32 RouteResult = -1;
        qint32 LinkIndex = -1;
        int GasSlot[2] = {-1, -1};   // position in GasBranches1/GasBranches2, -1 when absent
        quint32 Pen1Color = 0;
        quint32 Pen2Color = 0;
        int Pen1Width = 2;
        int Pen2Width = 2;
        float Pen2Value1 = 1.0f;
        float Pen2Value2 = 0.0f;
        // The file's Boolean bytes, kept as read (the program itself sets 0 or 1).
        quint8 Zone[6] = {0, 0, 0, 0, 0, 0};
        quint8 OptA = 1;
        quint8 OptB = 1;
        quint8 GasKind[2] = {0, 0};
        quint8 NormalMark = 0;
        quint8 RouteMark = 0;
        bool Pen1On = false;
        bool Pen2On = false;
    };
    // The branch's own part, or the defaults of every branch that has none.
    const TSeldom &Seldom() const { return FSeldom ? *FSeldom : kNoSeldom; }
    TSeldom &SeldomForWrite();
    template <class Field> bool StoreSeldom(Field TSeldom::*field, Field value);
    template <class Field> void StoreSeldom(Field TSeldom::*field, Field value, TColumnKind kind);
    // Made before the program runs (constant initialisation), never changed.
    static const TSeldom kNoSeldom;
    static TJumperList kNoJumpers;
    static TPeopleList kNoPeople;
    // The lists stoppings and people enter and leave (TJumper, TPeopleInfo).
    TJumperList &OwnJumpers() { return SeldomForWrite().Jumpers; }
    TPeopleList &OwnPeople() { return SeldomForWrite().People; }
    int GasSlot(int zone) const { return Seldom().GasSlot[zone - 1]; }

    // Ordered by size so that the branch carries no padding.
    TMine *FMine;
    TUzel *FStartUzel = nullptr;
    TUzel *FEndUzel = nullptr;
    double FResistance = 0.0;
    QString FComment;
    QString FName;
    std::unique_ptr<TSeldom> FSeldom;
    qint32 FNumber = -777777;
    qint32 FStartNumber = -777777;
    qint32 FEndNumber = -777777;
    float FSection = -777777.0f;
    qint32 FLayerIndex = -1;
    qint32 FPLFIndex = -1;
    qint32 FCellCount = 0;   // the recount after a check gives every branch one
    int FListPos = -1;
    quint8 FShape = 0;
    quint8 FRoughness = 0;
    bool FDoomed = false;         // marked during a bulk deletion
};
