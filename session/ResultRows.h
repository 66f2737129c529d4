#pragma once

#include "engine/cache/ResultSet.h"
#include "search/ResultGridModel.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace quarix::session {

// The column names of a result.
QStringList columnNames(const engine::ResultSet& result);

// The columns of a result that may hold attachments (attachment and
// multi-value columns), by position.
QList<int> complexColumns(const engine::ResultSet& result);

// Rows [first, first + count) of a result as the grid shows them; fewer at
// the end of the result. A result with attachment or multi-value columns
// that reads one table gives each row one cell more, past its columns: the
// row's position in that table (see ResultGridModel::tablePosition).
std::vector<QStringList> displayRows(engine::ResultSet& result, long first, long count);

// Every row of a result for the grid, read as the view asks for them. The
// result keeps its database's cache open for as long as the rows are shown.
std::unique_ptr<search::RowSource> resultRows(std::shared_ptr<engine::ResultSet> result);

} // namespace quarix::session
