#include "editor/TElementGrid.h"

#include "AppError.h"
#include "base/AppDialogs.h"
#include "base/Guarded.h"
#include "base/Utils.h"
#include "editor/StoppingCells.h"
#include "editor/TChoiceBox.h"
#include "editor/TableClipboard.h"
#include "editor/TableText.h"
#include "model/MineTables.h"
#include "model/TBranch.h"
#include "model/TJumper.h"
#include "model/TMine.h"
#include "model/TPeopleInfo.h"
#include "settings/TConfig.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace SC = StoppingColumns;

// ------------------------------------------------------------------------------------------
// Model: a thin view of the branch's list. Model row r is screen row r + 1, model column c is
// screen column c + 1; the headers are the header row and the row-number column.

class TElementGridModel : public QAbstractTableModel {
public:
    explicit TElementGridModel(TElementGrid *grid) : QAbstractTableModel(grid), m_grid(grid) {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max(m_grid->ElementCount(), 1);
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_grid->ColumnCount() - 1;
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int row = index.row() + 1, column = index.column() + 1;
        if (role == Qt::DisplayRole) {
            if (TJumper *j = m_grid->JumperAt(row))
                return StoppingCellText(*j, column);
            if (TPeopleInfo *p = m_grid->PersonAt(row))
                return PersonCellText(*p, column);
        } else if (role == Qt::EditRole) {
            return m_grid->editText(column, row);
        }
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section + 1;
        return m_grid->kind() == TElementGrid::Stoppings ? StoppingHeader(section + 1)
                                                        : PersonHeader(section + 1);
    }
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        const int column = index.column() + 1;
        if (m_grid->elementAt(index.row() + 1) &&
            !(m_grid->kind() == TElementGrid::Stoppings && IsStoppingChoiceColumn(column)))
            f |= Qt::ItemIsEditable;
        return f;
    }
    void reset()
    {
        beginResetModel();
        endResetModel();
    }

private:
    TElementGrid *m_grid;
};

namespace {

// ------------------------------------------------------------------------------------------
// Header: the header row and the row-number column drawn as the tables draw fixed cells.

class TElementGridHeader : public QHeaderView {
public:
    TElementGridHeader(Qt::Orientation orientation, TElementGrid *grid)
        : QHeaderView(orientation, grid), m_grid(grid)
    {
        // Row numbers select whole rows (shift extends); the header row does nothing.
        setSectionsClickable(orientation == Qt::Vertical);
        setHighlightSections(false);
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        TGridDrawState state;
        state.Fixed = true;
        state.Disabled = !m_grid->isEnabled();
        const QColor face = m_grid->palette().color(QPalette::Button);
        const QColor text = m_grid->palette().color(QPalette::WindowText);
        // The right and bottom frame lines lie one pixel outside the cell.
        const QRect cell = rect.adjusted(0, 0, -1, -1);
        const int column = orientation() == Qt::Horizontal ? logicalIndex + 1 : 0;
        const int row = orientation() == Qt::Horizontal ? 0 : logicalIndex + 1;
        if (m_grid->kind() == TElementGrid::Stoppings)
            DrawStoppingCell(nullptr, *painter, column, state, text, face, cell, row);
        else
            DrawPersonCell(nullptr, *painter, column, state, text, face, cell, row);
    }

private:
    TElementGrid *m_grid;
};

// The corner above the row numbers.
class TCornerCell : public QWidget {
public:
    explicit TCornerCell(TElementGrid *grid) : QWidget(grid), m_grid(grid) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        TGridDrawState state;
        state.Fixed = true;
        DrawStoppingCell(nullptr, p, 0, state, palette().color(QPalette::WindowText),
                         palette().color(QPalette::Button), rect().adjusted(0, 0, -1, -1), 0);
    }

private:
    TElementGrid *m_grid;
};

} // namespace

// ------------------------------------------------------------------------------------------
// Delegate: draws the data cells and runs the in-place editor's phases.

