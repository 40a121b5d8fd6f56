#pragma once
// tarvel-mdf report FILE OUT.pdf [--parts title,nodes,branches]: the editor's topology report of
// a mine file written as a PDF. The parts are any of the three, in any order (the report keeps
// its own order); all three by default. The branch ends are resolved to their nodes first, so
// that lengths and angles are printed as the editor prints them after a check.
#include <QStringList>

namespace ReportCommand {

// args after "report". Returns the exit status; a usage error gives usage (the problem) and
// returns -1; a file that cannot be read or written raises AppError.
int Run(const QStringList &args, QString &usage);

} // namespace ReportCommand
