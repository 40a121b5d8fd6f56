// TChildForm: undo and redo. The mine's change journal records what each user action changed;
// each closed action becomes a command of the window's undo stack (app/TJournalCommand.h).
#include "app/TChildForm.h"

#include "app/TJournalCommand.h"
#include "app/TMainForm.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "settings/TConfig.h"

#include <QTimer>
#include <QUndoStack>

namespace {
// A step that keeps more than this is not kept: the edit stays, the list before it goes.
constexpr size_t kMaxStepBytes = size_t(64) << 20;

int ConfiguredUndoLimit()
{
    return Config ? Config->UndoLimit : TConfig::DefaultUndoLimit;
}
} // namespace

void TChildForm::setupUndo()
{
    m_undo = new QUndoStack(this);
    const int limit = ConfiguredUndoLimit();
    m_undo->setUndoLimit(limit);
    // Back at the saved state clears the mark; leaving it, the setters set it.
    connect(m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (!m_resettingUndo && clean)
            Mine()->SetModified(false);
    });
    TChangeJournal &journal = Mine()->Journal();
    journal.OnStep = [this](std::unique_ptr<TChangeStep> step) { pushStep(std::move(step)); };
    journal.OnLost = [this] { dropUndoHistory(); };
    // Changes made outside a named action (a command not yet given a name) are one step per
    // event: the step closes as soon as the event is handled.
    journal.OnImplicit = [this] { QTimer::singleShot(0, this, [this] { FlushJournal(); }); };
    journal.SetEnabled(limit > 0);
}

void TChildForm::ApplyUndoLimit()
{
    if (!m_undo)
        return;
    const int limit = ConfiguredUndoLimit();
    Mine()->Journal().SetEnabled(limit > 0);
    if (limit == 0)
        dropUndoHistory();
    // The stack takes a new limit only while it is empty.
    if (m_undo->count() == 0)
        m_undo->setUndoLimit(limit);
}

QString TChildForm::UndoText() const
{
    return m_undo && m_undo->canUndo() ? m_undo->undoText() : QString();
}

QString TChildForm::RedoText() const
{
    return m_undo && m_undo->canRedo() ? m_undo->redoText() : QString();
}

void TChildForm::FlushJournal()
{
    Mine()->Journal().Flush();
}

void TChildForm::pushStep(std::unique_ptr<TChangeStep> step)
{
    if (step->Bytes() > kMaxStepBytes) {
        const QString name = step->Name;
        step.reset();
        dropUndoHistory();
        m_mainForm->ShowStatusText(
            QStringLiteral("Действие «%1» слишком велико для отмены; предыдущие действия отменить нельзя").arg(name));
        return;
    }
    m_undo->push(new TJournalCommand(std::move(step), [this](const TStepFocus &focus) { afterStep(focus); }));
}

void TChildForm::dropUndoHistory()
{
    if (!m_undo)
        return;
    m_resettingUndo = true;
    m_undo->clear();
    m_undo->resetClean();
    m_resettingUndo = false;
}

void TChildForm::Undo()
{
    Tables->UzelGrid->CloseEditor();
    Tables->BranchGrid->CloseEditor();
    pnlJumpers->CloseEditors();
    FlushJournal();
    m_undo->undo();
}

void TChildForm::Redo()
{
    Tables->UzelGrid->CloseEditor();
    Tables->BranchGrid->CloseEditor();
    pnlJumpers->CloseEditors();
    FlushJournal();
    m_undo->redo();
}

void TChildForm::afterStep(const TStepFocus &focus)
{
    // A replayed step changed the document; back at the saved state the stack clears the mark
    // right after (cleanChanged).
    Mine()->SetModified(true);
    RefreshTables();
    FillGroupCombos();
    auto moveTo = [](TNetworkGrid *grid, int position) {
        if (position > 0)
            grid->SetCurrentCell({.Row = position - 1, .Column = qMax(0, grid->CurrentColumn())});
    };
    if (focus.Uzel)
        moveTo(Tables->UzelGrid, Mine()->Uzels().ItemPosition(focus.Uzel));
    if (focus.Branch)
        moveTo(Tables->BranchGrid, Mine()->Branches().ItemPosition(focus.Branch));
    ApplyBranchRow();
    TElementGrid *grid = focus.Jumper ? pnlJumpers->JumperGrid : focus.People ? pnlJumpers->PeopleGrid : nullptr;
    const int index = focus.Jumper ? focus.Jumper->IndexInBranch() : focus.People ? focus.People->IndexInBranch() : -1;
    if (grid && index >= 0)
        grid->SetCurrentCell({.Row = index + 1, .Column = qMax(1, grid->CurrentColumn())});
    Mine()->RefreshScheme();
    ShowDocumentStatus();
}