class TElementGridDelegate : public QStyledItemDelegate {
public:
    explicit TElementGridDelegate(TElementGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const int row = index.row() + 1, column = index.column() + 1;
        TGridDrawState state;
        const bool current = index == m_grid->currentIndex();
        // Selected cells look like the current one.
        state.Selected = current || m_grid->selectionModel()->isSelected(index);
        state.Focused = current && m_grid->hasFocus();
        state.Disabled = !m_grid->isEnabled();
        const QColor face = m_grid->palette().color(QPalette::Button);
        const QColor text = m_grid->palette().color(QPalette::WindowText);
        painter->setFont(m_grid->font());
        const QRect cell = option.rect;   // the grid line is outside it
        if (m_grid->kind() == TElementGrid::Stoppings)
            DrawStoppingCell(m_grid->JumperAt(row), *painter, column, state, text, face, cell, row);
        else
            DrawPersonCell(m_grid->PersonAt(row), *painter, column, state, text, face, cell, row);
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &index) const override
    {
        return m_grid->createEditorFor(parent, index);
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        // Qt refills an open editor when the model reports a change; the edit keeps its text.
        if (editor->property("filled").toBool())
            return;
        editor->setProperty("filled", true);
        m_grid->fillEditor(static_cast<QLineEdit *>(editor), index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &) const override
    {
        m_grid->applyEdit(static_cast<QLineEdit *>(editor));
    }
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &) const override
    {
        editor->setGeometry(option.rect);
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *editor = qobject_cast<QLineEdit *>(object);
        if (!editor)
            return QStyledItemDelegate::eventFilter(object, event);
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            switch (key->key()) {
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Enter:
            case Qt::Key_Return:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Up:
            case Qt::Key_Down: {
                m_grid->m_phase = epCommit;
                const int k = key->key();
                const Qt::KeyboardModifiers modifiers = key->modifiers();
                emit commitData(editor);
                emit closeEditor(editor, NoHint);
                // The table moves as it would without an editor (Enter stays on the cell).
                if (k != Qt::Key_Enter && k != Qt::Key_Return) {
                    QKeyEvent forwarded(QEvent::KeyPress, k, modifiers);
                    QApplication::sendEvent(m_grid, &forwarded);
                }
                return true;
            }
            case Qt::Key_Escape:
                m_grid->m_phase = epCancel;
                emit closeEditor(editor, RevertModelCache);
                return true;
            default:
                m_grid->m_phase = epTyping;
                return false;   // the key filter and the editor see it
            }
        }
        if (event->type() == QEvent::FocusOut) {
            // Leaving the table commits; a click on another cell commits only what was typed.
            QWidget *to = QApplication::focusWidget();
            if (!to || (to != m_grid && !m_grid->isAncestorOf(to)))
                m_grid->m_phase = epCommit;
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TElementGrid *m_grid;
};

// ------------------------------------------------------------------------------------------

TElementGrid::TElementGrid(Kind kind, QWidget *parent) : QTableView(parent), m_kind(kind)
{
    setObjectName(kind == Stoppings ? QStringLiteral("JumperGrid") : QStringLiteral("PeopleGrid"));
    setHorizontalHeader(new TElementGridHeader(Qt::Horizontal, this));
    setVerticalHeader(new TElementGridHeader(Qt::Vertical, this));
    m_model = new TElementGridModel(this);
    setModel(m_model);
    setItemDelegate(new TElementGridDelegate(this));
    // Whole rows through the row numbers (or cells by shift-clicks) for the clipboard. A click
    // on the current cell does not open the editor: that needs a key or a double click.
    setSelectionMode(ContiguousSelection);
    setEditTriggers(AnyKeyPressed | EditKeyPressed | DoubleClicked);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(4);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(StoppingColumnWidth(0));
    verticalHeader()->setMinimumSectionSize(4);
    // The widget's corner (over the row numbers) is drawn like the other fixed cells.
    auto *corner = new TCornerCell(this);
    corner->raise();
    corner->setGeometry(0, 0, 1, 1);
    m_cornerFollow = connect(horizontalHeader(), &QHeaderView::geometriesChanged, corner, [this, corner] {
        corner->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(),
                            horizontalHeader()->height());
    });
    // Rows chosen by their numbers: the table takes the focus from an open choice box.
    auto rowsChosen = [this](int) {
        DestroyChoiceBox();
        setFocus(Qt::MouseFocusReason);
    };
    connect(verticalHeader(), &QHeaderView::sectionPressed, this, rowsChosen);
    connect(verticalHeader(), &QHeaderView::sectionEntered, this, rowsChosen);
    // Column widths are the user's to change; an open choice box keeps to its cell.
    m_choiceFollow = connect(horizontalHeader(), &QHeaderView::sectionResized, this,
                             [this] { QTimer::singleShot(0, this, &TElementGrid::followChoiceBox); });
    ApplyDisplaySettings();
}

