#include "history/AutoLoadCatalogue.h"

#include "catalogue/CatalogueLists.h"
#include "catalogue/CatalogueNames.h"
#include "engine/EngineError.h"
#include "session/DatabaseHandle.h"

#include <QFileInfo>

namespace quarix::history {

QStringList autoLoadTableNames(const QString& path, int showTables, int showQueries) {
    QStringList names;
    if (!QFileInfo(path).isFile())
        return names;
    const auto db = session::DatabaseHandle(path).open();
    if (showTables == 1)
        names << catalogue::objectNames(*db, catalogue::kTableKind);
    if (showQueries == 1)
        names << catalogue::objectNames(*db, catalogue::kQueryKind);
    return names;
}

QStringList autoLoadFieldNames(const QString& path, const QString& table) {
    if (!QFileInfo(path).isFile())
        return {};
    const auto db = session::DatabaseHandle(path).open();
    // The dialog moves to the last record first: a source without rows has none.
    if (db->execute(table.toStdString())->rowCount() == 0)
        throw engine::EngineError(3021, "No current record.");
    return catalogue::fieldNames(*db, table);
}

} // namespace quarix::history
