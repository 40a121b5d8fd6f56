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
    float VolumeFactor() const { return FVolumeFactor; }
    float ExtraVolume() const { return FExtraVolume; }
    const QString &Comment() const { return FComment; }
    TJumperList &Jumpers() { return FJumpers; }
    const TJumperList &Jumpers() const { return FJumpers; }
    TPeopleList &People() { return FPeople; }
    const TPeopleList &People() const { return FPeople; }

    // Zones: 1 = gas zone 1, 2 = gas zone 2, 3..6 = result zones. Bounds 1..12 are
    // Gas1From, Gas1To, Gas2From, Gas2To, Zone3From, Zone3To, ... Zone6To (metres from the start).
    bool Zone(int zone) const;
    float ZoneBound(int bound) const;
    bool Gas1() const { return FZone[0] != 0; }
    float Gas1From() const { return FBound[0]; }
    float Gas1To() const { return FBound[1]; }
    bool Gas2() const { return FZone[1] != 0; }
    float Gas2From() const { return FBound[2]; }
    float Gas2To() const { return FBound[3]; }
    bool Zone3() const { return FZone[2] != 0; }
    float Zone3From() const { return FBound[4]; }
    float Zone3To() const { return FBound[5]; }
    bool Zone4() const { return FZone[3] != 0; }
    float Zone4From() const { return FBound[6]; }
    float Zone4To() const { return FBound[7]; }
    bool Zone5() const { return FZone[4] != 0; }
    float Zone5From() const { return Seldom().Bound56[0]; }
    float Zone5To() const { return Seldom().Bound56[1]; }
    bool Zone6() const { return FZone[5] != 0; }
    float Zone6From() const { return Seldom().Bound56[2]; }
    float Zone6To() const { return Seldom().Bound56[3]; }
    quint8 Gas1Kind() const { return FGasKind[0]; }
    quint8 Gas2Kind() const { return FGasKind[1]; }
    quint8 NormalMark() const { return FNormalMark; }
    quint8 RouteMark() const { return FRouteMark; }
    float OptA1() const { return FOptValue[0]; }
    float OptA2() const { return FOptValue[1]; }
    bool OptA() const { return FOptA != 0; }
    float OptB1() const { return FOptValue[2]; }
    float OptB2() const { return FOptValue[3]; }
    bool OptB() const { return FOptB != 0; }
    // which 1..2 (OptA, OptB); value index 1..4 (OptA1, OptA2, OptB1, OptB2)
    bool Option(int which) const { return (which == 1 ? FOptA : FOptB) != 0; }
    // The flags' bytes as the file holds them (any non-zero value is true); zone 1..6, which 1..2.
    quint8 ZoneByte(int zone) const { return zone >= 1 && zone <= 6 ? FZone[zone - 1] : 0; }
    quint8 OptionByte(int which) const { return which == 1 ? FOptA : FOptB; }
    float OptionValue(int index) const;
    qint32 NormalResult() const { return FNormalResult; }
    qint32 RouteResult() const { return FRouteResult; }
    qint32 LayerIndex() const { return FLayerIndex; }
    qint32 CellCount() const { return FCellCount; }
    // Sized to CellCount when first asked for: nothing in this program reads the cell values,
    // so a recount never allocates.
    TCells &Cells();
    double Resistance() const { return FResistance; }
    const QString &Name() const { return FName; }
    qint32 LinkIndex() const { return FLinkIndex; }
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
    void SetNormalResult(qint32 value) { FNormalResult = value; }
    void SetRouteResult(qint32 value) { FRouteResult = value; }
    void SetLinkIndex(qint32 value) { FLinkIndex = value; }
    void SetNormalMark(quint8 value) { FNormalMark = value; }
    void SetRouteMark(quint8 value) { FRouteMark = value; }
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

    // Out of the mine and back while a step of the journal holds the branch: the links, the
    // gas lists and the mine's list of all stoppings let go of it and take it back.
    void Detach();
    void Attach();
    template <class Field, class Value>
    void Store(Field &field, const Value &value, TColumnKind kind);
    template <class Field, class Value>
    void Store(Field &field, const Value &value, TNamedField named);
    // Sets the resolved ends, keeping the nodes' IncidentCount current.
    void LinkEnds(TUzel *start, TUzel *end);
    void ClampZonesToLength(float length);
    void Changed();

    // Pen overrides, calculation cells and the bounds of the result zones 5 and 6 (which this
    // program never sets): few branches ever have them, so they live apart and a branch without
    // them carries one null pointer.
    struct TSeldom {
        float Bound56[4] = {0, 0, 0, 0};   // Zone5From, Zone5To, Zone6From, Zone6To
        quint32 Pen1Color = 0;
        quint32 Pen2Color = 0;
        int Pen1Width = 2;
        int Pen2Width = 2;
        float Pen2Value1 = 1.0f;
        float Pen2Value2 = 0.0f;
        bool Pen1On = false;
        bool Pen2On = false;
        TCells Cells;
    };
    const TSeldom &Seldom() const;
    TSeldom &SeldomForWrite();

    // Ordered by size so that the branch carries no padding; the stoppings and people lists are
    // held in place, not allocated apart.
    TMine *FMine;
    TUzel *FStartUzel = nullptr;
    TUzel *FEndUzel = nullptr;
    double FResistance = 0.0;
    QString FComment;
    QString FName;
    TJumperList FJumpers;
    TPeopleList FPeople;
    std::unique_ptr<TSeldom> FSeldom;
    qint32 FNumber = -777777;
    qint32 FStartNumber = -777777;
    qint32 FEndNumber = -777777;
    float FSection = -777777.0f;
    float FVolumeFactor = 1.0f;
    float FExtraVolume = 0.0f;
    float FBound[8] = {0, 0, 0, 0, 0, 0, 0, 0};   // Gas1From .. Zone4To
    float FOptValue[4] = {0, 0, 0, 0};   // OptA1, OptA2, OptB1, OptB2
    qint32 FNormalResult = -1;
    qint32 FRouteResult = -1;
    qint32 FLayerIndex = -1;
    qint32 FCellCount = 0;
    qint32 FLinkIndex = -1;
    qint32 FPLFIndex = -1;
    int FListPos = -1;
    int FGasSlot[2] = {-1, -1};   // position in GasBranches1/GasBranches2, -1 when absent
    // The file's Boolean bytes, kept as read (the program itself sets 0 or 1).
    quint8 FZone[6] = {0, 0, 0, 0, 0, 0};
    quint8 FOptA = 1;
    quint8 FOptB = 1;
    quint8 FShape = 0;
    quint8 FRoughness = 0;
    quint8 FGasKind[2] = {0, 0};
    quint8 FNormalMark = 0;
    quint8 FRouteMark = 0;
    bool FDoomed = false;         // marked during a bulk deletion
};
