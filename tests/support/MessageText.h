#pragma once
// Message lines as comparable text: "line" or "line @kind:index" when the line carries a
// reference, so a whole expected list fits into one QStringList.
#include "checks/TMessageSink.h"

#include <QStringList>

namespace messagetext {

inline QString Render(const TMessageLine &line)
{
    if (!line.Info)
        return line.Text;
    return line.Text + QStringLiteral(" @%1:%2").arg(line.Info->Kind).arg(line.Info->Index);
}

inline QStringList Render(const std::vector<TMessageLine> &lines)
{
    QStringList out;
    for (const TMessageLine &line : lines)
        out.append(Render(line));
    return out;
}

} // namespace messagetext