TElementGrid::~TElementGrid()
{
    disconnect(m_cornerFollow);
    disconnect(m_choiceFollow);
    // An editor still open goes with the viewport, after this object: it must no longer reach
    // the grid, the delegate or the model through its focus and change notices.
    Branch = nullptr;
    ConfirmEdit = nullptr;
    m_phase = epCancel;
    if (QLineEdit *editor = m_editor) {
        editor->removeEventFilter(itemDelegate());
        disconnect(editor, nullptr, this, nullptr);
    }
    DestroyChoiceBox();
}

int TElementGrid::ColumnCount() const
{
    return m_kind == Stoppings ? SC::Count : PeopleColumns::Count;
}

int TElementGrid::ElementCount() const
{
    const TBranch *branch = Branch ? Branch() : nullptr;
    if (!branch)
        return 0;
    return m_kind == Stoppings ? branch->Jumpers().Count() : branch->People().Count();
}

void *TElementGrid::elementAt(int row) const
{
    const TBranch *branch = Branch ? Branch() : nullptr;
    if (!branch || row < 1)
        return nullptr;
    if (m_kind == Stoppings)
        return row <= branch->Jumpers().Count() ? branch->Jumpers().Items(row - 1) : nullptr;
    return row <= branch->People().Count() ? branch->People().Items(row - 1) : nullptr;
}

bool TElementGrid::holdsElement(void *element) const
{
    const TBranch *branch = Branch ? Branch() : nullptr;
    if (!branch || !element)
        return false;
    return m_kind == Stoppings ? branch->Jumpers().IndexOf(static_cast<TJumper *>(element)) >= 0
                               : branch->People().IndexOf(static_cast<TPeopleInfo *>(element)) >= 0;
}

TJumper *TElementGrid::JumperAt(int row) const
{
    return m_kind == Stoppings ? static_cast<TJumper *>(elementAt(row)) : nullptr;
}

TPeopleInfo *TElementGrid::PersonAt(int row) const
{
    return m_kind == People ? static_cast<TPeopleInfo *>(elementAt(row)) : nullptr;
}

QModelIndex TElementGrid::modelIndex(int column, int row) const
{
    return m_model->index(row - 1, column - 1);
}

int TElementGrid::CurrentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() + 1 : 1;
}

int TElementGrid::CurrentColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() + 1 : 1;
}

void TElementGrid::SetCurrentCell(TGridCell cell)
{
    const QModelIndex index = modelIndex(cell.Column, cell.Row);
    if (index.isValid())
        setCurrentIndex(index);
}

QRect TElementGrid::CellRect(TGridCell cell) const
{
    return visualRect(modelIndex(cell.Column, cell.Row));
}

QString TElementGrid::editText(int column, int row) const
{
    if (TJumper *j = JumperAt(row))
        return StoppingEditText(*j, column);
    if (TPeopleInfo *p = PersonAt(row))
        return PersonEditText(*p, column);
    return QString();
}

int TElementGrid::DefaultRowHeight() const
{
    return m_rowHeight;
}

void TElementGrid::ApplyDisplaySettings()
{
    const QFont font = Config ? CellFont(Config->Fontname, Config->FontSize)
                              : CellFont(QStringLiteral("MS Sans Serif"), 8);
    setFont(font);
    horizontalHeader()->setFont(font);
    verticalHeader()->setFont(font);
    m_rowHeight = std::max(CellRowHeight(font, this), 4);
    verticalHeader()->setDefaultSectionSize(m_rowHeight);
    // Two-line headers, as high as two rows like those of the node and branch tables.
    horizontalHeader()->setFixedHeight(2 * m_rowHeight);
    // Columns as wide as their headers and choices in this font.
    for (int c = 1; c < ColumnCount(); ++c)
        setColumnWidth(c - 1, m_kind == Stoppings ? FittedStoppingColumnWidth(c, font)
                                                  : FittedPersonColumnWidth(c, font));
    viewport()->update();
}

void TElementGrid::SetEditingEnabled(bool on)
{
    m_editing = on;
}

int TElementGrid::Refresh()
{
    DestroyChoiceBox();
    m_phase = epCommit;
    CloseEditor(true);
    const int n = ElementCount();
    const int row = CurrentRow(), column = CurrentColumn();
    m_refreshing = true;
    m_model->reset();
    m_editing = n > 0;
    // The current cell stays where it was, within the new rows.
    const QModelIndex index = m_model->index(std::clamp(row, 1, std::max(n, 1)) - 1, column - 1);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_refreshing = false;
    viewport()->update();
    return n;
}

