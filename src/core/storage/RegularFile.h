#pragma once
// Files that are read whole or replaced whole must be ordinary files. A pipe would hold the
// reader until some other program writes into it, a device never ends, and replacing a
// directory, pipe or device of the name is not replacing the user's file. The mine file and the
// CSV exchange both go through these; each words its own refusal.
#include <QString>

class QFile;

namespace RegularFile {

enum class TOpen { Opened, Failed, NotRegular };

// Opens path for reading only when it is a regular file. The kind is taken from the opened
// descriptor itself, opened without blocking, so that not even the open can hang on a pipe.
// On anything but Opened file stays closed.
TOpen OpenForReading(QFile &file, const QString &path);

// Something other than a regular file (after links) stands at path; false when nothing does.
bool IrregularTarget(const QString &path);

} // namespace RegularFile
