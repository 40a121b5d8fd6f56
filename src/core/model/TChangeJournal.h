#pragma once
// The change journal of a mine: what every user action changed, so that the action can be
// undone and done again.
//
// Who owns what
//  - TMine owns its journal. The journal is off until the document window switches it on
//    (SetEnabled); the file reader, the command line and the checks of tarvel-mdf never pay
//    for it beyond one test in each setter.
//  - While an action is open the setters report to the journal before they store a value: the
//    element, the field (a column kind of a node or a branch, read and written through the
//    column-kind table, or a TNamedField for the rest) and the old value. Creation and deletion
//    of nodes, branches, stoppings, people, seams and plan positions are recorded with the
//    element itself: a deleted element leaves the mine but not memory, the step holds it (its
//    slot is not reused while a step can bring it back) and frees it when the step goes.
//  - A closed action is a TChangeStep, handed to OnStep; its owner (the window's undo stack)
//    calls Undo and Redo, always in stack order, and destroys it when the step drops off.
//
// Actions are opened by TUserAction (named, for one user command) or implicitly by the first
// change made while none is open; the owner closes an implicit one with Flush once the event
// that made it is handled. A change the journal cannot record (the mine is Updating without an
// open action, as while a file is read) calls OnLost: the steps before it no longer lead back.
//
// A step replays its entries through the same setters (column kinds) or stores the fields
// directly (the rest), in reverse order to undo and in order to redo, each entry swapping the
// value it holds with the element's, so one entry serves both directions.
#include "model/ColumnKinds.h"
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

class TMine;
class TUzel;
class TBranch;
class TJumper;
class TPeopleInfo;
class TLayer;

// Fields that are not column kinds. Stored and restored directly (no derived effects, no
// re-sorting: the order of a list is an entry of its own).
enum class TNamedField : quint8 {
    UzelSurface,
    BranchShape,
    BranchRoughness,
    BranchLayer,
    JumperCaption,
    JumperMaterial,
    JumperVent,
    JumperPosition,
    JumperThickness,
    JumperDepression,
    JumperFlow,
    JumperResistance,
    JumperMeasured,
    JumperReverseResistance,
    JumperBreakPressure,
    JumperOpening,
    JumperOpeningArea,
    JumperDoors,
    JumperCutIn,
    PeoplePosition,
    PeopleTabNumber,
    PeopleSite,
    PeopleFullName,
    PeopleJobTitle,
    LayerName,
    LayerColor,
    LayerVisible,
    MineTitle,
    MineTemperature,
    MinePressure,
    MineCellLength,
};

// The elements a step touched that are in the mine after it was undone or redone, for the
// tables to move their current rows to.
struct TStepFocus {
    TUzel *Uzel = nullptr;
    TBranch *Branch = nullptr;
    TJumper *Jumper = nullptr;
    TPeopleInfo *People = nullptr;
};

class TChangeStep {
public:
    explicit TChangeStep(TMine *mine) : FMine(mine) {}
    // Frees the elements the step holds out of the mine.
    ~TChangeStep();
    TChangeStep(const TChangeStep &) = delete;
    TChangeStep &operator=(const TChangeStep &) = delete;

    QString Name;
    // Steps of one cell edit carry the same non-zero key and merge into one.
    quint64 MergeKey = 0;

    bool IsEmpty() const { return FEntries.empty(); }
    // About what the step keeps in memory.
    size_t Bytes() const { return FBytes; }
    void Undo();
    void Redo();
    // The later step's entries join this one (a cell edit typed key by key).
    void Append(TChangeStep &later);
    TStepFocus Focus() const;
    // Every field the step touched holds the value it had before the step (only field
    // changes; such a step can be dropped).
    bool ChangesNothing() const;

private:
    friend class TChangeJournal;
    enum class TElementType : quint8 { Uzel, Branch, Jumper, People, Layer, PLF };
    struct TField {
        void *Element;
        bool Named;
        quint8 Code;   // TColumnKind or TNamedField
        TColumnValue Value;
    };
    // A list's order before (or after) a sort or a move inside it.
    enum class TOrderList : quint8 { Uzels, Branches, BranchJumpers, BranchPeople };
    struct TOrder {
        TOrderList List;
        TBranch *Owner;   // the branch of a stopping or people list
        std::vector<void *> Items;
    };
    // Elements that left (Added false) or joined (Added true) their list; positions are those
    // in the list with all of them in it, ascending.
    struct TPresence {
        TElementType Type;
        bool Added;
        bool Held;   // out of the mine now: the step owns them
        std::vector<std::pair<int, void *>> Items;
    };
    // Coordinates of many nodes at once (a transformation), X, Y, Z per node.
    struct TMoves {
        std::vector<TUzel *> Uzels;
        std::vector<float> Xyz;
    };
    // Anything the mine does not hold (the document's notes and columns): swap() exchanges
    // the kept state with the current one.
    struct TSwap {
        std::function<void()> Swap;
    };
    using TEntry = std::variant<TField, TOrder, TPresence, TMoves, TSwap>;

