#include "catalogue/CatalogueReader.h"

#include "catalogue/CatalogueNames.h"
#include "catalogue/Dao.h"
#include "catalogue/DatasheetText.h"
#include "engine/reader/ReaderErrors.h"

namespace quarix::catalogue {

namespace {
Database openShared(const QString& path) {
    return DBEngine::instance().Workspaces(0).OpenDatabase(path, false);
}
} // namespace

QStringList readObjectNames(const QString& path, const QString& kind) {
    Database db = openShared(path);
    QStringList names;
    if (kind == kTableKind) {
        for (const QString& name : db.TableDefs())
            if (!isHiddenTable(name))
                names << name;
    } else if (kind == kQueryKind) {
        for (const QString& name : db.QueryDefs())
            if (!isHiddenQuery(name))
                names << name;
    }
    db.Close();
    return names;
}

QStringList readFieldNames(const QString& path, const QString& table) {
    Database db = openShared(path);
    Recordset rs = db.OpenRecordset(table);
    // Every table and query has a column: none means the file is damaged.
    if (rs.FieldCount() == 0)
        throw engine::reader_errors::tableDamagedError(table.toStdString(), path.toStdString());
    QStringList names;
    for (int i = 0; i < rs.FieldCount(); ++i)
        names << rs.FieldName(i);
    rs.Close();
    db.Close();
    return names;
}

QStringList readValueList(const QString& path, const QString& table, const QString& field,
                          int maxEntries) {
    Database db = openShared(path);
    const QString column = QLatin1Char('[') + field + QLatin1Char(']');
    Recordset rs = db.OpenRecordset(
        QStringLiteral("select DISTINCT ") + column + QStringLiteral(" from [") + table +
            QStringLiteral("] ORDER BY ") + column + QStringLiteral(" ASC"),
        dbOpenSnapshot);
    QStringList values{QString()};
    QString previous;
    while (!rs.EOF_() && values.size() < maxEntries) {
        const Field value = rs.Fields(0);
        const QString text = datasheetText(value);
        if (!value.IsNull() && !text.isEmpty() && text != previous)
            values << text;
        previous = text;
        rs.MoveNext();
    }
    rs.Close();
    db.Close();
    return values;
}

} // namespace quarix::catalogue
