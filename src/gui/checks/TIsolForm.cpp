#include "checks/TIsolForm.h"

#include "base/AppDialogs.h"
#include "base/CellDrawing.h"
#include "base/Guarded.h"
#include "base/Help.h"
#include "checks/DeadEnds.h"
#include "checks/TIsolHost.h"
#include "model/TBranchList.h"
#include "model/TMine.h"
#include "model/TUzelList.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 18;
constexpr int kFixedColumnWidth = 10;
constexpr int kHelpTopic = 11;

TIsolForm *s_instance = nullptr;
QPoint s_position(300, 300);

// Fixed cells: button face, raised frame, the text centred on one line.
class FixedCells : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        const QString text = orientation() == Qt::Horizontal
            ? model()->headerData(logicalIndex, Qt::Horizontal).toString()
            : QString();
        painter->save();
        painter->setBrush(palette().button());
        painter->setPen(palette().windowText().color());
        DrawHeaderCell(*painter, rect.adjusted(0, 0, -1, -1), text, true);
        painter->restore();
    }
};

// Data cells: window colour, text left with a 2-pixel inset; the selected row of the focused
// grid in the selection colours.
class DataCells : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
        const bool selected = (option.state & QStyle::State_Selected) && view && view->hasFocus();
        const QPalette &pal = option.palette;
        painter->save();
        painter->setBrush(selected ? pal.highlight() : pal.base());
        painter->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        DrawCellText(*painter, option.rect, index.data().toString(), false, Qt::AlignLeft);
        painter->restore();
    }
};

QStringList BranchCells(const TDeadEndBranch &b)
{
    return {QString::number(b.Number), QString::number(b.StartNumber), QString::number(b.EndNumber)};
}

} // namespace

TIsolGrid::TIsolGrid(const QStringList &headers, const QList<int> &widths, QWidget *parent)
    : QTableWidget(parent)
{
    // The columns are only a few characters wide: a small font keeps the headers whole.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    setHorizontalHeader(new FixedCells(Qt::Horizontal, this));
    setVerticalHeader(new FixedCells(Qt::Vertical, this));
    setColumnCount(int(headers.size()));
    setHorizontalHeaderLabels(headers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setFixedHeight(kRowHeight);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setFixedWidth(widths.value(0, kFixedColumnWidth));
    verticalHeader()->setHighlightSections(false);
    for (int c = 0; c < headers.size(); ++c)
        setColumnWidth(c, widths.value(c + 1, 35));
    setItemDelegate(new DataCells(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setTracking(true);
    int width = 2 * frameWidth() + verticalHeader()->width() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < headers.size(); ++c)
        width += columnWidth(c);
    setFixedWidth(width);
    Reset();
}

void TIsolGrid::Reset()
{
    clearContents();
    setRowCount(1);
}

void TIsolGrid::AppendEntry(const QStringList &cells)
{
    const int row = rowCount() - 1;
    for (int c = 0; c < cells.size() && c < columnCount(); ++c)
        setItem(row, c, new QTableWidgetItem(cells[c]));
    setRowCount(row + 2);
}

void TIsolGrid::Finish()
{
    if (rowCount() > 1)
        setRowCount(rowCount() - 1);
}

bool TIsolGrid::CurrentNumber(qint32 &number) const
{
    const QTableWidgetItem *cell = item(currentRow(), 0);
    if (!cell || cell->text().isEmpty())
        return false;
    bool ok = false;
    number = cell->text().toInt(&ok);
    return ok;
}

TIsolForm::TIsolForm(QWidget *parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Висячие и изолированные ветви"));

    const QStringList branchHeaders{QStringLiteral("Ветвь"), QStringLiteral("Н. у."), QStringLiteral("К. у.")};
    const QList<int> branchWidths{10, 35, 34, 33};
    Grid1 = new TIsolGrid(branchHeaders, branchWidths, this);
    Grid2 = new TIsolGrid(branchHeaders, branchWidths, this);
    Grid3 = new TIsolGrid({QStringLiteral("Узел")}, {10, 35}, this);

    auto column = [this](const QString &caption, TIsolGrid *grid) {
        auto *box = new QVBoxLayout;
        auto *label = new QLabel(caption, this);
        label->setBuddy(grid);
        box->addWidget(label);
        box->addWidget(grid, 1);
        connect(grid, &QTableWidget::cellDoubleClicked, this, [this, grid] { RunGuarded([&] { GridDblClick(grid); }); });
        return box;
    };

    btnClose = new QPushButton(QStringLiteral("&Закрыть"), this);
    btnRefresh = new QPushButton(QStringLiteral("&Обновить"), this);
    btnHelp = new QPushButton(QStringLiteral("&Помощь"), this);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    // Refreshing runs the topology check on the document: a failure is shown here.
    connect(btnRefresh, &QPushButton::clicked, this, [this] { RunGuarded([this] { Refresh(); }); });
    connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelpTopic(this, kHelpTopic); });
    InstallHelpKey(this, kHelpTopic);

    auto *grids = new QHBoxLayout;
    grids->addLayout(column(QStringLiteral("Висячие ветви"), Grid1));
    grids->addLayout(column(QStringLiteral("Изолированные ветви"), Grid2));
    grids->addLayout(column(QStringLiteral("Изол. узлы"), Grid3));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    buttons->addWidget(btnRefresh);
    buttons->addWidget(btnHelp);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);
    setFixedSize(QSize(sizeHint().width(), 300));
}

