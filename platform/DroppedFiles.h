#pragma once

#include <QStringList>

class QMimeData;

namespace quarix::platform {

// The local file paths of a drag and drop, in the order they were dropped.
QStringList droppedFiles(const QMimeData* data);

} // namespace quarix::platform