    void Apply(TEntry &entry, bool undo);
    void Flip(TPresence &p);
    void Remove(TPresence &p);
    void Insert(TPresence &p);
    void Free(TPresence &p);
    bool Present(TElementType type, void *element) const;
    void AfterReplay(bool moved);

    TMine *FMine;
    std::vector<TEntry> FEntries;
    size_t FBytes = 0;
};

class TChangeJournal {
public:
    explicit TChangeJournal(TMine *mine) : FMine(mine) {}
    TChangeJournal(const TChangeJournal &) = delete;
    TChangeJournal &operator=(const TChangeJournal &) = delete;

    // A closed action with at least one change.
    std::function<void(std::unique_ptr<TChangeStep>)> OnStep;
    // A change went unrecorded: the steps handed out so far cannot be undone any more.
    std::function<void()> OnLost;
    // An implicit action was opened; the owner should Flush it once the current event is done.
    std::function<void()> OnImplicit;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);
    // A step is being recorded. Setters test this first; everything else is out of line.
    bool Active() const { return FEnabled && !FReplaying; }
    bool Replaying() const { return FReplaying; }

    // A key no step had before, for the steps of one edit that are to merge (one per process).
    static quint64 NewMergeKey();
    // Named actions nest; the outermost names the step and closes it.
    void Begin(const QString &name, quint64 mergeKey = 0);
    void End();
    // Closes an implicit action (the changes of one event made outside any named action).
    void Flush();
    bool Open() const { return FStep != nullptr; }

    // --- recorders, called by the model before it stores a value
    void Field(TUzel *uzel, TColumnKind kind);
    void Field(TBranch *branch, TColumnKind kind);
    void Named(void *element, TNamedField field);
    // The order of a list before it changes.
    void UzelOrder();
    void BranchOrder();
    void JumperOrder(TBranch *branch);
    void PeopleOrder(TBranch *branch);
    // Elements about to leave their list (positions 0-based in it, ascending).
    // True when the step now holds them: the caller takes them out of the mine without
    // freeing them.
    bool Removing(TUzel *uzel, int pos);
    bool Removing(TBranch *branch, int pos);
    bool RemovingMany(const std::vector<std::pair<int, TUzel *>> &uzels);
    bool RemovingMany(const std::vector<std::pair<int, TBranch *>> &branches);
    bool Removing(TJumper *jumper);
    bool Removing(TPeopleInfo *person);
    bool Removing(TLayer *layer, int index);
    // Elements that have just joined their list.
    void Added(TUzel *uzel);
    void Added(TBranch *branch);
    void Added(TJumper *jumper);
    void Added(TPeopleInfo *person);
    void Added(TLayer *layer);
    // Before every node's coordinates change at once: one array instead of a field each; the
    // coordinate setters record nothing more in this step.
    void KeepCoordinates();
    bool CoordinatesKept() const { return FCoordinatesKept; }
    // State kept outside the mine; swap exchanges it with the current state (see TSwap).
    void Swap(std::function<void()> swap);

private:
    friend class TChangeStep;
    friend class TMine;
    // The step changes are recorded in; nullptr when none may be (then OnLost has run).
    TChangeStep *Step();
    TColumnValue NamedValue(const void *element, TNamedField field) const;
    void Close();
    bool Add(TChangeStep::TEntry entry, size_t bytes);
    template <class T>
    bool Presence(TChangeStep::TElementType type, bool added, const std::vector<std::pair<int, T *>> &items);

    TMine *FMine;
    std::unique_ptr<TChangeStep> FStep;
    int FDepth = 0;
    bool FEnabled = false;
    bool FReplaying = false;
    bool FCoordinatesKept = false;
};

// One user command as one step: opens a named action for its lifetime.
class TUserAction {
public:
    TUserAction(TMine *mine, const QString &name, quint64 mergeKey = 0);
    ~TUserAction();
    TUserAction(const TUserAction &) = delete;
    TUserAction &operator=(const TUserAction &) = delete;

private:
    TMine *FMine;
};
