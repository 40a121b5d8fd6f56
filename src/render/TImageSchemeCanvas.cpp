#include "TImageSchemeCanvas.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace {

// Beyond this the integer steps of a line could overflow; such lines go to QPainter.
constexpr int kFastLimit = 1 << 28;

quint32 Argb(TSchemeColor c)
{
    return 0xFF000000u | quint32(SchemeRed(c)) << 16 | quint32(SchemeGreen(c)) << 8 | quint32(SchemeBlue(c));
}

TSchemeRect Intersect(const TSchemeRect &a, const TSchemeRect &b)
{
    TSchemeRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                  std::min(a.Bottom, b.Bottom)};
    if (r.Right < r.Left)
        r.Right = r.Left;
    if (r.Bottom < r.Top)
        r.Bottom = r.Top;
    return r;
}

// Smallest k >= 0 with floor((2k * minor + major) / (2 * major)) >= need, for minor > 0.
qint64 FirstStepReaching(qint64 need, qint64 major, qint64 minor)
{
    if (need <= 0)
        return 0;
    const qint64 num = 2 * major * need - major;
    return (num + 2 * minor - 1) / (2 * minor);
}

// Largest k with floor((2k * minor + major) / (2 * major)) <= limit, for minor > 0, limit >= 0.
qint64 LastStepWithin(qint64 limit, qint64 major, qint64 minor)
{
    const qint64 num = 2 * major * (limit + 1) - major;   // k * 2 * minor < num
    return (num + 2 * minor - 1) / (2 * minor) - 1;
}

} // namespace

