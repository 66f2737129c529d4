#pragma once

#include "engine/cache/ColumnIndex.h"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quarix::engine {

// Tables with fewer rows are scanned: an index would not pay for itself.
inline constexpr std::uint64_t kLeastRowsIndexed = 5000;

// What indexes can do for one criterion on a cache table: the condition on
// rowid that keeps the rows an index names (empty when no index helps, or
// when the one that would is missing or finds too many rows), and the index
// the criterion would use when it is missing.
struct IndexNarrowing {
    std::string condition;
    std::optional<ColumnIndex> missing;
};

// "rowid IN (candidates)" when the candidates are few enough against the
// table's rows for the index to beat a scan; empty otherwise.
std::string keepingCandidates(sqlite3* db, const std::string& candidates, std::uint64_t rows,
                              const std::string& rowid);

} // namespace quarix::engine
