#include "editor/TJumperPanel.h"

#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "editor/StoppingCells.h"
#include "editor/TChoiceBox.h"
#include "editor/TElementGrid.h"
#include "editor/TPositionBox.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

TJumperPanel::TJumperPanel(QWidget *parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("pnlJumpers"));
    JumperGrid = new TElementGrid(TElementGrid::Stoppings);
    PeopleGrid = new TElementGrid(TElementGrid::People);
    JumperBox = new TPositionBox(TPositionBox::Stoppings);
    PeopleBox = new TPositionBox(TPositionBox::People);
    addTab(makePage(JumperGrid, JumperBox), QStringLiteral("Перемычки"));
    addTab(makePage(PeopleGrid, PeopleBox), QStringLiteral("Люди"));

    // The menu's commands and the scheme's refresh change the model (leave to edit may also
    // save): a failure is shown here, not unwound through the toolkit's event handling.
    const auto guarded = [this](void (TJumperPanel::*command)()) {
        return [this, command] { RunGuarded([this, command] { (this->*command)(); }); };
    };
    PopupMenu = new QMenu(this);
    actAddJumper = PopupMenu->addAction(QStringLiteral("Добавить перемычку"), this,
                                        guarded(&TJumperPanel::AddStopping));
    actDelJumper = PopupMenu->addAction(QStringLiteral("Удалить перемычку"), this,
                                        guarded(&TJumperPanel::DeleteStopping));
    PopupMenu->addSeparator();
    actAddPeople = PopupMenu->addAction(QStringLiteral("Добавить человека"), this,
                                        guarded(&TJumperPanel::AddPerson));
    actDelPeople = PopupMenu->addAction(QStringLiteral("Удалить человека"), this,
                                        guarded(&TJumperPanel::DeletePerson));
    PopupMenu->addSeparator();
    actGoToScheme = PopupMenu->addAction(QStringLiteral("Перейти на схему"), this,
                                         guarded(&TJumperPanel::GoToScheme));

    for (TElementGrid *grid : {JumperGrid, PeopleGrid}) {
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](QPoint at) {
            PreparePopupMenu(grid);
            PopupMenu->popup(grid->viewport()->mapToGlobal(at));
        });
        grid->ConfirmEdit = [this] { return confirm(); };
    }
    for (TPositionBox *box : {JumperBox, PeopleBox})
        box->ConfirmEdit = [this] { return confirm(); };

    connect(JumperGrid, &TElementGrid::ElementEdited, JumperBox, qOverload<>(&QWidget::update));
    connect(JumperGrid, &TElementGrid::ElementEdited, this, guarded(&TJumperPanel::refreshScheme));
    connect(JumperGrid, &TElementGrid::CurrentCellChanged, JumperBox,
            qOverload<>(&QWidget::update));
    connect(PeopleGrid, &TElementGrid::ElementEdited, PeopleBox, qOverload<>(&QWidget::update));
    connect(PeopleGrid, &TElementGrid::CurrentCellChanged, PeopleBox,
            qOverload<>(&QWidget::update));
    connect(JumperBox, &TPositionBox::ElementPressed, this,
            [this](int index) { boxPressed(JumperGrid, index); });
    connect(PeopleBox, &TPositionBox::ElementPressed, this,
            [this](int index) { boxPressed(PeopleGrid, index); });
    connect(JumperBox, &TPositionBox::ElementMoved, this,
            [this](int index) { boxMoved(JumperGrid, JumperBox, index); });
    connect(PeopleBox, &TPositionBox::ElementMoved, this,
            [this](int index) { boxMoved(PeopleGrid, PeopleBox, index); });
    connect(this, &QTabWidget::currentChanged, this, &TJumperPanel::updateSchemeItem);

    SetBranch(nullptr);
}

TJumperPanel::~TJumperPanel()
{
    // The tables and boxes outlive this part of the panel while the widget tree is taken down;
    // they must not call back into it.
    for (TElementGrid *grid : {JumperGrid, PeopleGrid}) {
        grid->Branch = nullptr;
        grid->ConfirmEdit = nullptr;
    }
    for (TPositionBox *box : {JumperBox, PeopleBox}) {
        box->Branch = nullptr;
        box->CurrentIndex = nullptr;
        box->ConfirmEdit = nullptr;
    }
}

