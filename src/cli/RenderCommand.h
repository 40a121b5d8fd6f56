#pragma once
// tarvel-mdf render FILE OUT.png|OUT.svg [--size WxH] [--angles AX,AZ] [--scale S]
//                   [--labels none|branches|nodes] [--colors seams|plan]
// The topology and coordinate checks (findings on stderr, one line each, and no picture when
// they fail), then the scheme drawn as the scheme window draws it, fitted to the picture and
// turned about the middle of the network's extents (the window turns about the current element,
// which after opening a file is the first branch: a picture on its own would show half a mine).
// The current element keeps its selection mark. Defaults: 1280x800, angles 0,0, scale 1, no
// labels, no colours. Needs a QGuiApplication (tarvel-mdf-pictures starts one on the offscreen platform).
#include "ToolMain.h"

namespace RenderCommand {

inline constexpr int kDrawn = 0;
inline constexpr int kCheckFailed = 1;

// Returns the exit status (an option's value out of its bounds is a usage error); a file that
// cannot be read or written raises AppError (exit status 2).
int Run(const ToolMain::TInvocation &in);

} // namespace RenderCommand
