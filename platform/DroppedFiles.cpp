#include "platform/DroppedFiles.h"

#include <QMimeData>
#include <QUrl>

namespace quarix::platform {

QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

} // namespace quarix::platform
