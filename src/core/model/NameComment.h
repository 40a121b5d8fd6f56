#pragma once
// Exchanges between the names and the comments of all branches of a mine, through the branches'
// setters (each marks the document modified only when a value changes).
class TMine;

namespace NameComment {

enum Operation {
    CopyCommentsToNames = 0,   // name := comment
    CopyNamesToComments = 1,   // comment := name
    MoveCommentsToNames = 2,   // name := comment, comment := empty
    MoveNamesToComments = 3,   // comment := name, name := empty
    DeleteComments = 4,        // comment := empty
};
inline constexpr int OperationCount = 5;

// Applies the operation to every branch in list order; an unknown operation changes nothing.
void Apply(TMine &mine, int operation);

} // namespace NameComment
