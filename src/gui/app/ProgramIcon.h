#pragma once
// The program's icon: packaging/tarvel.svg, the drawing of its menu entry, kept as a resource of
// the shell. The windows' title bars, the About box and the desktop's menu show this one drawing.
#include <QIcon>

QIcon ProgramIcon();
