#include "dialogs/ColorPalette.h"

namespace ColorPalette {

namespace {

struct Rgb {
    int r, g, b;
};

// Row by row, as the picker shows them.
const Rgb Palette[Rows][Columns] = {
    {{0, 0, 0}, {153, 51, 0}, {51, 51, 0}, {0, 51, 0}, {0, 51, 102}, {0, 0, 128}, {51, 51, 153}, {51, 51, 51}},
    {{128, 0, 0}, {255, 102, 0}, {128, 128, 0}, {0, 128, 0}, {0, 128, 128}, {128, 128, 128}, {102, 102, 153}, {128, 128, 128}},
    {{255, 0, 0}, {255, 153, 0}, {153, 204, 0}, {51, 153, 102}, {51, 204, 204}, {102, 51, 255}, {128, 0, 128}, {153, 153, 153}},
    {{255, 0, 255}, {255, 204, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {0, 204, 255}, {153, 51, 102}, {192, 192, 192}},
    {{255, 153, 204}, {255, 204, 153}, {255, 255, 153}, {0, 255, 0}, {204, 255, 255}, {153, 204, 255}, {204, 153, 255}, {255, 255, 255}},
};

constexpr int Gap = 5;

QSize CellSize(const QSize &area)
{
    return {(area.width() - 45) / Columns, (area.height() - 30) / Rows};
}

} // namespace

quint32 ColorAt(int column, int row)
{
    if (column < 1 || column > Columns || row < 1 || row > Rows)
        return 0;
    const Rgb &c = Palette[row - 1][column - 1];
    return quint32(c.r) | quint32(c.g) << 8 | quint32(c.b) << 16;
}

int IndexOf(quint32 color)
{
    for (int c = 1; c <= Columns; ++c)
        for (int r = 1; r <= Rows; ++r)
            if (ColorAt(c, r) == color)
                return (c - 1) * Rows + (r - 1);
    return -1;
}

QRect CellRect(const QSize &area, int column, int row)
{
    const QSize cell = CellSize(area);
    return {Gap + (column - 1) * (cell.width() + Gap), Gap + (row - 1) * (cell.height() + Gap),
            cell.width(), cell.height()};
}

int IndexAt(const QSize &area, const QPoint &point)
{
    const QSize cell = CellSize(area);
    if (point.x() < Gap || point.y() < Gap || cell.width() <= 0 || cell.height() <= 0)
        return -1;
    const int c = (point.x() - Gap) / (cell.width() + Gap);
    const int r = (point.y() - Gap) / (cell.height() + Gap);
    if (c >= Columns || r >= Rows)
        return -1;
    return c * Rows + r;
}

QPoint PlaceInside(const QPoint &point, const QSize &size, const QRect &screen)
{
    QPoint at = point;
    if (at.x() + size.width() >= screen.x() + screen.width())
        at.setX(screen.x() + screen.width() - size.width());
    if (at.y() + size.height() >= screen.y() + screen.height())
        at.setY(screen.y() + screen.height() - size.height());
    return at;
}

} // namespace ColorPalette
