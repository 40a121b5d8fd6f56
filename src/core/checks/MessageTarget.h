#pragma once
// Where a message reference leads: which table, and which columns (by column kind) are shown
// and made current in turn, the last one taking the keyboard focus. The document window follows
// it on a double click or Enter in its message list; the row is the reference's Index.
#include "checks/TErrorInfo.h"
#include "model/ColumnKinds.h"

#include <QList>

struct TMessageTarget {
    enum Table { None, UzelTable, BranchTable };
    Table table = None;
    QList<int> columnKinds;   // column kind codes, in the order they are made current
};

inline TMessageTarget MessageTarget(const TErrorInfo &info)
{
    using ColumnKinds::Code;
    using K = TColumnKind;
    switch (info.Kind) {
    case ErrorKind::UzelNumber:
    case ErrorKind::RepeatedUzel:
    case ErrorKind::UzelIncidence:
        return {TMessageTarget::UzelTable, {Code(K::UzelNumber)}};
    case ErrorKind::BranchNumber:
    case ErrorKind::RepeatedBranch:
    case ErrorKind::BranchIncidence:
        return {TMessageTarget::BranchTable, {Code(K::BranchNumber)}};
    case ErrorKind::StartUzel:
        return {TMessageTarget::BranchTable, {Code(K::StartNumber)}};
    case ErrorKind::EndUzel:
        return {TMessageTarget::BranchTable, {Code(K::EndNumber)}};
    case ErrorKind::BothUzels:
        return {TMessageTarget::BranchTable, {Code(K::StartNumber), Code(K::EndNumber)}};
    case ErrorKind::Coordinates:
        return {TMessageTarget::UzelTable, {Code(K::Z), Code(K::Y), Code(K::X)}};
    default:
        // The mine as a whole (kind 5) and anything unknown lead nowhere.
        return {};
    }
}
