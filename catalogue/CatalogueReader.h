#pragma once

#include <QString>
#include <QStringList>

namespace quarix::catalogue {

// The lists the criteria boxes offer, each read by opening the database,
// doing the one job and closing it again. Engine failures throw
// engine::EngineError.

// The visible tables ("Table") or saved queries ("Query") of a database.
QStringList readObjectNames(const QString& path, const QString& kind);

// The column names of a table or query, in column order (also when it has
// no rows).
QStringList readFieldNames(const QString& path, const QString& table);

// The pick list of a column: the empty entry, then its distinct non-empty
// values in ascending order, at most maxEntries entries in all.
QStringList readValueList(const QString& path, const QString& table, const QString& field,
                          int maxEntries);

} // namespace quarix::catalogue
