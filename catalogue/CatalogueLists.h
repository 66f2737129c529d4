#pragma once

#include "engine/AccessDatabase.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quarix::catalogue {

// The lists a database offers the criteria boxes and quarix-cli, each read
// for one job from a database the caller opened. Engine failures throw
// engine::EngineError.

// The tables ("Table") or saved queries ("Query") in the file's order,
// without system tables, the hidden value tables of attachment and
// multi-value columns, and "~sq_" queries; with all, every one of them.
QStringList objectNames(const engine::AccessDatabase& db, const QString& kind, bool all = false);

struct SavedQueryListing {
    QString name;
    engine::QueryKind kind = engine::QueryKind::Select;
    QString sql; // as rebuilt from the file
};
std::vector<SavedQueryListing> savedQueries(const engine::AccessDatabase& db, bool all = false);

struct FieldDef {
    QString name;
    engine::ColumnType type = engine::ColumnType::Unknown;
};

// The columns of a table or saved query, in column order, from the
// catalogue: no row is read. 3343 for a table whose definition cannot be
// read.
std::vector<FieldDef> fieldDefs(const engine::AccessDatabase& db, const QString& source,
                                const engine::ReadOptions& options = {});
QStringList fieldNames(const engine::AccessDatabase& db, const QString& source,
                       const engine::ReadOptions& options = {});

// The distinct values of a field in ascending order, as the grid shows
// them, without Null and empty texts; at most limit of them (all when
// limit is negative). 3265 for a field the table does not have.
// A salvaged read's warnings go to warnings when given.
QStringList distinctValues(const engine::AccessDatabase& db, const QString& table,
                           const QString& field, long limit,
                           const engine::ReadOptions& options = {},
                           std::vector<std::string>* warnings = nullptr);

} // namespace quarix::catalogue
