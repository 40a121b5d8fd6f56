#include "print/TPrintPreviewModel.h"

#include "base/Utils.h"

#include "model/NumberText.h"
#include "model/TBranch.h"
#include "model/TMine.h"
#include "model/TUzel.h"

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
    const bool comment = m_kind == Branches && index.column() == 6;
    if (role == Qt::TextAlignmentRole)
        return int((comment ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (m_kind == Nodes) {
        const TUzel *u = m_mine.Uzels().Items(index.row() + 1);
        switch (index.column()) {
        case 0: return NumberText::Int(u->Number());
        case 1: return NumberText::Real(u->X(), 1);
        case 2: return NumberText::Real(u->Y(), 1);
        case 3: return NumberText::Real(u->Z(), 1);
        default: return QString();   // temperature and gas contents: no values before a calculation
        }
    }
    const TBranch *b = m_mine.Branches().Items(index.row() + 1);
    switch (index.column()) {
    case 0: return NumberText::Int(b->Number());
    case 1: return NumberText::Int(b->StartNumber());
    case 2: return NumberText::Int(b->EndNumber());
    case 3: return NumberText::Real(b->Length(), 1);
    case 4: return NumberText::Real(b->Section(), 1);
    case 5: return NumberText::Real(b->Angle(), 1);
    default: return OneLineText(b->Comment());   // a comment may run to millions of characters
    }
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
