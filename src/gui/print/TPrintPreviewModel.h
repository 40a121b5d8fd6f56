#pragma once
// The print dialog's small tables of the nodes or the branches: one row per element of the
// document's list, read from the mine when a cell is drawn, so that a mine of any size opens the
// dialog at once. Nothing here edits.
#include <QAbstractTableModel>

class TMine;

class TPrintPreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Kind { Nodes, Branches };
    TPrintPreviewModel(const TMine &mine, Kind kind, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TMine &m_mine;
    Kind m_kind;
};
