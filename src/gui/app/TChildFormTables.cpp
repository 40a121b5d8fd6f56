// The document window's node and branch tables: where they sit, what they tell the rest of the
// window (the seam and plan-position boxes, the stopping and people panel, the caption of the
// edit command) and what the window asks of them.
#include "app/TChildForm.h"

#include "app/TMainForm.h"
#include "editor/TElementGrid.h"
#include "editor/TJumperPanel.h"
#include "editor/TNetworkGrid.h"
#include "editor/TNetworkTables.h"
#include "model/TBranch.h"
#include "model/TUzel.h"
#include "settings/TConfig.h"

#include <QAction>
#include <QScopeGuard>
#include <QSplitter>

void TChildForm::buildTables()
{
    Tables = new TNetworkTables(m_doc, TablesSplit);
    UzelGrid = Tables->UzelGrid;
    BranchGrid = Tables->BranchGrid;
    TablesSplit->addWidget(UzelGrid);
    TablesSplit->addWidget(BranchGrid);
    TablesSplit->setStretchFactor(0, 0);
    TablesSplit->setStretchFactor(1, 1);
    m_uzelWidthBeforeHide = RememberedSize(Config ? Config->UzelTableWidth : 0, 229);
    TablesSplit->setSizes({m_uzelWidthBeforeHide, 600});

    // Calculated data change only after the document's question.
    Tables->ConfirmResults = [this] { return ConfirmEdit(); };

    connect(Tables, &TNetworkTables::CurrentBranchChanged, this, [this](TBranch *branch) {
        pnlJumpers->RefreshStoppings();
        pnlJumpers->RefreshPeople();
        ShowBranchGroups();
        if (branch)
            m_mainForm->IncidenceShow(Mine(), false, branch->Number());
    });
    connect(Tables, &TNetworkTables::CurrentUzelChanged, this,
            [this](TUzel *uzel) { m_mainForm->IncidenceShow(Mine(), true, uzel->Number()); });
    connect(Tables, &TNetworkTables::SchemeSyncMoved, pnlJumpers, &TJumperPanel::RefreshStoppings);
    // "Перейти на схему" runs the scheme command and then marks the stopping there.
    pnlJumpers->SetShowScheme([this] { m_mainForm->actGraph3D->trigger(); });
    connect(Tables, &TNetworkTables::JumperTableRefresh, pnlJumpers, &TJumperPanel::RefreshStoppings);
    connect(Tables, &TNetworkTables::TableFocused, this, [this] {
        if (pnlJumpers->JumperGrid)
            pnlJumpers->JumperGrid->DestroyChoiceBox();
    });
    connect(Tables, &TNetworkTables::EditingChanged, m_mainForm, &TMainForm::SetEditViewCaption);
    // The branch table shows a symbol for branches with stoppings and counts their people.
    connect(pnlJumpers, &TJumperPanel::StoppingsChanged, Tables, &TNetworkTables::RepaintTables);
    connect(pnlJumpers, &TJumperPanel::PeopleChanged, Tables, &TNetworkTables::RepaintTables);

    // Each table's context menu holds the main window's add and delete commands for it.
    UzelGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    UzelGrid->addActions({m_mainForm->actAddUzel, m_mainForm->actDelUzel});
    BranchGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    BranchGrid->addActions({m_mainForm->actAddBranch, m_mainForm->actDelBranch});
}

void TChildForm::LayoutColumns()
{
    Tables->LayoutColumns();
}

void TChildForm::RepaintTables()
{
    // Values may have changed (a transformation, resistances): no number is cut.
    Tables->WidenColumns();
    Tables->RepaintTables();
}

void TChildForm::GoToColumn(QWidget *table, int kind, bool focus)
{
    Tables->GoToColumn(table == UzelGrid ? Tables->UzelGrid : Tables->BranchGrid, kind, focus);
}

bool TChildForm::UzelTableFocused() const
{
    const QWidget *focus = focusWidget();
    return focus && (focus == UzelGrid || UzelGrid->isAncestorOf(focus));
}

void TChildForm::SchemeSelectsRow(bool uzels, int index)
{
    TNetworkGrid *grid = uzels ? Tables->UzelGrid : Tables->BranchGrid;
    if (index < 1 || index - 1 > grid->LastRow())
        return;
    Tables->SchemeSync = true;
    const auto sync = qScopeGuard([this] { Tables->SchemeSync = false; });
    grid->SetCurrentCell({.Row = index - 1, .Column = qMax(0, grid->CurrentColumn())});
}
