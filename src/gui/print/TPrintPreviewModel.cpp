#include "print/TPrintPreviewModel.h"

#include "base/Utils.h"

#include "model/ColumnKinds.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

#include <span>

namespace {

const QStringList &Captions(TPrintPreviewModel::Kind kind)
{
    static const QStringList nodes{QStringLiteral("Узел"), QStringLiteral("X, м"), QStringLiteral("Y, м"),
                                   QStringLiteral("Z, м"), QStringLiteral("T, °С"), QStringLiteral("C, %"),
                                   QStringLiteral("W, %")};
    static const QStringList branches{QStringLiteral("Ветвь"),      QStringLiteral("Н.узел"),
                                      QStringLiteral("К.узел"),     QStringLiteral("Длина, м"),
                                      QStringLiteral("Сечен., м2"), QStringLiteral("Угол, град."),
                                      QStringLiteral("Коммент.")};
    return kind == TPrintPreviewModel::Nodes ? nodes : branches;
}

// The kinds of the columns; the node table's last three (temperature and gas contents) have no
// values before a calculation.
using K = TColumnKind;
constexpr K kNodeKinds[] = {K::UzelNumber, K::X, K::Y, K::Z};
constexpr K kBranchKinds[] = {K::BranchNumber, K::StartNumber, K::EndNumber, K::Length, K::Section, K::Angle, K::Comment};

} // namespace

TPrintPreviewModel::TPrintPreviewModel(const TMine &mine, Kind kind, QObject *parent)
    : QAbstractTableModel(parent), m_mine(mine), m_kind(kind)
{
}

int TPrintPreviewModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_kind == Nodes ? m_mine.Uzels().Count() : m_mine.Branches().Count();
}

int TPrintPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(Captions(m_kind).size());
}

QVariant TPrintPreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::span<const K> kinds = m_kind == Nodes ? std::span<const K>(kNodeKinds) : std::span<const K>(kBranchKinds);
    const bool known = index.column() < int(kinds.size());
    const bool text = known && ColumnKinds::IsText(kinds[size_t(index.column())]);
    if (role == Qt::TextAlignmentRole)
        return int((text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (!known)
        return QString();
    const K kind = kinds[size_t(index.column())];
    if (m_kind == Nodes)
        return ColumnKinds::Text(kind, *m_mine.Uzels().Items(index.row() + 1));
    // A comment may run to millions of characters.
    return OneLineText(ColumnKinds::Text(kind, *m_mine.Branches().Items(index.row() + 1)));
}

QVariant TPrintPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    // The row headers are the tables' empty first column.
    if (orientation == Qt::Vertical)
        return QString();
    return Captions(m_kind).value(section);
}
