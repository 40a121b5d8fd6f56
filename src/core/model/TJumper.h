#pragma once
// A stopping (ventilation barrier) at a position along its branch. Created with its branch, it
// sits in exactly two lists: the branch's Jumpers (which owns it, kept in Position order) and
// the mine's Jumpers (every stopping of the mine, not owning). Deleting it (delete, or
// TJumperList::Delete on the branch's list) takes it out of both; removal never marks the
// document modified.
#include <QString>
#include <QtGlobal>

class TBranch;
class TMine;
enum class TNamedField : quint8;

class TJumper {
public:
    // Appends the stopping to the branch's and the mine's lists. Refused (AppError) without a
    // branch. Every field starts at zero; the document window then places it at 0.5.
    explicit TJumper(TBranch *branch);
    // The same, already at a position (clamped to [0, 1]) instead of 0: it joins the branch's
    // list at its place at once, which keeps reading a file linear. Does not mark Modified.
    TJumper(TBranch *branch, double position);
    ~TJumper();
    TJumper(const TJumper &) = delete;
    TJumper &operator=(const TJumper &) = delete;

    TBranch *Branch() const { return FBranch; }
    TMine *Mine() const;
    const QString &Caption() const { return FCaption; }
    quint8 Material() const { return FMaterial; }
    bool Vent() const { return FVent != 0; }
    double Position() const { return FPosition; }
    double Thickness() const { return FThickness; }
    double Depression() const { return FDepression; }   // H, mm of water
    double Flow() const { return FFlow; }               // Q, m3/s
    double Resistance() const { return FResistance; }
    bool Measured() const { return FMeasured != 0; }
    double ReverseResistance() const { return FReverseResistance; }
    double BreakPressure() const { return FBreakPressure; }   // technical atmospheres
    quint8 Opening() const { return FOpening; }
    double OpeningArea() const { return FOpeningArea; }
    quint8 Doors() const { return FDoors; }
    bool CutIn() const { return FCutIn != 0; }
    bool NormalHit() const { return FNormalHit != 0; }
    qint32 NormalStep() const { return FNormalStep; }
    const double *NormalValues() const { return FNormalValues; }   // three values
    bool RouteHit() const { return FRouteHit != 0; }
    qint32 RouteStep() const { return FRouteStep; }
    const double *RouteValues() const { return FRouteValues; }     // three values
    // The flags' bytes as the file holds them (any non-zero value is true).
    quint8 VentByte() const { return FVent; }
    quint8 MeasuredByte() const { return FMeasured; }
    quint8 CutInByte() const { return FCutIn; }
    quint8 NormalHitByte() const { return FNormalHit; }
    quint8 RouteHitByte() const { return FRouteHit; }

    // Clamped to [0, 1]; on a change: Modified and the branch's stoppings re-sorted.
    void SetPosition(double value);
    void SetCaption(const QString &value);   // always marks Modified
    // The rest: Modified on a change. A flag changes only with its truth value (then to 0 or
    // 1); otherwise the byte read from the file is kept.
    void SetMaterial(quint8 value);
    void SetVent(bool value);
    void SetCutIn(bool value);
    void SetDoors(quint8 value);
    void SetOpening(quint8 value);
    void SetThickness(double value);
    void SetBreakPressure(double value);
    // Stores on a change; marks Modified only while Opening is "Произвольный" (4).
    void SetOpeningArea(double value);
    // which 1 = H, 2 = Q. Switches Measured on and derives R = H / Q^2 (0 when |Q| <= 1e-12).
    void SetMeasurement(int which, double value);
    // which 1: R typed directly (switches Measured off); which 2: reverse R.
    void SetResistanceValue(int which, double value);
    // false also zeroes NormalStep (RouteStep); Modified on a change.
    void SetNormalHit(bool value);
    void SetRouteHit(bool value);
    // Sets the matching hit mark to (value != 0) unless it already has that truth value; never
    // touches Modified.
    void SetNormalStep(qint32 value);
    void SetRouteStep(qint32 value);

    // Raw stores for the file reader; never touch Modified, never derive R.
    void SetDepression(double value) { FDepression = value; }
    void SetFlow(double value) { FFlow = value; }
    void SetResistance(double value) { FResistance = value; }
    void SetMeasured(bool value);
    // The file's bytes, kept as read so that they are written back unchanged; a change of the
    // truth value has the effects of the setter above (SetVent, SetMeasured, ...).
    void SetVentByte(quint8 value);
    void SetMeasuredByte(quint8 value);
    void SetCutInByte(quint8 value);
    void SetNormalHitByte(quint8 value);
    void SetRouteHitByte(quint8 value);
    void SetNormalValues(double a, double b, double c) { FNormalValues[0] = a; FNormalValues[1] = b; FNormalValues[2] = c; }
    void SetRouteValues(double a, double b, double c) { FRouteValues[0] = a; FRouteValues[1] = b; FRouteValues[2] = c; }

    // 0-based position in the branch's Jumpers.
    int IndexInBranch() const;

private:
    friend class TJumperList;
    friend class TChangeStep;
    friend class TChangeJournal;
    void Changed();
    void Record(TNamedField field);
    template <class Field, class Value>
    void Store(Field &field, const Value &value, TNamedField named);
    // Out of both lists while a step of the journal holds it, and back at index in its branch.
    void Detach();
    void Attach(int index);

    TBranch *FBranch;
    QString FCaption;
    quint8 FMaterial = 0;
    quint8 FVent = 0;   // a file's Boolean byte, kept as read
    double FPosition = 0;
    double FThickness = 0;
    double FDepression = 0;
    double FFlow = 0;
    double FResistance = 0;
    quint8 FMeasured = 0;   // a file's Boolean byte, kept as read
    double FReverseResistance = 0;
    double FBreakPressure = 0;
    quint8 FOpening = 0;
    double FOpeningArea = 0;
    quint8 FDoors = 0;
    quint8 FCutIn = 0;   // a file's Boolean byte, kept as read
    quint8 FNormalHit = 0;   // a file's Boolean byte, kept as read
    qint32 FNormalStep = 0;
    double FNormalValues[3] = {0, 0, 0};
    quint8 FRouteHit = 0;   // a file's Boolean byte, kept as read
    qint32 FRouteStep = 0;
    double FRouteValues[3] = {0, 0, 0};

    int FMineSlot = -1;   // slot in the mine's list of all stoppings
    bool FDetached = false;   // held by a step of the journal, in no list
};
