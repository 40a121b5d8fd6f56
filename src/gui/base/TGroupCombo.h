#pragma once
// The seam and plan-position boxes of the main window's group bar (cbLayers, cbPLFs): a
// drop-down list whose items carry a colour swatch, 15 pixels per item. Item 0 is
// "<не определен>", then one item per group, the last is "<редактировать...>"; item k stands for
// group index k - 1.
#include <QColor>
#include <QComboBox>

class TGroupCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 15;
    static constexpr int ColorRole = Qt::UserRole + 1;

    explicit TGroupCombo(QWidget *parent = nullptr);

    // Clears the box and fills it: "<не определен>", the groups, "<редактировать...>"; then widens
    // the drop-down list to the longest item plus 32 pixels.
    void Fill(const QList<QPair<QString, QColor>> &groups);
    // Selects the item of group index (−1 = "<не определен>").
    void SelectGroup(int groupIndex);
    bool IsEditItem(int index) const { return count() > 0 && index == count() - 1; }

    // Draws item index at rect; editField tells the closed box from the list.
    void DrawItem(QPainter &painter, const QRect &rect, int index, bool selected, bool editField) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showPopup() override;

private:
    int m_dropDownWidth = 0;
};
