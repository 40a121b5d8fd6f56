#pragma once
// Files named to the editor from outside it (the command line, a later start's hand-over, a
// drop on the window): which of them open, and why the others do not. A name ending in ".mdf"
// goes to the reader, which words its own errors; any other name opens when the file carries
// the mine signature, as the desktop recognises mine files under any name. The rest are listed
// in one message, so that nothing the user named is ignored without a word.
#include <QString>
#include <QStringList>

struct TNamedFiles {
    QStringList Open;      // in the order given
    QStringList Refused;   // one line each: the name, a dash and the reason
};

// Empty names (a dropped link that is no local file) are passed over.
TNamedFiles SortNamedFiles(const QStringList &paths);

// The text of the one box about the files not opened; empty when there are none.
QString RefusedFilesMessage(const QStringList &refused);
