#pragma once

#include "engine/cache/IndexNarrowing.h"

#include <sqlite3.h>

#include <cstdint>
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

// What indexes can do for "column Like pattern" on a cache table of rows
// rows.
IndexNarrowing narrowLike(sqlite3* db, const std::string& table, const std::string& column,
                          std::uint64_t rows, const std::string& rowid, std::string_view pattern);

} // namespace quarix::engine
