#pragma once
// The AutoCAD colour index (ACI) of DXF files against the colours of seams. CAD programs keep a
// layer's colour as an index into a fixed table of 255 colours; a seam keeps any colour. Import
// takes the table's colour; export writes the nearest index, and the exact colour beside it
// where the index is not exact.
#include <QtGlobal>

namespace DxfColors {

// The colour of index 1..255 as a seam holds it (0x00BBGGRR). Index 7 (drawn black on a white
// sheet, white on a dark one) is white; any other index is taken as 7.
quint32 AciColor(int index);
// The index whose colour is nearest to color (0x00BBGGRR) by squared distance, the lowest on a
// tie; exact for every colour of the table.
int NearestAci(quint32 color);

// Between a seam's 0x00BBGGRR and the 0x00RRGGBB of a DXF true colour (group 420).
inline quint32 ToTrueColor(quint32 color)
{
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
inline quint32 FromTrueColor(quint32 rgb) { return ToTrueColor(rgb & 0xFFFFFF); }

} // namespace DxfColors
