#pragma once
// tarvel-mdf diff A.mdf B.mdf [--json]: what changed from A to B (compare/MineDiff), grouped and
// sorted by number, in Russian captions; with --json as a stable machine form. Exit status 0
// when the documents hold the same (an order of a list that differs is a remark), 1 when they
// differ; a file that cannot be read raises AppError (exit status 2).
#include "ToolMain.h"

namespace DiffCommand {

inline constexpr int kEqual = 0;
inline constexpr int kDifferent = 1;

int Run(const ToolMain::TInvocation &in);

} // namespace DiffCommand
