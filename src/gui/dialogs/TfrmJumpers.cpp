#include "dialogs/TfrmJumpers.h"

#include "base/CellDrawing.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "base/Utils.h"
#include "model/NumberText.h"
#include "model/StoppingOrder.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "settings/TConfig.h"

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int FixedColumnWidth = 12;
const char *const BranchHeader = "Ветвь";

} // namespace

void TfrmJumpers::SetCellLook(TStoppingCellLook look)
{
    m_look = std::move(look);
    layoutColumns();
}

// Model row r is data row r + 1 of the list (at least one, empty when there is no stopping);
// model column c is list column c + 1. The text is drawn by the window, not taken from here.
class TStoppingListModel : public QAbstractTableModel {
public:
    explicit TStoppingListModel(TfrmJumpers *form) : QAbstractTableModel(form), m_form(form) {}
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max<int>(int(m_form->m_list.size()), 1);
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : TfrmJumpers::ColumnCount - 1;
    }
    QVariant data(const QModelIndex &, int) const override { return {}; }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    TfrmJumpers *m_form;
};

class TStoppingListDelegate : public QStyledItemDelegate {
public:
    explicit TStoppingListDelegate(TfrmJumpers *form) : QStyledItemDelegate(form), m_form(form) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        TfrmJumpers::TCellState state;
        state.Selected = option.state & QStyle::State_Selected;
        state.Focused = index == m_form->Grid->currentIndex() && m_form->Grid->hasFocus();
        state.Disabled = !m_form->Grid->isEnabled();
        painter->setFont(m_form->Grid->font());
        m_form->paintCell(*painter, option.rect, index.column() + 1, index.row() + 1, state);
    }

private:
    TfrmJumpers *m_form;
};

// The header row (horizontal) and the empty fixed column (vertical). Over the header row's
// cells the pointer is a hand, and letting go of the button on one sorts by its column.
class TStoppingListHeader : public QHeaderView {
public:
    TStoppingListHeader(Qt::Orientation orientation, TfrmJumpers *form)
        : QHeaderView(orientation, form), m_form(form)
    {
        setSectionsClickable(false);
        setHighlightSections(false);
        if (orientation == Qt::Horizontal)
            viewport()->setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        TfrmJumpers::TCellState state;
        state.Fixed = true;
        state.Disabled = !m_form->Grid->isEnabled();
        const bool horizontal = orientation() == Qt::Horizontal;
        m_form->paintCell(*painter, rect.adjusted(0, 0, -1, -1), horizontal ? logicalIndex + 1 : 0,
                          horizontal ? 0 : logicalIndex + 1, state);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QHeaderView::mouseReleaseEvent(event);
        if (orientation() == Qt::Horizontal && event->button() == Qt::LeftButton) {
            const int section = logicalIndexAt(event->position().toPoint());
            if (section >= 0)
                m_form->SortByColumn(section + 1);
        }
        m_form->Grid->viewport()->update();
    }

private:
    TfrmJumpers *m_form;
};

TfrmJumpers::TfrmJumpers(TMine *mine, QWidget *parent) : QDialog(parent), m_mine(mine)
{
    setObjectName(QStringLiteral("frmJumpers"));
    setWindowTitle(QStringLiteral("Список перемычек"));

    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    m_model = new TStoppingListModel(this);
    Grid->setModel(m_model);
    Grid->setHorizontalHeader(new TStoppingListHeader(Qt::Horizontal, this));
    Grid->setVerticalHeader(new TStoppingListHeader(Qt::Vertical, this));
    Grid->setItemDelegate(new TStoppingListDelegate(this));
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setCornerButtonEnabled(false);
    Grid->setWordWrap(false);
    // The font of the document's tables, whose drawing the list borrows; rows no lower than
    // the list's own 20 pixels, and higher where that font needs it.
    const QFont font = Config ? CellFont(Config->Fontname, Config->FontSize)
                              : CellFont(QStringLiteral("MS Sans Serif"), 8);
    Grid->setFont(font);
    Grid->horizontalHeader()->setFont(font);
    Grid->verticalHeader()->setFont(font);
    const int rowHeight = std::max<int>(DefaultRowHeight, CellRowHeight(font, Grid));
    Grid->horizontalHeader()->setFixedHeight(2 * rowHeight);
    Grid->horizontalHeader()->setMinimumSectionSize(4);
    Grid->verticalHeader()->setFixedWidth(FixedColumnWidth);
    Grid->verticalHeader()->setMinimumSectionSize(4);
    Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->verticalHeader()->setDefaultSectionSize(rowHeight);

    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);
    btnGo = new QPushButton(QStringLiteral("&Перейти"), this);
    btnGo->setObjectName(QStringLiteral("btnGo"));
    btnGo->setDefault(true);
    btnScheme = new QPushButton(QStringLiteral("&На схему"), this);
    btnScheme->setObjectName(QStringLiteral("btnScheme"));
    btnScheme->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnGo);
    buttons->addWidget(btnScheme);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);

    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    InstallHelpKey(this, HelpPage);
    // Both move the document's tables or the scheme (an edit in progress is applied on the way).
    connect(btnGo, &QPushButton::clicked, this, [this] { RunGuarded([this] { GoToStopping(); }); });
    connect(btnScheme, &QPushButton::clicked, this, [this] { RunGuarded([this] { ShowStoppingOnScheme(); }); });

    if (m_mine)
        m_list = StoppingOrder::AllStoppings(*m_mine);
    m_model->reset();
    SortByColumn(StoppingOrder::BranchColumn);
    const bool any = !m_list.empty();
    btnGo->setEnabled(any);
    btnScheme->setEnabled(any);
    layoutColumns();
    if (any)
        SelectRow(0);
}

