#include "catalogue/CatalogueNames.h"

#include <QDir>
#include <QFileInfo>

namespace quarix::catalogue {

QStringList objectKinds(int showTables, int showQueries) {
    QStringList kinds;
    if (showTables == 1)
        kinds << kTableKind;
    if (showQueries == 1)
        kinds << kQueryKind;
    return kinds;
}

bool isHiddenTable(const QString& name) {
    return name.startsWith(QStringLiteral("MSys"), Qt::CaseSensitive);
}

bool isHiddenQuery(const QString& name) {
    return name.startsWith(QStringLiteral("~sq_"), Qt::CaseSensitive);
}

bool isPagedDatabase(const QString& path, bool gridPaging) {
    return path.right(5).toUpper() == QStringLiteral("ACCDB") || gridPaging;
}

bool namesADatabase(const QString& path) {
    return !path.isEmpty() && path != QStringLiteral("*.mdb") && path != QStringLiteral("*.accdb");
}

QString absoluteDatabasePath(const QString& path) {
    return namesADatabase(path) ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : path;
}

} // namespace quarix::catalogue
