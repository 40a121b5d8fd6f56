#pragma once
// The 16-colour palette of the options dialog, 4 × 4: a click with the primary button chooses the
// foreground (marked "FG"), with the secondary button the background ("BG"; "FB" when both are
// the same square). A colour that is not one of the 16 is kept as it is and marks no square, so
// that writing the palette back never changes it. Arrow keys move the foreground.
#include <QWidget>

class TColorGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int ColorCount = 16;
    // Black, maroon, green, olive, navy, purple, teal, silver, grey, red, lime, yellow, blue,
    // fuchsia, aqua, white, row by row; colours are 0x00BBGGRR.
    static quint32 BasicColor(int index);
    static int IndexOf(quint32 color);   // −1 when not one of the 16

    explicit TColorGrid(QWidget *parent = nullptr);

    quint32 ForegroundColor() const { return m_foreground; }
    quint32 BackgroundColor() const { return m_background; }
    int ForegroundIndex() const { return IndexOf(m_foreground); }
    int BackgroundIndex() const { return IndexOf(m_background); }
    // Setting a colour does not signal Changed; only the user's choice does.
    void SetForegroundColor(quint32 color);
    void SetBackgroundColor(quint32 color);

    QRect CellRect(int index) const;
    QSize sizeHint() const override;

signals:
    void Changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int indexAt(const QPoint &pos) const;

    quint32 m_foreground = 0;
    quint32 m_background = 0x00FFFFFF;
};