void TElementGrid::CloseEditor(bool commit)
{
    QLineEdit *editor = m_editor;
    if (!editor)
        return;
    m_phase = commit ? epCommit : epCancel;
    if (commit)
        commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TElementGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor)
        m_editor = nullptr;
    QTableView::closeEditor(editor, hint);
}

bool TElementGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!m_editing || !(m_model->flags(index) & Qt::ItemIsEditable))
        return false;
    const bool opening = !m_editor && (trigger == AllEditTriggers || (editTriggers() & trigger));
    if (opening) {
        const qsizetype length = editText(index.column() + 1, index.row() + 1).size();
        if (length > TableText::kMaxEditChars) {
            showError(TableText::TooLongToEdit(length));
            return false;
        }
    }
    return QTableView::edit(index, trigger, event);
}

QWidget *TElementGrid::createEditorFor(QWidget *parent, const QModelIndex &index)
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setFont(font());
    const int column = index.column() + 1;
    if (m_kind == Stoppings)
        FilterStoppingEditor(editor, column);
    else
        FilterPersonEditor(editor, column);
    m_editor = editor;
    m_editElement = elementAt(index.row() + 1);
    m_editColumn = column;
    connect(editor, &QLineEdit::textChanged, this, &TElementGrid::editorTextChanged);
    return editor;
}

void TElementGrid::fillEditor(QLineEdit *editor, const QModelIndex &index)
{
    m_phase = epTyping;
    m_ignoreNextChange = true;
    editor->setText(editText(index.column() + 1, index.row() + 1));
    // Filling with the text the editor already had brings no change notice; the fill counts as
    // the first notice all the same, so that the user's first keystroke is a change.
    m_ignoreNextChange = false;
    editor->selectAll();
}

void TElementGrid::editorTextChanged()
{
    if (m_phase != epTyping)
        return;
    if (m_ignoreNextChange)
        m_ignoreNextChange = false;
    else
        m_phase = epCommit;   // a click elsewhere keeps what was typed
}

void TElementGrid::applyEdit(QLineEdit *editor)
{
    if (m_phase != epCommit || editor != m_editor)
        return;
    // Applied once: a focus change while the error box is up must not apply it again.
    m_phase = epCancel;
    void *element = m_editElement;
    const int column = m_editColumn;
    const QString text = editor->text();
    if (!holdsElement(element))
        return;   // the element left the table (another branch, or deleted) while edited
    // This runs inside the toolkit's commit of the editor: leave to edit (which may clear
    // results and save) and the setter fail here, not through its event handling.
    try {
        if (ConfirmEdit && !ConfirmEdit())
            return;
        TBranch *branch = m_kind == Stoppings ? static_cast<TJumper *>(element)->Branch()
                                              : static_cast<TPeopleInfo *>(element)->Branch();
        TUserAction action(branch->Mine(), QStringLiteral("Правка ячейки"));
        if (m_kind == Stoppings)
            ApplyStoppingEdit(*static_cast<TJumper *>(element), column, text);
        else
            ApplyPersonEdit(*static_cast<TPeopleInfo *>(element), column, text);
    } catch (...) {
        showError(CurrentExceptionText());
    }
    viewport()->update();
    emit ElementEdited();
}

void TElementGrid::showError(const QString &message)
{
    // Shown once the editor has closed: a modal box inside the editor's focus change would
    // re-enter it.
    QTimer::singleShot(0, this, [this, message] { AppDialogs::ShowError(window(), message); });
}

void TElementGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    viewport()->update();
    if (m_refreshing || !current.isValid())
        return;
    if (m_kind == Stoppings)
        OpenCellChoice(current.column() + 1, current.row() + 1);
    emit CurrentCellChanged(current.column() + 1, current.row() + 1);
}

void TElementGrid::DestroyChoiceBox()
{
    if (TChoiceBox *box = m_choiceBox) {
        m_choiceBox = nullptr;
        // Hiding the focused box would pass the focus on with a Tab through the table.
        if (box->hasFocus())
            setFocus(Qt::OtherFocusReason);
        box->hide();
        box->deleteLater();   // it may be the sender of what brought us here
    }
}