void TJumperPanel::CloseEditors()
{
    JumperGrid->DestroyChoiceBox();
    JumperGrid->CloseEditor(true);
    PeopleGrid->CloseEditor(true);
}

QWidget *TJumperPanel::makePage(TElementGrid *grid, TPositionBox *box)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid, 1);
    layout->addWidget(box);
    box->setFixedHeight(84);
    grid->Branch = [this] { return CurrentBranch(); };
    box->Branch = [this] { return CurrentBranch(); };
    box->CurrentIndex = [grid] { return grid->currentIndex().isValid() ? grid->CurrentRow() - 1 : -1; };
    return page;
}

void TJumperPanel::SetMine(TMine *mine)
{
    m_mine = mine;
    m_branch = nullptr;
    RefreshStoppings();
    RefreshPeople();
}

void TJumperPanel::SetBranch(TBranch *branch)
{
    m_branch = branch;
    RefreshStoppings();
    RefreshPeople();
}

void TJumperPanel::SetBranchSource(std::function<TBranch *()> source)
{
    m_branchSource = std::move(source);
    RefreshStoppings();
    RefreshPeople();
}

TBranch *TJumperPanel::CurrentBranch() const
{
    if (!m_mine || m_mine->Branches().Count() == 0)
        return nullptr;
    return m_branchSource ? m_branchSource() : m_branch;
}

bool TJumperPanel::hasBranches() const
{
    return m_mine && m_mine->Branches().Count() > 0 && CurrentBranch();
}

void TJumperPanel::SetShowScheme(std::function<void()> show)
{
    m_showScheme = std::move(show);
    updateSchemeItem();
}

bool TJumperPanel::confirm()
{
    return !ConfirmEdit || ConfirmEdit();
}

void TJumperPanel::RefreshStoppings()
{
    const int n = JumperGrid->Refresh();
    JumperBox->update();
    actAddJumper->setEnabled(hasBranches());
    actDelJumper->setEnabled(n > 0);
    updateSchemeItem();
}

void TJumperPanel::RefreshPeople()
{
    const int n = PeopleGrid->Refresh();
    PeopleBox->update();
    actAddPeople->setEnabled(hasBranches());
    actDelPeople->setEnabled(n > 0);
    updateSchemeItem();
}

// "Перейти на схему" acts on the row of the page on view, so that page decides; without a
// scheme to go to it stays off.
void TJumperPanel::updateSchemeItem()
{
    const TElementGrid *grid = currentIndex() == 1 ? PeopleGrid : JumperGrid;
    actGoToScheme->setEnabled(m_showScheme && grid->ElementCount() > 0);
}

void TJumperPanel::PreparePopupMenu(TElementGrid *grid)
{
    const bool stoppings = grid == JumperGrid;
    actAddJumper->setVisible(stoppings);
    actDelJumper->setVisible(stoppings);
    actAddPeople->setVisible(!stoppings);
    actDelPeople->setVisible(!stoppings);
    actGoToScheme->setVisible(true);
    updateSchemeItem();
}

void TJumperPanel::refreshScheme()
{
    if (m_mine)
        m_mine->RefreshScheme();
}

void TJumperPanel::AddStopping()
{
    TBranch *branch = CurrentBranch();
    if (!branch || !confirm())
        return;
    TJumper *jumper = nullptr;
    {
        TUserAction action(m_mine, QStringLiteral("Добавление перемычки"));
        jumper = new TJumper(branch);
        jumper->SetPosition(0.5);
    }
    RefreshStoppings();
    setCurrentIndex(0);
    const int row = jumper->IndexInBranch() + 1;
    JumperGrid->SetCurrentCell({.Row = row, .Column = StoppingColumns::Caption});
    JumperGrid->OpenCellChoice(StoppingColumns::Caption, row);
    emit StoppingsChanged();
    refreshScheme();
}

