#pragma once
// Names of seams and plan positions as the editor of both lists takes them: a name is what the
// user typed with the blanks around it removed, and two names are the same whatever their
// letter case.
#include <QString>

class TLayerList;

namespace GroupNames {

// 0-based index of the first group named name (letter case ignored), or -1.
int IndexOf(const TLayerList &groups, const QString &name);

enum Verdict {
    Accepted,   // a new name: add or rename with it
    Empty,      // nothing left after trimming: ignored without a word
    Taken,      // a group (takenIndex) has it already, also the one being renamed
};

struct Check {
    Verdict verdict = Empty;
    QString name;        // the trimmed answer
    int takenIndex = -1; // for Taken
};

// The verdict on an answer of the input box.
Check Judge(const TLayerList &groups, const QString &answer);

} // namespace GroupNames
