#pragma once
// The stopping and people panel of the document window, below the node and branch tables:
// the pages "Перемычки" and "Люди", each a table of the current branch's stoppings (persons)
// over its position box, and the context menu of both tables.
//
// Who owns what: the document window owns the panel; the panel owns its tables, boxes, menu
// and actions, never a model element. It reads the mine and the current branch through the
// document window (SetMine, SetBranch or SetBranchSource) each time it needs them, and changes
// the model only through the setters of stoppings and persons and their creation and deletion.
// The document window connects:
//  - the branch table's "current branch changed" to RefreshStoppings/RefreshPeople (SetBranch
//    does both);
//  - StoppingsChanged to a repaint of the branch table (its stopping symbol);
//  - ConfirmEdit to its results question, ShowScheme to the 3D scheme command once that exists
//    ("Перейти на схему" stays disabled without it).
#include <QTabWidget>
#include <functional>

class QAction;
class QMenu;
class TBranch;
class TElementGrid;
class TJumper;
class TPeopleInfo;
class TMine;
class TPositionBox;

class TJumperPanel : public QTabWidget {
    Q_OBJECT
public:
    explicit TJumperPanel(QWidget *parent = nullptr);
    ~TJumperPanel() override;

    void SetMine(TMine *mine);
    TMine *Mine() const { return m_mine; }
    // A fixed current branch (refreshes both pages) ...
    void SetBranch(TBranch *branch);
    // ... or where to ask for it each time (the branch of the branch table's current row).
    void SetBranchSource(std::function<TBranch *()> source);
    TBranch *CurrentBranch() const;

    std::function<bool()> ConfirmEdit;
    // Shows the 3D scheme (the main window's scheme command); null while there is none.
    void SetShowScheme(std::function<void()> show);

    void RefreshStoppings();
    void RefreshPeople();
    // Commits an open edit of either table and closes its editor (the window is closing).
    void CloseEditors();
    // The commands of the context menu (and of the main window's stopping commands).
    void AddStopping();
    void DeleteStopping();
    void AddPerson();
    void DeletePerson();
    void GoToScheme();

    // Font and row heights after the display settings changed.
    void ApplyDisplaySettings();
    // The panel's height with room for rows of the stopping table (header, tab bar, position box
    // and a horizontal scroll bar included).
    int HeightForRows(int rows) const;

    TElementGrid *JumperGrid = nullptr;
    TElementGrid *PeopleGrid = nullptr;
    TPositionBox *JumperBox = nullptr;
    TPositionBox *PeopleBox = nullptr;
    QMenu *PopupMenu = nullptr;
    QAction *actAddJumper = nullptr;      // "Добавить перемычку"
    QAction *actDelJumper = nullptr;      // "Удалить перемычку"
    QAction *actAddPeople = nullptr;      // "Добавить человека"
    QAction *actDelPeople = nullptr;      // "Удалить человека"
    QAction *actGoToScheme = nullptr;     // "Перейти на схему"

    // The element being dragged in a position box, or null.
    TJumper *DraggedStopping() const;
    TPeopleInfo *DraggedPerson() const;

    // Sets the context menu up for a table (visibility of its items) as on opening it there.
    void PreparePopupMenu(TElementGrid *grid);

signals:
    // Stoppings were added or removed (the branch table shows a symbol for branches with
    // stoppings).
    void StoppingsChanged();
    // Persons were added or removed (the branch table counts them).
    void PeopleChanged();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makePage(TElementGrid *grid, TPositionBox *box);
    bool confirm();
    bool hasBranches() const;
    void updateSchemeItem();
    void refreshScheme();
    void boxPressed(TElementGrid *grid, int index);
    void boxMoved(TElementGrid *grid, TPositionBox *box, int index);

    TMine *m_mine = nullptr;
    TBranch *m_branch = nullptr;
    std::function<TBranch *()> m_branchSource;
    std::function<void()> m_showScheme;
};
