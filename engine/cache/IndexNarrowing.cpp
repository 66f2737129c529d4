#include "engine/cache/IndexNarrowing.h"

#include "engine/cache/SqliteHelpers.h"

namespace quarix::engine {

namespace {

// A search an index answers for more rows than this share of the table is
// no faster than reading the table.
constexpr std::uint64_t kSelectiveShare = 20;

} // namespace

std::string keepingCandidates(sqlite3* db, const std::string& candidates, std::uint64_t rows,
                              const std::string& rowid) {
    const std::uint64_t most = rows / kSelectiveShare;
    Statement count(db, "SELECT count(*) FROM (" + candidates + " LIMIT " +
                            std::to_string(most + 1) + ")");
    count.step();
    if (static_cast<std::uint64_t>(sqlite3_column_int64(count.get(), 0)) > most)
        return {};
    return rowid + " IN (" + candidates + ")";
}

} // namespace quarix::engine
