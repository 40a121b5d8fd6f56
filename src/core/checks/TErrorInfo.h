#pragma once
// The reference a line of the message list carries to the element it is about. The check writes
// it; the document window's list owns it and follows it on a double click.
#include <QtGlobal>

struct TErrorInfo {
    // Kind codes: 0 node number, 1 branch number, 2 repeated node number, 3 repeated branch
    // number, 4 isolated or parallel branch, 5 the mine as a whole, 6 node incidence,
    // 10 start node of a branch, 11 end node, 12 both ends, 13 node coordinates.
    quint8 Kind = 0;
    // 1-based position in the node or branch list at the time of the check; 0 for the mine.
    qint32 Index = 0;

    friend bool operator==(const TErrorInfo &, const TErrorInfo &) = default;
};

namespace ErrorKind {
inline constexpr quint8 UzelNumber = 0;
inline constexpr quint8 BranchNumber = 1;
inline constexpr quint8 RepeatedUzel = 2;
inline constexpr quint8 RepeatedBranch = 3;
inline constexpr quint8 BranchIncidence = 4;
inline constexpr quint8 MinePhysics = 5;
inline constexpr quint8 UzelIncidence = 6;
inline constexpr quint8 StartUzel = 10;
inline constexpr quint8 EndUzel = 11;
inline constexpr quint8 BothUzels = 12;
inline constexpr quint8 Coordinates = 13;
}
