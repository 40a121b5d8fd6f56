// The document window's side of the topology check: the three stages with the hourglass, the
// status bar and the message panel; following a message line to its element; the hanging-and-
// isolated-elements window's way into the tables; the resistance of one branch.
//
// The check itself (what is found and in which words) lives in core (checks/TTopologyCheck);
// here only what the window does around it.
#include "app/TChildForm.h"

#include "app/TMainForm.h"
#include "base/Guarded.h"
#include "base/WaitCursor.h"
#include "checks/MessageTarget.h"
#include "checks/Resistance.h"
#include "checks/TCheckStatus.h"
#include "checks/TIsolForm.h"
#include "checks/TMessagePanel.h"
#include "checks/TTopologyCheck.h"
#include "compare/MineDiff.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "editor/TPositionBox.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "settings/TConfig.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QSplitterHandle>

namespace {

// The main window's status bar as the check sees it.
class MainFormStatus : public TCheckStatus {
public:
    explicit MainFormStatus(TMainForm *form) : m_form(form) {}
    void ShowStatusText(const QString &text) override
    {
        if (m_form)
            m_form->ShowStatusText(text);
    }
    void ClearStatusText() override
    {
        if (m_form)
            m_form->ClearStatusText();
    }

private:
    TMainForm *m_form;
};

} // namespace

void TChildForm::buildMessagePanel()
{
    pnlMessages = new TMessagePanel(MainSplit);
    lbMessages = pnlMessages->lbMessages;
    btnHideMessages = pnlMessages->btnHideMessages;
    connect(pnlMessages, &TMessagePanel::HideRequested, this, [this] {
        ClearMessages();
        ShowMessages(false);
    });
    // Following a line moves the tables' rows (an edit in progress is applied on the way).
    connect(pnlMessages, &TMessagePanel::FollowReference, this,
            [this](const TErrorInfo &info) { RunGuarded([&] { FollowMessage(info); }); });
}

void TChildForm::ShowMessages(bool show)
{
    const int index = MainSplit->indexOf(pnlMessages);
    QSplitterHandle *handle = MainSplit->handle(index);
    // The splitter handle above the panel comes and goes with it, at once, not when the
    // splitter gets round to it.
    if (handle)
        handle->setObjectName(QStringLiteral("JumperSplit"));
    if (show == !pnlMessages->isHidden())
        return;
    pnlMessages->setVisible(show);
    if (handle)
        handle->setVisible(show);
    if (!show)
        return;
    // A panel that has never been on screen, or was squeezed to nothing, comes back at the
    // height the user last gave it (else its first height), taken from the tables.
    QList<int> sizes = MainSplit->sizes();
    if (index >= 0 && index < sizes.size() && sizes[index] < TMessagePanel::kStripWidth + 11) {
        const int height = RememberedSize(Config ? Config->MessagePanelHeight : 0,
                                          TMessagePanel::kInitialHeight);
        const int need = height - sizes[index];
        sizes[index] = height;
        sizes[0] = qMax(0, sizes[0] - need);
        MainSplit->setSizes(sizes);
    }
}

void TChildForm::ClearMessages()
{
    pnlMessages->ClearMessages();
}

// ------------------------------------------------------------------------------------------
// The three stages

namespace {

void applyPanelRule(TChildForm *form, TPanelAction action)
{
    switch (action) {
    case TPanelAction::Show: form->ShowMessages(true); break;
    case TPanelAction::Hide: form->ShowMessages(false); break;
    case TPanelAction::Keep: break;
    }
}

} // namespace

bool TChildForm::CheckTopology(bool KeepPanel)
{
    WaitCursor cursor;
    MainFormStatus status(m_mainForm);
    // A value still in an editor belongs to the network the check reads.
    Tables->UzelGrid->CloseEditor();
    Tables->BranchGrid->CloseEditor();

    TTopologyCheck check(*Mine(), *pnlMessages, &status);
    TStageResult r;
    try {
        TUserAction action(Mine(), QStringLiteral("Удаление пустых строк"));
        r = check.CheckTopology();
    } catch (...) {
        // Rows may be gone already: the tables must not go on showing them.
        RefreshTables();
        throw;
    }
    if (r.DeletedAny())
        RefreshTables();
    applyPanelRule(this, r.PanelAction(KeepPanel));
    return r.Passed;
}

