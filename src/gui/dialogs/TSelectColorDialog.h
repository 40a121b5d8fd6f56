#pragma once
// The colour picker of the seams and plan positions editor: a borderless raised panel with the
// 8 x 5 palette, the current colour's sample, "X" and "Другие цвета ..." (the system colour
// dialog). Made on first use and kept for the rest of the run (Instance); every Execute sets
// the current colour anew and runs the panel modally at a screen point.
#include <QDialog>
#include <functional>

class QLabel;
class QToolButton;
class TColorPaletteArea;

class TSelectColorDialog : public QDialog {
    Q_OBJECT
public:
    // The one picker of the run (made with the first call; black is its first current colour).
    static TSelectColorDialog *Instance();

    // Shows the panel at point (kept inside the screen) with color current; true with the
    // chosen colour in color, false when closed without a choice.
    bool Execute(const QPoint &point, quint32 &color);

    // The current colour: the sample shows it and the first palette cell of it is marked.
    void SetCurrentColor(quint32 color);
    quint32 CurrentColor() const { return m_color; }
    // The palette index (ColorPalette) of the marked cell, or -1.
    int MarkedIndex() const { return m_marked; }
    // The cell under the mouse pointer, or -1.
    int HotIndex() const { return m_hot; }

    // The system colour dialog, given the current colour: true with the confirmed colour.
    // Unset: Qt's colour dialog. Tests replace it.
    std::function<bool(quint32 &color)> PickOtherColor;

    QWidget *PaletteArea = nullptr;   // the 144 x 91 palette
    QLabel *CurrentSample = nullptr;
    QToolButton *btnCancel = nullptr;
    QToolButton *btnOther = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    explicit TSelectColorDialog(QWidget *parent = nullptr);
    friend class TColorPaletteArea;
    void cellClicked(int index);
    void setHot(int index);
    void otherColors();

    quint32 m_color = 0;
    int m_marked = -1;
    int m_hot = -1;
    bool m_chosen = false;
};
