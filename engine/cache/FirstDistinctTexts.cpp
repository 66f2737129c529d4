#include "engine/cache/FirstDistinctTexts.h"

#include "engine/cache/SqliteHelpers.h"
#include "engine/sql/AccessText.h"

#include <set>
#include <string_view>

namespace quarix::engine {

namespace {

struct TextOrder {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        return sql::compareText(a, b) < 0;
    }
};

} // namespace

std::vector<std::string> firstDistinctTexts(sqlite3* db, const std::string& table,
                                            const std::string& column, std::size_t limit) {
    std::set<std::string, TextOrder> kept;
    if (limit > 0) {
        Statement scan(db, "SELECT " + column + " FROM " + quoteIdentifier(table) + " WHERE " +
                               column + " <> '' ORDER BY rowid");
        while (scan.step()) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(scan.get(), 0));
            const std::string_view value(
                text, static_cast<std::size_t>(sqlite3_column_bytes(scan.get(), 0)));
            // Most texts of a long column come after every one kept.
            if (kept.size() == limit && sql::compareText(value, *kept.rbegin()) >= 0)
                continue;
            if (!kept.emplace(value).second)
                continue;
            if (kept.size() > limit)
                kept.erase(std::prev(kept.end()));
        }
    }
    return {kept.begin(), kept.end()};
}

} // namespace quarix::engine
