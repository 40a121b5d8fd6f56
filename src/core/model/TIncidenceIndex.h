#pragma once
// Node number -> the branches that name it as their start or end, in list order: the incidence
// of the network as the user typed it, whether or not the ends were ever resolved. The incidence
// scheme draws a node's star from it, so a paint costs the node's branches, not the mine's.
//
// Owned by the branch list. It is built at the first question, never while a file is read: a
// mine that nobody asks pays nothing. Branches appended since the last question are taken in at
// the next one (they come last in list order, so each number's list stays in order). A changed
// start or end number and a deleted branch are followed at once; a sort or a bulk removal of
// empty branches marks it stale, and the next question rebuilds it in one pass.
//
// Unset numbers are not kept: no node carries one.
#include <QtGlobal>
#include <unordered_map>
#include <vector>

class TBranch;

class TIncidenceIndex {
public:
    // Branches in items (the list, in its order) whose start or end number is number; a branch
    // with both ends there once. The reference holds until the next change of the list.
    const std::vector<TBranch *> &At(qint32 number, const std::vector<TBranch *> &items);

    void MarkStale();
    // b's start (end) number changed from oldNumber; otherEnd is its other end number.
    void EndChanged(const TBranch *b, qint32 oldNumber, qint32 newNumber, qint32 otherEnd);
    // b is about to leave the list; its position is still current.
    void Removing(const TBranch *b);

private:
    void TakeIn(const std::vector<TBranch *> &items);
    void Insert(TBranch *b, qint32 number);
    void Erase(const TBranch *b, qint32 number);

    // Kept apart from the lists of the numbers, so that a question for a number nobody names
    // hands back something that lives as long as the index.
    std::vector<TBranch *> FNone;
    std::unordered_map<qint32, std::vector<TBranch *>> FAt;
    size_t FTaken = 0;   // items before this position are in FAt
    bool FStale = true;
};
