#include "tools/ObjectCatalogue.h"

#include "catalogue/Dao.h"

#include <QFileInfo>

namespace quarix::tools {

ObjectLists Load_Objects(const QString& databasePath) {
    ObjectLists lists;
    if (databasePath.isEmpty() || !QFileInfo(databasePath).isFile())
        return lists;
    try {
        catalogue::Database db =
            catalogue::DBEngine::instance().Workspaces(0).OpenDatabase(databasePath, false);
        lists.reports = db.Reports();
        lists.forms = db.Forms();
        for (const QString& table : db.TableDefs()) {
            if (!table.startsWith(QStringLiteral("MSys")))
                lists.tables << table;
        }
        for (const QString& query : db.QueryDefs()) {
            if (!query.startsWith(QStringLiteral("~sq_")))
                lists.queries << query;
        }
        db.Close();
    } catch (const engine::EngineError& e) {
        lists.error = QStringLiteral("LOAD OBJECTS: Error Reading Database\r\n%1 %2")
                          .arg(e.number())
                          .arg(QString::fromStdString(e.description()));
    }
    return lists;
}

} // namespace quarix::tools
