#pragma once

#include <QString>
#include <QStringList>

namespace quarix::catalogue {

// The kinds the table box can list, as the kind box offers them.
inline const QString kTableKind = QStringLiteral("Table");
inline const QString kQueryKind = QStringLiteral("Query");

// "Table" and/or "Query", as the settings allow.
QStringList objectKinds(int showTables, int showQueries);

// System tables ("MSys" prefix, case-sensitive) are never listed.
bool isHiddenTable(const QString& name);
// Temporary queries ("~sq_" prefix) are never listed.
bool isHiddenQuery(const QString& name);

// Large results are paged for .accdb files or when the user asked for it.
bool isPagedDatabase(const QString& path, bool gridPaging);

// The database a path names, as the recent list and the settings keep it:
// absolute and clean, so that it still names the file from another folder.
// Texts that name no database stay as they are.
QString absoluteDatabasePath(const QString& path);

// A chooser's empty pattern ("*.mdb", "*.accdb") names no database.
bool namesADatabase(const QString& path);

} // namespace quarix::catalogue
