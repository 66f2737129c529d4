#pragma once

#include "engine/cache/ColumnIndex.h"

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarix::engine {

// The literal parts of an Access Like pattern, case-folded as Like
// compares them: every text the pattern matches holds them.
struct PatternLiterals {
    bool matchesNothing = false;   // an unclosed "["
    bool exact = false;            // no wildcard at all: the text is the literal
    std::string prefix;            // the literal the text begins with
    std::vector<std::string> runs; // literal runs of three or more characters
};
PatternLiterals literalsOf(std::string_view pattern);

// Tables with fewer rows are scanned: an index would not pay for itself.
inline constexpr std::uint64_t kLeastRowsIndexed = 5000;

// What indexes can do for "column Like pattern" on a cache table of rows
// rows: the condition on rowid that keeps the rows an index names (empty
// when no index helps, or when the one that would is missing or finds too
// many rows), and the index the pattern would use when it is missing.
struct LikeNarrowing {
    std::string condition;
    std::optional<ColumnIndex> missing;
};
LikeNarrowing narrowLike(sqlite3* db, const std::string& table, const std::string& column,
                         std::uint64_t rows, const std::string& rowid, std::string_view pattern);

} // namespace quarix::engine
