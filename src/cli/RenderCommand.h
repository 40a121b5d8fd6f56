#pragma once
// tarvel-mdf render FILE OUT.png|OUT.svg [--size WxH] [--angles AX,AZ] [--scale S]
//                   [--labels none|branches|nodes] [--colors seams|plan] [--center N|B:N]
// The topology and coordinate checks (findings on stderr, one line each, and no picture when
// they fail), then the scheme drawn as the scheme window draws it: by default the whole network
// fitted to the picture and turned about its own middle (the window's first view); with
// --center about node N or the middle of branch B:N, which stands in the picture's middle.
// A picture of its own has no current element: nothing carries the selection colour.
// Defaults: 1280x800, angles 0,0, scale 1, no labels, no colours. Needs a QGuiApplication
// (tarvel-mdf-pictures starts one on the offscreen platform).
#include "ToolMain.h"

namespace RenderCommand {

inline constexpr int kDrawn = 0;
inline constexpr int kCheckFailed = 1;

// Returns the exit status (an option's value out of its bounds, or a --center element the mine
// has not, is a usage error); a file that cannot be read or written raises AppError (exit
// status 2). After a picture, or the check's findings, the process ends here (ToolMain::Finish).
int Run(const ToolMain::TInvocation &in);

} // namespace RenderCommand