void TJumperPanel::DeleteStopping()
{
    JumperGrid->CloseEditor(true);
    TBranch *branch = CurrentBranch();
    if (!branch || !JumperGrid->JumperAt(JumperGrid->CurrentRow()) || !confirm())
        return;
    if (AppDialogs::AskQuestion(this, QStringLiteral("Удалить перемычку?"),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                                QStringLiteral("Подтверждение")) != QMessageBox::Yes)
        return;
    // The row is looked up again: the question may have let the table change.
    if (TJumper *jumper = JumperGrid->JumperAt(JumperGrid->CurrentRow())) {
        TUserAction action(m_mine, QStringLiteral("Удаление перемычки"));
        branch->Jumpers().Delete(jumper->IndexInBranch());
        // The model does not mark a deletion; the user's does.
        branch->Mine()->SetModified(true);
    }
    RefreshStoppings();
    emit StoppingsChanged();
    refreshScheme();
}

void TJumperPanel::AddPerson()
{
    TBranch *branch = CurrentBranch();
    if (!branch || !confirm())
        return;
    TPeopleInfo *person = nullptr;
    {
        TUserAction action(m_mine, QStringLiteral("Добавление человека"));
        person = new TPeopleInfo(branch);
        person->SetPosition(0.5);
    }
    RefreshPeople();
    setCurrentIndex(1);
    PeopleGrid->SetCurrentCell({.Row = person->IndexInBranch() + 1, .Column = PeopleColumns::TabNumber});
    PeopleGrid->setFocus();
    emit PeopleChanged();
}

void TJumperPanel::DeletePerson()
{
    PeopleGrid->CloseEditor(true);
    TBranch *branch = CurrentBranch();
    if (!branch || !PeopleGrid->PersonAt(PeopleGrid->CurrentRow()) || !confirm())
        return;
    if (AppDialogs::AskQuestion(this, QStringLiteral("Убрать человека?"),
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                                QStringLiteral("Подтверждение")) != QMessageBox::Yes)
        return;
    if (TPeopleInfo *person = PeopleGrid->PersonAt(PeopleGrid->CurrentRow())) {
        TUserAction action(m_mine, QStringLiteral("Удаление человека"));
        branch->People().Delete(person->IndexInBranch());
        branch->Mine()->SetModified(true);
    }
    RefreshPeople();
    emit PeopleChanged();
}

TJumper *TJumperPanel::DraggedStopping() const
{
    return static_cast<TJumper *>(JumperBox->DraggedElement());
}

TPeopleInfo *TJumperPanel::DraggedPerson() const
{
    return static_cast<TPeopleInfo *>(PeopleBox->DraggedElement());
}

void TJumperPanel::GoToScheme()
{
    if (!m_showScheme || !m_mine)
        return;
    m_showScheme();
    if (currentIndex() == 0) {
        if (TJumper *jumper = JumperGrid->JumperAt(JumperGrid->CurrentRow()))
            m_mine->SelectJumper(jumper);
    } else if (TPeopleInfo *person = PeopleGrid->PersonAt(PeopleGrid->CurrentRow())) {
        m_mine->SelectPeople(person);
    }
}

void TJumperPanel::boxPressed(TElementGrid *grid, int index)
{
    grid->CloseEditor(true);
    grid->SetCurrentCell({.Row = index + 1, .Column = 3});
}

void TJumperPanel::boxMoved(TElementGrid *grid, TPositionBox *box, int index)
{
    box->update();
    if (index >= 0 && grid->CurrentRow() != index + 1)
        grid->SetCurrentCell({.Row = index + 1, .Column = grid->CurrentColumn()});
    grid->viewport()->update();
    if (grid == JumperGrid)
        refreshScheme();
}

int TJumperPanel::HeightForRows(int rows) const
{
    const QStyle *st = style();
    const int pane = 2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int table = 2 * JumperGrid->frameWidth() + JumperGrid->horizontalHeader()->height()
                      + rows * JumperGrid->DefaultRowHeight()
                      + st->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, JumperGrid);
    return tabBar()->sizeHint().height() + pane + table + JumperBox->height();
}

void TJumperPanel::ApplyDisplaySettings()
{
    JumperGrid->ApplyDisplaySettings();
    PeopleGrid->ApplyDisplaySettings();
    JumperGrid->DestroyChoiceBox();
    JumperGrid->horizontalHeader()->viewport()->update();
}

void TJumperPanel::hideEvent(QHideEvent *event)
{
    JumperGrid->DestroyChoiceBox();
    QTabWidget::hideEvent(event);
}
