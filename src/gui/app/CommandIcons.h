#pragma once
// Images of the commands, drawn at run time so that they scale with the screen and need no
// bitmap files: small 16-pixel images for menus and tool bars, 40-pixel images for the
// calculation bar.
#include <QIcon>
#include <QString>

// The image of the command named actionName (e.g. "actOpen"); a null icon for commands
// without one.
QIcon CommandIcon(const QString &actionName);
