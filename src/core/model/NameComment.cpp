#include "model/NameComment.h"

#include "model/TBranch.h"
#include "model/TMine.h"

namespace NameComment {

void Apply(TMine &mine, int operation)
{
    if (operation < 0 || operation >= OperationCount)
        return;
    const TBranchList &branches = mine.Branches();
    for (int i = 1; i <= branches.Count(); ++i) {
        TBranch *b = branches.Items(i);
        // Copies, since each setter replaces the string the other one was taken from.
        const QString name = b->Name();
        const QString comment = b->Comment();
        switch (operation) {
        case CopyCommentsToNames: b->SetName(comment); break;
        case CopyNamesToComments: b->SetComment(name); break;
        case MoveCommentsToNames:
            b->SetName(comment);
            b->SetComment(QString());
            break;
        case MoveNamesToComments:
            b->SetComment(name);
            b->SetName(QString());
            break;
        case DeleteComments: b->SetComment(QString()); break;
        }
    }
}

} // namespace NameComment
