#pragma once
// The scheme's canvas on any QPainter: the screen image, an SVG file, a printer. The painter
// belongs to the caller and must be active for the canvas's lifetime; the canvas leaves the
// painter's clipping as it found it.
//
// Text is set at 96 pixels per inch whatever the device (8 points are 11 pixels), with full
// hinting so that glyphs stand on whole pixels: a label measures the same on every surface.
#include "schemes/TSchemeCanvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QRegion>
#include <optional>
#include <vector>

class QPainter;

class TPainterSchemeCanvas : public TSchemeCanvas {
public:
    explicit TPainterSchemeCanvas(QPainter &painter);
    ~TPainterSchemeCanvas() override;

    static QColor ToColor(TSchemeColor c) { return QColor(SchemeRed(c), SchemeGreen(c), SchemeBlue(c)); }
    // The font SetFont chooses, for the widgets that write beside the picture.
    static QFont SchemeFont(const QString &family, int pointSize);

    void SetPen(TSchemeColor color, int width, TPenStyle style) override;
    void SetBrush(TSchemeColor color) override;
    void SetFont(const QString &family, int charset, int pointSize) override;
    void SetTextColor(TSchemeColor color) override;
    void PushClip(const TSchemeRect &rect) override;
    void PopClip() override;
    void Lines(const QLine *segments, int count) override;
    void FillRect(const TSchemeRect &rect) override;
    void Ellipse(const TSchemeRect &box) override;
    void Text(int x, int y, QStringView text) override;
    int TextWidth(QStringView text) override;
    int TextHeight(QStringView text) override;

protected:
    QPainter &Painter() { return m_painter; }
    TSchemeColor PenColor() const { return m_penColor; }
    int PenWidth() const { return m_penWidth; }
    TSchemeColor BrushColor() const { return m_brush; }
    TSchemeColor TextColor() const { return m_text; }
    const QFont &Font() const { return m_font; }
    const QFontMetrics &Metrics() const { return m_metrics; }
    // The pen the lines are drawn with, put back on the painter after text changed it.
    void UsePen();

private:
    struct SavedClip {
        bool On;
        QRegion Region;
    };

    QPainter &m_painter;
    TSchemeColor m_penColor = 0;
    int m_penWidth = 1;
    TPenStyle m_penStyle = TPenStyle::Solid;
    QPen m_pen;
    bool m_penOnPainter = false;
    TSchemeColor m_brush = 0;
    TSchemeColor m_text = 0;
    QFont m_font;
    QFontMetrics m_metrics;
    std::vector<SavedClip> m_clips;
    std::optional<SavedClip> m_initialClip;
};
