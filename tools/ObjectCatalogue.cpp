#include "tools/ObjectCatalogue.h"

#include "catalogue/CatalogueLists.h"
#include "catalogue/CatalogueNames.h"
#include "engine/EngineError.h"
#include "session/DatabaseHandle.h"

#include <QFileInfo>

namespace quarix::tools {

namespace {

template <typename Objects> QStringList namesOf(const Objects& objects) {
    QStringList names;
    for (const auto& object : objects)
        names << QString::fromStdString(object.name);
    return names;
}

} // namespace

ObjectLists Load_Objects(const QString& databasePath) {
    ObjectLists lists;
    if (databasePath.isEmpty() || !QFileInfo(databasePath).isFile())
        return lists;
    try {
        const auto db = session::DatabaseHandle(databasePath).open();
        lists.reports = namesOf(db->catalogue().reports);
        lists.forms = namesOf(db->catalogue().forms);
        lists.tables = catalogue::objectNames(*db, catalogue::kTableKind);
        lists.queries = catalogue::objectNames(*db, catalogue::kQueryKind);
    } catch (const engine::EngineError& e) {
        lists.error = QStringLiteral("LOAD OBJECTS: Error Reading Database\r\n%1 %2")
                          .arg(e.number())
                          .arg(QString::fromStdString(e.description()));
    }
    return lists;
}

} // namespace quarix::tools
