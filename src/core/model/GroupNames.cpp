#include "model/GroupNames.h"

#include "model/TLayer.h"
#include "model/TLayerList.h"

namespace GroupNames {

int IndexOf(const TLayerList &groups, const QString &name)
{
    for (int i = 0; i < groups.Count(); ++i)
        if (groups.Items(i)->Name().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Check Judge(const TLayerList &groups, const QString &answer)
{
    Check check;
    check.name = answer.trimmed();
    if (check.name.isEmpty()) {
        check.verdict = Empty;
    } else if ((check.takenIndex = IndexOf(groups, check.name)) >= 0) {
        check.verdict = Taken;
    } else {
        check.verdict = Accepted;
    }
    return check;
}

} // namespace GroupNames
