#pragma once
// The fixed header row (horizontal) and row-number column (vertical) of a network table, drawn
// as raised button-face cells. Column headers carry the descriptor's caption over its unit; the
// row-number column shows the row number, or in the branch table the stopping symbol for a
// branch that holds stoppings. A drag of a column header moves the column in the layout; a click
// without a drag sorts.
#include <QHeaderView>

class TNetworkGrid;

class TGridHeader : public QHeaderView {
    Q_OBJECT
public:
    TGridHeader(Qt::Orientation orientation, TNetworkGrid *grid);

    // Draws a header cell with text lines in rect (the cell without its grid line).
    static void DrawCaptionCell(QPainter &painter, const QRect &rect, const QString &text,
                                bool rowNumber, const QPalette &palette, const QFont &font);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void sectionWasMoved(int logicalIndex, int oldVisual, int newVisual);

    TNetworkGrid *m_grid;
    bool m_undoingMove = false;
};
