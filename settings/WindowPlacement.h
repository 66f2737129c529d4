#pragma once

#include <QList>
#include <QRect>
#include <QtGlobal>

// Where the main window restored from the settings may go. An edited
// settings file can ask for a window of 32,767 pixels (gigabytes of memory
// for its surface at every start) or for one far off every screen: the
// window is kept on the screen it is mostly on (the first screen when it is
// on none), no larger than that screen's available area, and moved inside
// it. Lengths come as wide numbers, so no value in the file can overflow.
QRect placementOnScreens(qint64 left, qint64 top, qint64 width, qint64 height,
                         const QList<QRect>& screens);
