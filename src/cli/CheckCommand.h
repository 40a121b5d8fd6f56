#pragma once
// tarvel-mdf check FILE: the editor's topology check (all three stages, nothing saved), its
// message list printed one line per line, UTF-8. Numbers take the decimal separator of the
// current locale.
#include <QString>

namespace CheckCommand {

inline constexpr int kPassed = 0;
inline constexpr int kFound = 1;

// Reads the file (or standard input for "-"), runs the check and prints the lines to stdout;
// returns kPassed when all three stages passed, kFound otherwise. A file that cannot be read
// raises AppError, which the caller reports (exit status 2).
int Run(const QString &operand);

} // namespace CheckCommand
