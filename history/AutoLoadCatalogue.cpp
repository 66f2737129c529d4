#include "history/AutoLoadCatalogue.h"

#include "catalogue/CatalogueNames.h"
#include "catalogue/Dao.h"

#include <QFileInfo>

namespace quarix::history {

namespace {

catalogue::Database openForReading(const QString& path) {
    return catalogue::DBEngine::instance().Workspaces(0).OpenDatabase(path, false);
}

} // namespace

QStringList autoLoadTableNames(const QString& path, int showTables, int showQueries) {
    QStringList names;
    if (!QFileInfo(path).isFile())
        return names;
    catalogue::Database db = openForReading(path);
    if (showTables == 1)
        for (const QString& name : db.TableDefs())
            if (!catalogue::isHiddenTable(name))
                names << name;
    if (showQueries == 1)
        for (const QString& name : db.QueryDefs())
            if (!catalogue::isHiddenQuery(name))
                names << name;
    db.Close();
    return names;
}

QStringList autoLoadFieldNames(const QString& path, const QString& table) {
    QStringList names;
    if (!QFileInfo(path).isFile())
        return names;
    catalogue::Database db = openForReading(path);
    catalogue::Recordset rs = db.OpenRecordset(table);
    rs.MoveLast();
    for (int i = 0; i < rs.FieldCount(); ++i)
        names << rs.FieldName(i);
    rs.Close();
    db.Close();
    return names;
}

} // namespace quarix::history
