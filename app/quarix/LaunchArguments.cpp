#include "app/quarix/LaunchArguments.h"

#include <QUrl>

namespace {

bool isLocalFileUri(const QUrl& url) {
    return url.isValid() && url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0 &&
           (url.host().isEmpty() || url.host() == QLatin1String("localhost"));
}

} // namespace

QStringList withLocalPaths(const QStringList& arguments) {
    QStringList result;
    result.reserve(arguments.size());
    for (const QString& argument : arguments) {
        QUrl url(argument);
        if (isLocalFileUri(url)) {
            url.setHost(QString());
            result.append(url.toLocalFile());
        } else {
            result.append(argument);
        }
    }
    return result;
}