TfrmJumpers::~TfrmJumpers() = default;

void TfrmJumpers::layoutColumns()
{
    const QFontMetrics metrics(Grid->font());
    int total = FixedColumnWidth;
    for (int c = 1; c < ColumnCount; ++c) {
        int width;
        if (c == 1)
            width = std::max(40, metrics.horizontalAdvance(QString::fromUtf8(BranchHeader)) + 10);
        else if (m_look.Width)
            width = m_look.Width(c - 1, Grid->font());
        else
            width = 50;
        Grid->setColumnWidth(c - 1, width);
        total += width;
    }
    // Room for every column, a scroll bar and the frame, within reason.
    resize(std::min(total + 40, 1100), 360);
}

void TfrmJumpers::SortByColumn(int column)
{
    if (column < StoppingOrder::BranchColumn || column > StoppingOrder::LastColumn)
        return;
    StoppingOrder::Sort(m_list, column);
    m_sortColumn = column;
    Grid->viewport()->update();
}

TJumper *TfrmJumpers::SelectedStopping() const
{
    const QModelIndexList rows = Grid->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const size_t row = size_t(rows.first().row());
    return row < m_list.size() ? m_list[row] : nullptr;
}

void TfrmJumpers::SelectRow(int index)
{
    if (index < 0 || size_t(index) >= m_list.size())
        return;
    Grid->setCurrentIndex(m_model->index(index, 0));
    Grid->selectRow(index);
}

void TfrmJumpers::GoToStopping()
{
    TJumper *jumper = SelectedStopping();
    if (!jumper)
        return;
    if (GoTo)
        GoTo(jumper);
    accept();
}

void TfrmJumpers::ShowStoppingOnScheme()
{
    TJumper *jumper = SelectedStopping();
    if (!jumper)
        return;
    if (ShowOnScheme)
        ShowOnScheme(jumper);
    accept();
}

void TfrmJumpers::paintCell(QPainter &painter, const QRect &rect, int column, int row,
                            TCellState state) const
{
    const QPalette palette = QGuiApplication::palette();
    const QColor face = Grid->palette().color(QPalette::Button);
    const QColor fontColor = Grid->palette().color(QPalette::WindowText);
    const TJumper *jumper = row >= 1 && size_t(row) <= m_list.size() ? m_list[size_t(row - 1)] : nullptr;
    if (column >= 2) {
        if (m_look.Draw) {
            m_look.Draw(jumper, painter, column - 1, state, fontColor, face, rect, row);
        } else {
            painter.save();
            painter.setBrush(state.Fixed ? face : palette.color(QPalette::Base));
            state.Fixed ? DrawHeaderCell(painter, rect, QString(), true)
                        : DrawCellText(painter, rect, QString(), false, Qt::AlignLeft);
            painter.restore();
        }
        return;
    }
    painter.save();
    if (state.Fixed) {
        painter.setBrush(face);
        painter.setPen(state.Disabled ? palette.color(QPalette::Disabled, QPalette::WindowText) : fontColor);
        DrawHeaderCell(painter, rect, column == 1 && row == 0 ? QString::fromUtf8(BranchHeader) : QString(), true);
    } else {
        painter.setBrush(palette.color(state.Selected ? QPalette::Highlight : QPalette::Base));
        painter.setPen(palette.color(state.Selected ? QPalette::HighlightedText : QPalette::Text));
        const QString text = jumper ? NumberText::Int(jumper->Branch()->Number()) : QString();
        DrawCellText(painter, rect, text, state.Focused, Qt::AlignLeft);
    }
    painter.restore();
}
