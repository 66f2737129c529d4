#pragma once

#include "engine/AccessDatabase.h"

#include <string>
#include <vector>

namespace quarix::test {

// Every row of a result as its displayed text, columns joined by '|'.
inline std::vector<std::string> rowsOf(engine::ResultSet& rows) {
    std::vector<std::string> lines;
    for (std::int64_t r = 0; r < rows.rowCount(); ++r) {
        std::string line;
        const auto& values = rows.row(r);
        for (std::size_t c = 0; c < values.size(); ++c)
            line += (c ? "|" : "") + rows.text(c, values[c]);
        lines.push_back(std::move(line));
    }
    return lines;
}

// The same for the result of a statement.
inline std::vector<std::string> rowsOf(engine::AccessDatabase& db, const std::string& statement) {
    return rowsOf(*db.execute(statement));
}

} // namespace quarix::test
