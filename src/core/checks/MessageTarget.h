#pragma once
// Where a message reference leads: which table, and which columns (by column kind) are shown
// and made current in turn, the last one taking the keyboard focus. The document window follows
// it on a double click or Enter in its message list; the row is the reference's Index.
#include "checks/TErrorInfo.h"

#include <QList>

struct TMessageTarget {
    enum Table { None, UzelTable, BranchTable };
    Table table = None;
    QList<int> columnKinds;   // column kind codes, in the order they are made current
};

inline TMessageTarget MessageTarget(const TErrorInfo &info)
{
    switch (info.Kind) {
    case ErrorKind::UzelNumber:
    case ErrorKind::RepeatedUzel:
    case ErrorKind::UzelIncidence:
        return {TMessageTarget::UzelTable, {0}};
    case ErrorKind::BranchNumber:
    case ErrorKind::RepeatedBranch:
    case ErrorKind::BranchIncidence:
        return {TMessageTarget::BranchTable, {4}};
    case ErrorKind::StartUzel:
        return {TMessageTarget::BranchTable, {5}};
    case ErrorKind::EndUzel:
        return {TMessageTarget::BranchTable, {6}};
    case ErrorKind::BothUzels:
        return {TMessageTarget::BranchTable, {5, 6}};
    case ErrorKind::Coordinates:
        return {TMessageTarget::UzelTable, {3, 2, 1}};
    default:
        // The mine as a whole (kind 5) and anything unknown lead nowhere.
        return {};
    }
}
