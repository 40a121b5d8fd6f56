#pragma once
// A test double of the drawing surface: records what is drawn, in order, with the pen and brush
// it is drawn with:
//   "line 5,55-205,55 #c0c0c0 1"        segment, pen colour, pen width
//   "disc 3,53-7,57 #c0c0c0/#ffff00"    ellipse box, pen colour / brush colour
//   "text 8,58 12 #c0c0c0/#000000"      top-left, text, text colour / background (brush)
//   "fill -1,-1-211,111 #000000", "clip 0,0-210,110", "unclip"
// Text cells measure 6 pixels per character by 10 pixels.
#include "schemes/TSchemeCanvas.h"

#include <QString>
#include <QStringList>
#include <stdexcept>

class RecordingCanvas : public TSchemeCanvas {
public:
    QStringList calls;
    bool throwOnLines = false;

    static QString Hex(TSchemeColor c)
    {
        return QStringLiteral("#%1%2%3")
            .arg(SchemeRed(c), 2, 16, QLatin1Char('0'))
            .arg(SchemeGreen(c), 2, 16, QLatin1Char('0'))
            .arg(SchemeBlue(c), 2, 16, QLatin1Char('0'));
    }
    static QString Box(const TSchemeRect &r)
    {
        return QStringLiteral("%1,%2-%3,%4").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
    }
    // Only the calls that put something on the picture.
    QStringList Drawn() const
    {
        QStringList out;
        for (const QString &c : calls)
            if (c.startsWith(QLatin1String("line")) || c.startsWith(QLatin1String("disc"))
                || c.startsWith(QLatin1String("text")))
                out << c;
        return out;
    }

    void SetPen(TSchemeColor color, int width, TPenStyle) override
    {
        m_pen = color;
        m_width = width;
    }
    void SetBrush(TSchemeColor color) override { m_brush = color; }
    void SetFont(const QString &, int, int) override {}
    void SetTextColor(TSchemeColor color) override { m_text = color; }
    void PushClip(const TSchemeRect &rect) override { calls << QStringLiteral("clip ") + Box(rect); }
    void PopClip() override { calls << QStringLiteral("unclip"); }
    void Lines(const QLine *segments, int count) override
    {
        if (throwOnLines)
            throw std::runtime_error("canvas failed");
        for (int i = 0; i < count; ++i) {
            const QLine &l = segments[i];
            calls << QStringLiteral("line %1,%2-%3,%4 %5 %6")
                         .arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2()).arg(Hex(m_pen)).arg(m_width);
        }
    }
    void FillRect(const TSchemeRect &rect) override
    {
        calls << QStringLiteral("fill %1 %2").arg(Box(rect), Hex(m_brush));
    }
    void Ellipse(const TSchemeRect &box) override
    {
        calls << QStringLiteral("disc %1 %2/%3").arg(Box(box), Hex(m_pen), Hex(m_brush));
    }
    void Text(int x, int y, QStringView text) override
    {
        calls << QStringLiteral("text %1,%2 %3 %4/%5").arg(x).arg(y).arg(text.toString(), Hex(m_text), Hex(m_brush));
    }
    int TextWidth(QStringView text) override { return 6 * int(text.size()); }
    int TextHeight(QStringView) override { return 10; }

private:
    TSchemeColor m_pen = 0, m_brush = 0, m_text = 0;
    int m_width = 0;
};