TImageSchemeCanvas::TImageSchemeCanvas(QPainter &painter, QImage &image)
    : TPainterSchemeCanvas(painter), m_image(image),
      // The painter draws into this very buffer; asking for writable bits could detach a copy.
      m_bits(const_cast<uchar *>(image.constBits())), m_stride(image.bytesPerLine())
{
    const QImage::Format f = image.format();
    m_fast = (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied)
             && painter.device() == &image && painter.transform().isIdentity() && m_bits;
    m_clip = {0, 0, image.width(), image.height()};
    if (painter.hasClipping()) {
        const QRegion region = painter.clipRegion();
        if (region.rectCount() == 1) {
            const QRect r = region.boundingRect();
            m_clip = Intersect(m_clip, {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
        } else {
            m_fast = false;
        }
    }
    m_advances.fill(-1);
}

TImageSchemeCanvas::~TImageSchemeCanvas() = default;

int TImageSchemeCanvas::GlyphIndex(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    return u == u'-' ? 10 : -1;
}

void TImageSchemeCanvas::SetFont(const QString &family, int charset, int pointSize)
{
    TPainterSchemeCanvas::SetFont(family, charset, pointSize);
    m_advances.fill(-1);
    m_glyphs.clear();
    m_glyphKey = ~quint64(0);
    m_lastGlyphs = nullptr;
}

void TImageSchemeCanvas::PushClip(const TSchemeRect &rect)
{
    TPainterSchemeCanvas::PushClip(rect);
    m_clips.push_back(m_clip);
    m_clip = Intersect(m_clip, rect);
}

void TImageSchemeCanvas::PopClip()
{
    TPainterSchemeCanvas::PopClip();
    if (!m_clips.empty()) {
        m_clip = m_clips.back();
        m_clips.pop_back();
    }
}

void TImageSchemeCanvas::Lines(const QLine *segments, int count)
{
    if (!m_fast || PenWidth() != 1) {
        TPainterSchemeCanvas::Lines(segments, count);
        return;
    }
    const quint32 rgb = Argb(PenColor());
    const TSchemeRect &c = m_clip;
    for (int i = 0; i < count; ++i) {
        const QLine &l = segments[i];
        const int x1 = l.x1(), y1 = l.y1(), x2 = l.x2(), y2 = l.y2();
        // Most lines of a large network lie wholly inside, a few pixels long.
        if (x1 >= c.Left && x1 < c.Right && x2 >= c.Left && x2 < c.Right && y1 >= c.Top && y1 < c.Bottom
            && y2 >= c.Top && y2 < c.Bottom)
            LineInside(x1, y1, x2, y2, rgb);
        else if (std::abs(x1) > kFastLimit || std::abs(y1) > kFastLimit || std::abs(x2) > kFastLimit
                 || std::abs(y2) > kFastLimit)
            TPainterSchemeCanvas::Lines(&l, 1);
        else
            Line(x1, y1, x2, y2, rgb);
    }
}

// The same pixels as Line for a line with both ends inside the clipping, without the clipping.
void TImageSchemeCanvas::LineInside(int x1, int y1, int x2, int y2, quint32 rgb)
{
    const int dx = x2 - x1, dy = y2 - y1;
    const int adx = std::abs(dx), ady = std::abs(dy);
    const qsizetype row = m_stride / qsizetype(sizeof(quint32));
    const qsizetype stepX = dx >= 0 ? 1 : -1, stepY = dy >= 0 ? row : -row;
    const bool xMajor = adx >= ady;
    const int major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const qsizetype alongMajor = xMajor ? stepX : stepY, alongMinor = xMajor ? stepY : stepX;
    quint32 *p = reinterpret_cast<quint32 *>(m_bits + qsizetype(y1) * m_stride) + x1;
    // Pixel k stands at minor offset floor((2k * minor + major) / (2 * major)), as in Line.
    const int twoMajor = 2 * major, twoMinor = 2 * minor;
    int rem = major;
    for (int k = 0; k < major; ++k) {
        *p = rgb;
        p += alongMajor;
        rem += twoMinor;
        if (rem >= twoMajor) {
            rem -= twoMajor;
            p += alongMinor;
        }
    }
    *p = rgb;
}

// Pixel k of a line along its major axis stands at minor offset floor((2k * minor + major) /
// (2 * major)): the nearest pixel, halves away from the start. Both ends are drawn.
void TImageSchemeCanvas::Line(int x1, int y1, int x2, int y2, quint32 rgb)
{
    const TSchemeRect &c = m_clip;
    if (c.Right <= c.Left || c.Bottom <= c.Top)
        return;
    const bool xMajor = std::abs(qint64(x2) - x1) >= std::abs(qint64(y2) - y1);
    // Work in (major, minor) coordinates; the clip follows.
    const qint64 a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
    const qint64 a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
    const qint64 aLo = xMajor ? c.Left : c.Top, aHi = (xMajor ? c.Right : c.Bottom) - 1;
    const qint64 bLo = xMajor ? c.Top : c.Left, bHi = (xMajor ? c.Bottom : c.Right) - 1;
    const qint64 major = std::abs(a2 - a1), minor = std::abs(b2 - b1);
    const int sa = a2 >= a1 ? 1 : -1, sb = b2 >= b1 ? 1 : -1;

    // Steps whose major coordinate is inside.
    qint64 kFirst = sa > 0 ? aLo - a1 : a1 - aHi;
    qint64 kLast = sa > 0 ? aHi - a1 : a1 - aLo;
    kFirst = std::max<qint64>(kFirst, 0);
    kLast = std::min(kLast, major);
    if (kFirst > kLast)
        return;
    // Steps whose minor coordinate is inside: the offset grows with k.
    const qint64 need = sb > 0 ? bLo - b1 : b1 - bHi;    // offset at least this
    const qint64 limit = sb > 0 ? bHi - b1 : b1 - bLo;   // offset at most this
    if (limit < 0)
        return;
    if (minor == 0) {
        if (need > 0)
            return;
    } else {
        kFirst = std::max(kFirst, FirstStepReaching(need, major, minor));
        kLast = std::min(kLast, LastStepWithin(limit, major, minor));
    }
    if (kFirst > kLast)
        return;

    const qint64 twoMajor = 2 * std::max<qint64>(major, 1);
    const qint64 num = 2 * kFirst * minor + major;
    qint64 offset = num / twoMajor, rem = num % twoMajor;
    const qint64 stepRem = 2 * minor;
    for (qint64 k = kFirst; k <= kLast; ++k) {
        const qint64 a = a1 + sa * k, b = b1 + sb * offset;
        const qint64 x = xMajor ? a : b, y = xMajor ? b : a;
        reinterpret_cast<quint32 *>(m_bits + y * m_stride)[x] = rgb;
        rem += stepRem;
        if (rem >= twoMajor) {
            rem -= twoMajor;
            ++offset;
        }
    }
}

void TImageSchemeCanvas::FillRect(const TSchemeRect &rect)
{
    if (!m_fast) {
        TPainterSchemeCanvas::FillRect(rect);
        return;
    }
    const TSchemeRect r = Intersect(rect, m_clip);
    const quint32 rgb = Argb(BrushColor());
    for (int y = r.Top; y < r.Bottom; ++y)
        std::fill_n(reinterpret_cast<quint32 *>(m_bits + y * m_stride) + r.Left, r.Width(), rgb);
}

void TImageSchemeCanvas::Stamp(const QImage &sprite, int x, int y, bool opaque)
{
    const TSchemeRect r = Intersect({x, y, x + sprite.width(), y + sprite.height()}, m_clip);
    const uchar *bits = sprite.constBits();
    const qsizetype stride = sprite.bytesPerLine();
    const int width = r.Width();
    for (int row = r.Top; row < r.Bottom; ++row) {
        const auto *src = reinterpret_cast<const quint32 *>(bits + (row - y) * stride) + (r.Left - x);
        auto *dst = reinterpret_cast<quint32 *>(m_bits + row * m_stride) + r.Left;
        // Rows of a few pixels: a plain loop beats a call to memmove.
        for (int i = 0; i < width; ++i)
            if (opaque || src[i] >> 24 == 0xFF)
                dst[i] = src[i];
    }
}

void TImageSchemeCanvas::Ellipse(const TSchemeRect &box)
{
    const int w = box.Width(), h = box.Height();
    if (!m_fast || PenWidth() != 1 || w <= 0 || h <= 0 || w > 32 || h > 32) {
        TPainterSchemeCanvas::Ellipse(box);
        return;
    }
    const quint64 key = quint64(w) | quint64(h) << 6 | quint64(PenColor() & 0xFFFFFF) << 12
                        | quint64(BrushColor() & 0xFFFFFF) << 36;
    auto it = m_discs.find(key);
    if (it == m_discs.end()) {
        QImage sprite(w, h, QImage::Format_ARGB32);
        sprite.fill(Qt::transparent);
        QPainter p(&sprite);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(ToColor(PenColor()), 1));
        p.setBrush(ToColor(BrushColor()));
        p.drawEllipse(QRect(0, 0, w - 1, h - 1));
        p.end();
        it = m_discs.insert(key, sprite);
    }
    Stamp(*it, box.Left, box.Top, false);
}

const TImageSchemeCanvas::GlyphSet &TImageSchemeCanvas::Glyphs()
{
    const quint64 key = quint64(TextColor() & 0xFFFFFF) | quint64(BrushColor() & 0xFFFFFF) << 24;
    if (key == m_glyphKey)
        return *m_lastGlyphs;
    m_glyphKey = key;
    if (auto it = m_glyphs.find(key); it != m_glyphs.end())
        return *(m_lastGlyphs = &it->second);
    GlyphSet set;
    const int height = Metrics().height();
    for (int i = 0; i < 11; ++i) {
        const QChar c = i < 10 ? QChar(u'0' + i) : QChar(u'-');
        Glyph &g = set.Cells[size_t(i)];
        g.Advance = Metrics().horizontalAdvance(c);
        g.Cell = QImage(std::max(1, g.Advance), std::max(1, height), QImage::Format_RGB32);
        g.Cell.fill(ToColor(BrushColor()));
        QPainter p(&g.Cell);
        p.setFont(Font());
        p.setPen(ToColor(TextColor()));
        p.drawText(0, Metrics().ascent(), QString(c));
    }
    m_lastGlyphs = &m_glyphs.emplace(key, std::move(set)).first->second;
    return *m_lastGlyphs;
}

int TImageSchemeCanvas::TextWidth(QStringView text)
{
    int width = 0;
    for (QChar c : text) {
        const int i = GlyphIndex(c);
        if (i < 0)
            return TPainterSchemeCanvas::TextWidth(text);
        if (m_advances[size_t(i)] < 0)
            m_advances[size_t(i)] = Metrics().horizontalAdvance(c);
        width += m_advances[size_t(i)];
    }
    return width;
}

void TImageSchemeCanvas::Text(int x, int y, QStringView text)
{
    bool digits = m_fast;
    for (QChar c : text)
        digits = digits && GlyphIndex(c) >= 0;
    if (!digits) {
        TPainterSchemeCanvas::Text(x, y, text);
        return;
    }
    const GlyphSet &set = Glyphs();
    for (QChar c : text) {
        const Glyph &g = set.Cells[size_t(GlyphIndex(c))];
        if (g.Advance > 0)
            Stamp(g.Cell, x, y, true);
        x += g.Advance;
    }
}