TIsolForm::~TIsolForm()
{
    if (s_instance == this)
        s_instance = nullptr;
}

TIsolForm *TIsolForm::Instance()
{
    return s_instance;
}

QPoint TIsolForm::RememberedPosition()
{
    return s_position;
}

TIsolForm *TIsolForm::Open(TIsolHost *host)
{
    if (!s_instance) {
        s_instance = new TIsolForm;
        s_instance->move(s_position);
    }
    TIsolForm *form = s_instance;
    form->SetHost(host);
    form->Refresh();
    return s_instance;   // null when the refresh closed the window
}

TIsolHost *TIsolForm::Host() const
{
    return m_hostObject ? m_host : nullptr;
}

void TIsolForm::SetHost(TIsolHost *host)
{
    if (m_hostObject)
        disconnect(m_hostObject, nullptr, this, nullptr);
    m_host = host;
    m_hostObject = host ? host->HostObject() : nullptr;
    // The window never outlives its document: whatever it would do next would act on a closed one.
    if (m_hostObject)
        connect(m_hostObject, &QObject::destroyed, this, &QWidget::close);
    btnRefresh->setEnabled(m_hostObject != nullptr);
}

void TIsolForm::Refresh()
{
    TIsolHost *host = Host();
    if (!host || !host->CheckTopology(false)) {
        close();
        return;
    }
    Rebuild();
    show();
    raise();
}

void TIsolForm::Rebuild()
{
    for (TIsolGrid *grid : {Grid1, Grid2, Grid3})
        grid->Reset();
    const TDeadEnds ends = CollectDeadEnds(*Host()->Mine());
    for (const TDeadEndBranch &b : ends.Hanging)
        Grid1->AppendEntry(BranchCells(b));
    for (const TDeadEndBranch &b : ends.Isolated)
        Grid2->AppendEntry(BranchCells(b));
    for (const TDeadEndUzel &n : ends.IsolatedUzels)
        Grid3->AppendEntry({QString::number(n.Number)});
    for (TIsolGrid *grid : {Grid1, Grid2, Grid3})
        grid->Finish();
}

void TIsolForm::GridDblClick(TIsolGrid *grid)
{
    TIsolHost *host = Host();
    qint32 number = 0;
    if (!host || !grid->CurrentNumber(number))
        return;
    TMine *mine = host->Mine();
    if (grid == Grid3) {
        const int index = mine->Uzels().PositionOf(number);
        if (index > 0)
            host->ShowUzelRow(index);
        else
            AppDialogs::ShowInformation(this, QStringLiteral("Узел №") + QString::number(number) + QStringLiteral(" не найден."));
    } else {
        const int index = mine->Branches().PositionOf(number);
        if (index > 0)
            host->ShowBranchRow(index);
        else
            AppDialogs::ShowInformation(this, QStringLiteral("Ветвь №") + QString::number(number) + QStringLiteral(" не найдена."));
    }
}

void TIsolForm::keyPressEvent(QKeyEvent *event)
{
    // F5 refreshes only while the window itself, not one of its controls, holds the focus.
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier && btnRefresh->isEnabled()
        && (focusWidget() == nullptr || focusWidget() == this)) {
        RunGuarded([this] { Refresh(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void TIsolForm::closeEvent(QCloseEvent *event)
{
    if (isVisible())
        s_position = pos();
    // Gone for the command from now on, though the object is deleted only later.
    if (s_instance == this)
        s_instance = nullptr;
    QWidget::closeEvent(event);
}
