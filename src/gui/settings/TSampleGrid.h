#pragma once
// The sample table of the options dialog: a header row and a row-number column of fixed cells,
// then one row per cell kind showing "000" and the kind's name in that kind's look, all in the
// font of the settings it shows. It draws the settings object it is given (the dialog's working
// copy) and never changes it.
#include <QWidget>

class TConfig;

class TSampleGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 3;
    static constexpr int RowCount = 10;   // header + nine kinds
    static constexpr int LineWidth = 1;

    explicit TSampleGrid(const TConfig *settings, QWidget *parent = nullptr);

    static int ColumnWidth(int column);   // 18, 61, 360
    int RowHeight(int row) const;
    QRect CellRect(int column, int row) const;

    int CurrentRow() const { return m_row; }   // 1..9: the kind's position + 1
    int CurrentColumn() const { return m_column; }
    void SetCurrentRow(int row);

    // Row height: the font's character height in pixels plus 7; the header row twice that.
    // Called when the dialog opens and whenever the font or its size changes.
    void ResizeRows();

    QSize sizeHint() const override;

signals:
    // The user chose a data row (by mouse or keys).
    void RowClicked(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void chooseCell(int column, int row);

    const TConfig *m_settings;
    int m_rowHeight = 18;
    int m_row = 1;
    int m_column = 1;
};
