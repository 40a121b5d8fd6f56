#pragma once
// tarvel-mdf report FILE OUT.pdf [--parts title,nodes,branches]: the editor's topology report of
// a mine file written as a PDF. The parts are any of the three, in any order (the report keeps
// its own order); all three by default. The branch ends are resolved to their nodes first, so
// that lengths and angles are printed as the editor prints them after a check.
#include "ToolMain.h"

namespace ReportCommand {

// Returns the exit status (a list of parts it does not know is a usage error); a file that
// cannot be read or written raises AppError.
int Run(const ToolMain::TInvocation &in);

} // namespace ReportCommand
