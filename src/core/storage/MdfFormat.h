#pragma once
// Version-dependent shape of the mine file shared by its reader and writer.
#include <QtGlobal>

namespace MdfFormat {

inline constexpr char kSignature[] = "Tarvelian";
inline constexpr int kSignatureSize = 9;
inline constexpr int kHeaderSize = 15;
inline constexpr int kSizeOffset = 11;
inline constexpr int kDocumentRecordSize = 43;
inline constexpr int kCurrentVersion = 119;
inline constexpr quint8 kCurrentMajor = 1;
inline constexpr quint8 kCurrentMinor = 19;
inline constexpr int kStoppingRecordSize = 70;
inline constexpr int kOldStoppingRecordSize = 22;
inline constexpr int kOldestStoppingRecordSize = 18; // the files marked 1.05 lack the result step

// 100 x major + minor; the files marked 1.51 are 1.05 files.
constexpr int Version(quint8 major, quint8 minor)
{
    return major == 1 && minor == 51 ? 105 : 100 * major + minor;
}

constexpr int NodeRecordSize(int v) { return v >= 114 ? 25 : v >= 106 ? 21 : 17; }

inline constexpr int kMaxBranchRecordSize = 121;
constexpr int BranchRecordSize(int v)
{
    if (v >= 119) return kMaxBranchRecordSize;
    if (v >= 117) return 117;
    if (v == 116) return 113;
    if (v == 115) return 94;
    if (v == 114) return 90;
    if (v >= 111) return 86;
    if (v == 110) return 84;
    if (v == 109) return 76;
    if (v >= 107) return 72;
    return 63;
}

// Number of branch table layout entries stored.
constexpr int BranchLayoutCount(int v)
{
    if (v < 110) return 11;
    if (v == 110) return 12;
    if (v == 111) return 13;
    if (v <= 118) return 14;
    return 15;
}

// Offsets inside the branch record.
namespace Branch {
inline constexpr int NormalResult = 0, Number = 4, StartNumber = 8, EndNumber = 12, Section = 16,
                     Perimeter = 20, Shape = 24, VolumeFactor = 25, ExtraVolume = 29, Roughness = 33,
                     Gas1Kind = 34, Gas1 = 35, Zone3 = 36, Zone4 = 37, Gas1From = 38, Gas1To = 42,
                     Zone3From = 46, Zone3To = 50, Zone4From = 54, Zone4To = 58, Reserved = 62, OptA = 63,
                     OptA1 = 64, OptA2 = 68, LayerIndex = 72, Resistance = 76, People16 = 84,
                     RouteResult = 86, LinkIndex = 90, Gas2Kind = 94, Gas2 = 95, Gas2From = 96,
                     Gas2To = 100, OptB = 104, OptB1 = 105, OptB2 = 109, PLFIndex = 113, PeopleCount = 117;
}

// Offsets inside the stopping record (versions 1.08 on).
namespace Stopping {
inline constexpr int Material = 0, Vent = 1, Position = 2, Thickness = 10, Depression = 18, Flow = 26,
                     Resistance = 34, Measured = 42, ReverseResistance = 43, BreakPressure = 51,
                     Opening = 59, OpeningArea = 60, Doors = 68, CutIn = 69;
}

// Offsets inside the old stopping record (versions 1.05 to 1.07).
namespace OldStopping {
inline constexpr int BranchIndex = 0, BreakPressure = 4, Position = 8, NormalHit = 12, ThicknessCm = 13,
                     Material = 17, NormalStep = 18;
}

} // namespace MdfFormat
