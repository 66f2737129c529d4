#pragma once

#include <QIcon>

// The icon of Quarix's windows: the desktop theme's, so that an icon theme
// can restyle it, else the one compiled into the program.
QIcon applicationIcon();
