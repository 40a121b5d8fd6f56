#include "exchange/DxfColors.h"

#include <array>

namespace {

// The table is regular: 1..9 are named colours; 10..249 are 24 hues 15 degrees apart, ten
// entries each (five brightnesses, each full and pale: mixed half with white); 250..255 greys.
// Components are counted in eighths of 255 so that the table's rounding down comes out exact.
std::array<quint32, 256> BuildTable()
{
    std::array<quint32, 256> t{};
    auto bgr = [](int r, int g, int b) { return quint32(r) | quint32(g) << 8 | quint32(b) << 16; };
    const int named[10][3] = {{0, 0, 0},     {255, 0, 0},   {255, 255, 0}, {0, 255, 0},   {0, 255, 255},
                              {0, 0, 255},   {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
    for (int i = 0; i < 10; ++i)
        t[size_t(i)] = bgr(named[i][0], named[i][1], named[i][2]);
    const int brightness[5] = {10, 8, 6, 5, 3};   // tenths
    for (int i = 10; i < 250; ++i) {
        const int hue = (i - 10) / 10, step = (i - 10) % 10;
        const int sector = hue / 4, t4 = hue % 4;
        // The hue's full colour, each component in quarters of 255.
        int q[3];
        switch (sector) {
        case 0: q[0] = 4; q[1] = t4; q[2] = 0; break;
        case 1: q[0] = 4 - t4; q[1] = 4; q[2] = 0; break;
        case 2: q[0] = 0; q[1] = 4; q[2] = t4; break;
        case 3: q[0] = 0; q[1] = 4 - t4; q[2] = 4; break;
        case 4: q[0] = t4; q[1] = 0; q[2] = 4; break;
        default: q[0] = 4; q[1] = 0; q[2] = 4 - t4; break;
        }
        const bool pale = step % 2 == 1;
        const int f = brightness[step / 2];
        int c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = pale ? 255 * (4 + q[k]) * f / 80 : 255 * 2 * q[k] * f / 80;
        t[size_t(i)] = bgr(c[0], c[1], c[2]);
    }
    const int greys[6] = {51, 91, 132, 173, 214, 255};
    for (int i = 0; i < 6; ++i)
        t[size_t(250 + i)] = bgr(greys[i], greys[i], greys[i]);
    return t;
}

const std::array<quint32, 256> &Table()
{
    static const std::array<quint32, 256> table = BuildTable();
    return table;
}

} // namespace

namespace DxfColors {

quint32 AciColor(int index)
{
    return Table()[size_t(index >= 1 && index <= 255 ? index : 7)];
}

int NearestAci(quint32 color)
{
    auto part = [](quint32 c, int shift) { return int((c >> shift) & 0xFF); };
    int best = 7;
    qint64 bestDistance = -1;
    for (int i = 1; i <= 255; ++i) {
        const quint32 c = Table()[size_t(i)];
        qint64 d = 0;
        for (int shift : {0, 8, 16}) {
            const qint64 delta = part(c, shift) - part(color, shift);
            d += delta * delta;
        }
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace DxfColors
