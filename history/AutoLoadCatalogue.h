#pragma once

#include <QString>
#include <QStringList>

namespace quarix::history {

// What the AutoLoad dialog lists, read straight from the file each time.
// Engine failures throw engine::EngineError.

// The tables (when showTables is 1, system tables left out), then the
// saved queries (when showQueries is 1, "~sq_" ones left out). A file that
// does not exist gives an empty list.
QStringList autoLoadTableNames(const QString& path, int showTables, int showQueries);

// The field names of a table or query. A missing file gives an empty list;
// a table or query without rows fails, as the engine cannot move to a last
// record.
QStringList autoLoadFieldNames(const QString& path, const QString& table);

} // namespace quarix::history
