#pragma once
// The stopping list ("Список перемычек"): every stopping of a mine in one table, sortable by a
// click on a column header, from which "&Перейти" leads to the stopping in the document's
// tables and "&На схему" to its place on the 3D scheme.
//
// Who owns what: the window holds references to the mine's stoppings and owns none; it
// changes nothing in the model. Where a choice leads is the caller's (GoTo, ShowOnScheme).
//
// Columns: 0 is an empty fixed column, 1 "Ветвь" (the branch number), 2..14 the document's
// stopping table columns 1..13 in their order, drawn the way that table draws them: the caller
// hands that drawing over (SetCellLook), as it belongs to the tables' room. Without it those
// columns stay empty.
#include <QDialog>
#include <functional>
#include <vector>

class QPushButton;
class QTableView;
class TJumper;
class TMine;
class TStoppingListModel;

class TfrmJumpers : public QDialog {
    Q_OBJECT
public:
    static constexpr char HelpPage[] = "stopping-list.html";

    struct TCellState {
        bool Fixed = false;      // header row or fixed column
        bool Selected = false;   // a cell of the selected row
        bool Focused = false;    // the current cell while the table has the focus
        bool Disabled = false;
    };
    // How the stopping table draws one of its cells (column 1..13 of that table; row 0 is the
    // header row, jumper null there and for a row without a stopping) and how wide it lays out
    // a column in a font.
    struct TStoppingCellLook {
        std::function<void(const TJumper *jumper, QPainter &painter, int column,
                           const TCellState &state, const QColor &fontColor,
                           const QColor &fixedColor, const QRect &rect, int row)>
            Draw;
        std::function<int(int column, const QFont &font)> Width;
    };
    // Takes the look and lays the columns out by it.
    void SetCellLook(TStoppingCellLook look);

    static constexpr int ColumnCount = 15;
    static constexpr int DefaultRowHeight = 20;

    explicit TfrmJumpers(TMine *mine, QWidget *parent = nullptr);
    ~TfrmJumpers() override;

    // "&Перейти": the stopping's branch row and stopping row in the document's tables.
    std::function<void(TJumper *)> GoTo;
    // "&На схему": the scheme command, then the stopping selected when the scheme is there.
    std::function<void(TJumper *)> ShowOnScheme;

    // The list in its present order.
    const std::vector<TJumper *> &Stoppings() const { return m_list; }
    // Sorts by list column 1..14 and redraws.
    void SortByColumn(int column);
    int SortColumn() const { return m_sortColumn; }
    // The stopping of the selected row, or null.
    TJumper *SelectedStopping() const;
    void SelectRow(int index);   // 0-based data row

    void GoToStopping();
    void ShowStoppingOnScheme();

    QTableView *Grid = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnGo = nullptr;
    QPushButton *btnScheme = nullptr;

private:
    friend class TStoppingListModel;
    friend class TStoppingListDelegate;
    friend class TStoppingListHeader;
    void paintCell(QPainter &painter, const QRect &rect, int column, int row, TCellState state) const;
    void layoutColumns();

    TMine *m_mine;
    TStoppingCellLook m_look;
    std::vector<TJumper *> m_list;
    int m_sortColumn = 1;
    TStoppingListModel *m_model = nullptr;
};
