#pragma once
// The staged topology check of a mine: (1) empty rows, data, numbering and node references,
// (2) coordinates, which also decides the mine's TopologyValid flag, (3) physical values and
// node incidences. Each stage writes its findings as lines into a TMessageSink and returns what
// the caller needs to manage its message panel. The document window (cursor, in-place editors,
// table refresh, panel) and the command-line tool both drive it.
#include "checks/TMessageSink.h"

#include <QString>
#include <memory>

class TMine;
class TCheckStatus;

enum class TPanelAction { Show, Hide, Keep };

struct TStageResult {
    bool Passed = false;   // the stage found nothing
    bool EarlyEnd = false; // stage 1 stopped before its last test: the panel is shown regardless
    int DeletedUzels = 0;  // stage 1: empty rows removed before any test
    int DeletedBranches = 0;

    bool Found() const { return !Passed; }
    bool DeletedAny() const { return DeletedUzels > 0 || DeletedBranches > 0; }
    // What the message panel does at the end of the stage under the caller's KeepPanel.
    TPanelAction PanelAction(bool keepPanel) const
    {
        if (EarlyEnd || Found())
            return TPanelAction::Show;
        return keepPanel ? TPanelAction::Keep : TPanelAction::Hide;
    }
};

struct TCheckOutcome {
    int StagesRun = 0;  // 1..3: the last stage that ran
    TStageResult Last;  // result of that stage
    bool Passed() const { return StagesRun == 3 && Last.Passed; }
};

class TTopologyCheck {
public:
    // status may be null (no status bar). The decimal separator of coordinates comes from the
    // current locale unless set.
    TTopologyCheck(TMine &mine, TMessageSink &sink, TCheckStatus *status = nullptr);

    void SetDecimalPoint(QChar point) { FPoint = point; }
    QChar DecimalPoint() const { return FPoint; }

    // Stage 1: clears the list, deletes empty nodes and branches, tests data, numbers and node
    // references.
    TStageResult CheckTopology();
    // Stage 2: coordinates; stores the outcome with SetTopologyValid. Run only after stage 1
    // passed.
    TStageResult CheckCoordinates();
    // Stage 3: temperature and pressure, node incidences, isolated and parallel branches. Run only
    // after stage 2 passed (it relies on the incidence counts stage 2 resolved).
    TStageResult CheckPhysics();

    // The three stages, each only when the one before found nothing (the command's check).
    // Nothing can change the mine between its stages, so stage 3 reuses the numbers stage 1 read
    // instead of walking every branch again.
    TCheckOutcome CheckAll();

    // Formatting shared by the lines (public for the tests of the text rules).
    QString FormatCoordinate(float value) const;
    static QString FormatNumber(qint32 value);      // empty when unset
    static QString FormatOwnNumber(qint32 value);   // number and one blank
    static QString CommentSuffix(const QString &comment);

    static const QString &StopLine();

private:
    struct Snapshot;

    TMine &FMine;
    TMessageSink &FSink;
    TCheckStatus *FStatus;
    QChar FPoint;
    // Filled by stage 1 while CheckAll runs, used by its stage 3, dropped at its end.
    std::shared_ptr<Snapshot> FSnapshot;
};
