#pragma once
// The bytes of a DXF file looked over before the CAD library (dxflib) reads them.
//
// The library trusts its input: a vertex count allocates that many vertices before one is read
// (an LWPOLYLINE claiming a billion allocates gigabytes, and a count past 500 million overflows
// and writes past a small block), a line longer than its buffer stops its stream without ending
// it (it then reads for ever), a number it cannot read becomes 0 without a word. So every line
// is checked here first, with the library's own rules for what a line is (up to a line feed,
// carriage returns stripped at its end; a code's blanks too, a value's kept, but a number read
// around them): codes are whole numbers of the
// format, numbers where the format wants numbers, each count no larger than what follows it
// and given once, no line past the library's buffer, the file whole up to its EOF group.
// Whatever passes reads the same in the library as here.
//
// On the way it lists the records (a group 0 or 9 and what follows up to the next one): where
// each ends, on which line it starts, what it is and whether it stands in model space or in a
// block, which lets the reader tell which entity a call of the library is about.
#include <QByteArrayView>
#include <QtGlobal>
#include <string>
#include <vector>

namespace DxfScreen {

// The longest line the library's reading takes (its buffer holds 1,023 characters).
inline constexpr qsizetype kMaxLine = 1023;

struct TRecord {
    qsizetype ValueEnd = 0;  // offset just past the line break of its group's value
    qint32 Line = 0;         // 1-based line of its group code
    qint32 Type = 0;         // index into TScreened::Types
    qint32 Container = -1;   // 0 model space (the ENTITIES section), k the k-th block (1-based), -1 neither
};

struct TScreened {
    std::vector<TRecord> Records;
    std::vector<std::string> Types;   // the value of each record's group 0 or 9, once each
    qint32 Blocks = 0;                // blocks defined in the BLOCKS section
    // Index of the record whose value line ends at offset (the library has just read it), or the
    // last record ending before it.
    qsizetype RecordEndingAt(qsizetype offset) const;
};

// Raises AppError with what is wrong (without the file's name) when the bytes are refused.
TScreened Check(QByteArrayView bytes);

} // namespace DxfScreen
