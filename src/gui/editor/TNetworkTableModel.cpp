#include "editor/TNetworkTableModel.h"

#include "editor/TableClipboard.h"
#include "editor/TableText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"
#include "storage/TMineDocument.h"

TNetworkTableModel::TNetworkTableModel(TMineDocument &document, TTable table, QObject *parent)
    : QAbstractTableModel(parent), m_document(document), m_table(table)
{
    for (int i = 0; i < descriptorCount(); ++i)
        if (descriptors()[i].Shown)
            m_shown.push_back(i);
    m_rows = qMax(1, ElementCount());
}

TMine *TNetworkTableModel::Mine() const
{
    return m_document.Mine();
}

int TNetworkTableModel::ElementCount() const
{
    return m_table == Uzels ? Mine()->Uzels().Count() : Mine()->Branches().Count();
}

TUzel *TNetworkTableModel::UzelAt(int row) const
{
    if (m_table != Uzels || row < 0 || row >= Mine()->Uzels().Count())
        return nullptr;
    return Mine()->Uzels().Items(row + 1);
}

TBranch *TNetworkTableModel::BranchAt(int row) const
{
    if (m_table != Branches || row < 0 || row >= Mine()->Branches().Count())
        return nullptr;
    return Mine()->Branches().Items(row + 1);
}

const TColumnDesc *TNetworkTableModel::descriptors() const
{
    return m_table == Uzels ? m_document.NodeColumns().data() : m_document.BranchColumns().data();
}

int TNetworkTableModel::descriptorCount() const
{
    return m_table == Uzels ? int(m_document.NodeColumns().size())
                            : int(m_document.BranchColumns().size());
}

const TColumnDesc *TNetworkTableModel::Column(int column) const
{
    if (column < 0 || column >= int(m_shown.size()))
        return nullptr;
    return &descriptors()[m_shown[size_t(column)]];
}

int TNetworkTableModel::ColumnOfKind(int kind) const
{
    for (size_t c = 0; c < m_shown.size(); ++c)
        if (descriptors()[m_shown[c]].Kind == kind)
            return int(c);
    return -1;
}

int TNetworkTableModel::KindOf(int column) const
{
    const TColumnDesc *d = Column(column);
    return d ? d->Kind : -1;
}

QString TNetworkTableModel::CellText(int row, int column) const
{
    const TColumnDesc *d = Column(column);
    if (!d)
        return QString();
    if (m_table == Uzels) {
        const TUzel *u = UzelAt(row);
        return u ? TableText::UzelCell(*d, *u) : QString();
    }
    const TBranch *b = BranchAt(row);
    return b ? TableText::BranchCell(*d, *b) : QString();
}

QString TNetworkTableModel::CopyText(int row, int column) const
{
    const TColumnDesc *d = Column(column);
    if (!d)
        return QString();
    if (m_table == Uzels) {
        const TUzel *u = UzelAt(row);
        return u ? ColumnKinds::CopyText(d->ColumnKind(), *u) : QString();
    }
    const TBranch *b = BranchAt(row);
    return b ? ColumnKinds::CopyText(d->ColumnKind(), *b) : QString();
}

void TNetworkTableModel::Relayout()
{
    std::vector<int> shown;
    for (int i = 0; i < descriptorCount(); ++i)
        if (descriptors()[i].Shown)
            shown.push_back(i);
    const int oldCount = int(m_shown.size());
    const int newCount = int(shown.size());
    // Columns come and go at the end so that the views keep their current cell where it can
    // stay; the texts of every column are re-read below.
    if (newCount > oldCount) {
        beginInsertColumns(QModelIndex(), oldCount, newCount - 1);
        m_shown = shown;
        endInsertColumns();
    } else if (newCount < oldCount) {
        beginRemoveColumns(QModelIndex(), newCount, oldCount - 1);
        m_shown = shown;
        endRemoveColumns();
    } else {
        m_shown = shown;
    }
    if (newCount > 0)
        emit headerDataChanged(Qt::Horizontal, 0, newCount - 1);
    Refresh();
}

void TNetworkTableModel::Refresh()
{
    const int rows = qMax(1, ElementCount());
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
    if (!m_shown.empty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_shown.size()) - 1));
    emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
}

void TNetworkTableModel::RowChanged(int row)
{
    if (row < 0 || row >= m_rows || m_shown.empty())
        return;
    emit dataChanged(index(row, 0), index(row, int(m_shown.size()) - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

int TNetworkTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TNetworkTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant TNetworkTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return CellText(index.row(), index.column());
    if (role == TableClipboard::kCopyTextRole)
        return CopyText(index.row(), index.column());
    return QVariant();
}

QVariant TNetworkTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    const TColumnDesc *d = Column(section);
    if (!d)
        return QVariant();
    return d->UnitLine.isEmpty() ? d->Caption : d->Caption + QLatin1Char('\n') + d->UnitLine;
}

Qt::ItemFlags TNetworkTableModel::flags(const QModelIndex &index) const
{
    const TColumnDesc *d = Column(index.column());
    if (!d)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (d->Editable)
        f |= Qt::ItemIsEditable;
    return f;
}
