#pragma once
// tarvel-mdf import-dxf and export-dxf: the network to and from the DXF drawings of CAD programs
// (core's DxfReader, DxfNetwork and DxfWriter say what is read and written).
//
//   import-dxf IN.dxf OUT.mdf [--tolerance M] [--layers A,B] [--title T]
//              [--split-at-junctions|--no-split] [--names-from-text D] [--chord M] [--first N]
//     prints what it made ("узлов: N, ветвей: M, пластов: K, пропущено объектов: S") and what
//     the user should know of it on stdout, then runs the editor's topology check on the new
//     document, its findings on stderr one line each; exit 1 when it found something (the
//     document is written all the same, to be mended in the editor).
//   export-dxf IN.mdf OUT.dxf [--labels none|branches|nodes]
//     prints "ветвей: N, перемычек: M, пропущено ветвей: K", and each branch left out on stderr.
// Either takes "-" for standard input or output; the summary then goes to stderr.
// Option values out of range are usage errors; file and drawing errors come out as AppError.
#include "ToolMain.h"

namespace DxfCommands {

inline constexpr int kCheckFound = 1;

int Import(const ToolMain::TInvocation &in);
int Export(const ToolMain::TInvocation &in);

} // namespace DxfCommands
