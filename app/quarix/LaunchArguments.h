#pragma once

#include <QStringList>

// The desktop starts Quarix with file:// URIs (the menu entry's %U) as
// well as plain paths, and the command line takes paths: a URI of a local
// file becomes its path; every other argument stays as given.
QStringList withLocalPaths(const QStringList& arguments);