bool TChildForm::CheckCoordinates(bool KeepPanel)
{
    if (!CheckTopology(true))
        return false;
    WaitCursor cursor;
    MainFormStatus status(m_mainForm);
    TTopologyCheck check(*Mine(), *pnlMessages, &status);
    TStageResult r;
    try {
        r = check.CheckCoordinates();
    } catch (...) {
        RefreshTables();
        throw;
    }
    // The valid flag brought resolved ends, lengths and incidences: every table shows them.
    RefreshTables();
    pnlJumpers->RefreshStoppings();
    if (pnlJumpers->JumperBox)
        pnlJumpers->JumperBox->update();
    applyPanelRule(this, r.PanelAction(KeepPanel));
    return r.Passed;
}

bool TChildForm::CheckPhysics(bool KeepPanel)
{
    if (!CheckCoordinates(true))
        return false;
    WaitCursor cursor;
    MainFormStatus status(m_mainForm);
    TTopologyCheck check(*Mine(), *pnlMessages, &status);
    const TStageResult r = check.CheckPhysics();
    applyPanelRule(this, r.PanelAction(KeepPanel));
    return r.Passed;
}

// ------------------------------------------------------------------------------------------
// Navigation

void TChildForm::FollowMessage(const TErrorInfo &info)
{
    const TMessageTarget target = MessageTarget(info);
    if (target.table == TMessageTarget::None)
        return;
    const bool uzels = target.table == TMessageTarget::UzelTable;
    TNetworkGrid *grid = uzels ? Tables->UzelGrid : Tables->BranchGrid;
    const int count = uzels ? Mine()->Uzels().Count() : Mine()->Branches().Count();
    // The reference counts rows as they were at the check; rows deleted since leave it
    // pointing past the end, where there is nothing to show.
    if (info.Index < 1 || info.Index > count || info.Index - 1 > grid->LastRow())
        return;
    grid->SetCurrentCell({.Row = info.Index - 1, .Column = qMax(0, grid->CurrentColumn())});
    for (qsizetype i = 0; i < target.columnKinds.size(); ++i)
        Tables->GoToColumn(grid, target.columnKinds[i], i == target.columnKinds.size() - 1);
}

void TChildForm::ShowBranchRow(int index)
{
    // The window first: activating it hands the focus back to whatever had it there before.
    bringToFront();
    FollowMessage(TErrorInfo{ErrorKind::BranchNumber, index});
}

void TChildForm::ShowDiffPlace(const TDiffPlace &place)
{
    bringToFront();
    if (place.Uzel >= 0) {
        FollowMessage(TErrorInfo{ErrorKind::UzelNumber, place.Uzel + 1});
        return;
    }
    if (place.Branch < 0 || place.Branch >= Mine()->Branches().Count())
        return;
    FollowMessage(TErrorInfo{ErrorKind::BranchNumber, place.Branch + 1});
    // The branch row has just filled the stopping and people tables with that branch's.
    const TBranch *branch = Mine()->Branches().Items(place.Branch + 1);
    if (place.Jumper >= 0 && place.Jumper < branch->Jumpers().Count()) {
        pnlJumpers->setCurrentIndex(0);
        pnlJumpers->JumperGrid->SetCurrentCell(
            {.Row = place.Jumper + 1, .Column = qMax(1, pnlJumpers->JumperGrid->CurrentColumn())});
        pnlJumpers->JumperGrid->setFocus();
    } else if (place.Person >= 0 && place.Person < branch->People().Count()) {
        pnlJumpers->setCurrentIndex(1);
        pnlJumpers->PeopleGrid->SetCurrentCell(
            {.Row = place.Person + 1, .Column = qMax(1, pnlJumpers->PeopleGrid->CurrentColumn())});
        pnlJumpers->PeopleGrid->setFocus();
    }
}

void TChildForm::ShowUzelRow(int index)
{
    bringToFront();
    FollowMessage(TErrorInfo{ErrorKind::UzelNumber, index});
}

void TChildForm::bringToFront()
{
    // The list window leads to a document that need not be the active one.
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (sub && sub->mdiArea() && sub->mdiArea()->activeSubWindow() != sub)
        sub->mdiArea()->setActiveSubWindow(sub);
}

void TChildForm::closeCheckWindows()
{
    if (TIsolForm *isol = TIsolForm::Instance(); isol && isol->Host() == this)
        isol->close();
}

// ------------------------------------------------------------------------------------------
// Resistance

bool TChildForm::ComputeResistance(TBranch *branch)
{
    return branch && ::ComputeResistance(*branch);
}
