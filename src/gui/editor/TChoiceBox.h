#pragma once
// The drop-down list that the stopping table lays exactly over a material, cut-in, vent, door
// or opening cell while that cell is current (OpenCellChoice). It is a list only: choosing an
// item tells the table, which stores the index in the stopping. Left and Right (list closed,
// no Alt) and Up and Down (list closed; with Alt they open it) belong to the table, so that the
// user moves through the table as if the box were not there.
#include <QComboBox>

class TChoiceBox : public QComboBox {
    Q_OBJECT
public:
    // items in order, the current index selected; itemHeight is the height of a list item.
    TChoiceBox(const QStringList &items, int current, int itemHeight, QWidget *table,
               QWidget *parent);

    bool IsDroppedDown() const;
    int ItemHeight() const { return m_itemHeight; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *m_table;
    int m_itemHeight;
};
