#pragma once

#include "engine/cache/IndexNarrowing.h"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quarix::engine {

// Stored values from lower to upper, both included; a missing bound is open.
struct StoredRange {
    std::optional<double> lower;
    std::optional<double> upper;
};

// What an ordered index can do for a comparison of a number or date column
// of a cache table of rows rows: the rows whose stored value lies in the
// range, and any whose value is not a number at all (the comparison decides
// those).
IndexNarrowing narrowRange(sqlite3* db, const std::string& table, const std::string& column,
                           std::uint64_t rows, const std::string& rowid, const StoredRange& range);

} // namespace quarix::engine