void TElementGrid::OpenCellChoice(int column, int row)
{
    if (m_kind != Stoppings)
        return;
    DestroyChoiceBox();
    TJumper *jumper = JumperAt(row);
    if (!jumper) {
        CloseEditor(true);
        m_editing = false;
        return;
    }
    if (!IsStoppingChoiceColumn(column)) {
        m_editing = true;
        setFocus();
        return;
    }
    CloseEditor(true);
    m_editing = false;
    const QRect cell = CellRect({.Row = row, .Column = column});
    if (rowHeight(row - 1) != DefaultRowHeight())
        return;
    auto *box = new TChoiceBox(StoppingChoiceItems(column), StoppingChoiceIndex(*jumper, column),
                               DefaultRowHeight() - 5, this, viewport());
    box->setGeometry(cell);
    m_choiceBox = box;
    m_choiceColumn = column;
    m_choiceRow = row;
    connect(box, &QComboBox::activated, this, [this](int index) { RunGuarded([&] { choiceMade(index); }); });
    box->show();
    box->raise();
    box->setFocus();
}

void TElementGrid::choiceMade(int index)
{
    QPointer<TChoiceBox> box = m_choiceBox;
    TJumper *jumper = JumperAt(m_choiceRow);
    const int column = m_choiceColumn;
    if (!jumper || !box)
        return;
    auto resync = [&] {
        if (box && holdsElement(jumper))
            box->setCurrentIndex(StoppingChoiceIndex(*jumper, column));
    };
    // A refusal or a failure (leave to edit may save) leaves the box showing what the stopping has.
    try {
        if (ConfirmEdit && !ConfirmEdit()) {
            resync();
            return;
        }
        if (column == SC::Opening && index == MineTables::kArbitraryOpening) {
            QInputDialog dialog(window());
            dialog.setObjectName(QStringLiteral("OpeningAreaQuery"));
            dialog.setWindowTitle(QStringLiteral("Произвольный проем"));
            dialog.setLabelText(QStringLiteral("Укажите величину проема в перемычке"));
            dialog.setInputMode(QInputDialog::TextInput);
            dialog.setTextValue(FormatFixed(jumper->OpeningArea(), 1));
            const bool ok = dialog.exec() == QDialog::Accepted;
            if (!holdsElement(jumper))
                return;   // the table changed while the box was open
            if (!ok) {
                resync();
                return;
            }
            const double area = ParseReal(dialog.textValue());
            TUserAction action(jumper->Mine(), QStringLiteral("Правка ячейки"));
            jumper->SetOpening(quint8(index));
            jumper->SetOpeningArea(area);
        } else {
            TUserAction action(jumper->Mine(), QStringLiteral("Правка ячейки"));
            ApplyStoppingChoice(*jumper, column, index);
        }
    } catch (...) {
        resync();
        throw;
    }
    viewport()->update();
    emit ElementEdited();
}

void TElementGrid::followChoiceBox()
{
    // An open choice box follows its cell; moving it rather than opening it anew leaves the
    // keyboard focus where it is while the window is resized.
    if (!m_choiceBox)
        return;
    if (rowHeight(m_choiceRow - 1) != DefaultRowHeight()) {
        DestroyChoiceBox();
        return;
    }
    m_choiceBox->setGeometry(CellRect({.Row = m_choiceRow, .Column = m_choiceColumn}));
}

void TElementGrid::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    followChoiceBox();
}

void TElementGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    followChoiceBox();
}

void TElementGrid::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    QTableView::mousePressEvent(event);
}

void TElementGrid::mouseMoveEvent(QMouseEvent *event)
{
    // Dragging over the cells selects nothing: the current cell would pass over the choice
    // columns, each opening its box. Rows are selected by their numbers.
    if (event->buttons() & Qt::LeftButton)
        return;
    QTableView::mouseMoveEvent(event);
}

void TElementGrid::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->matches(QKeySequence::Copy) || (mods == Qt::ControlModifier && event->key() == Qt::Key_Insert)) {
        TableClipboard::Copy(this);
        return;
    }
    QTableView::keyPressEvent(event);
}

void TElementGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    // A release without a press on the table ends a click that began elsewhere (the choice
    // box's list): the box comes back over the current cell.
    if (!m_pressed && m_kind == Stoppings && currentIndex().isValid())
        OpenCellChoice(CurrentColumn(), CurrentRow());
    m_pressed = false;
}
