#pragma once

#include "engine/AccessDatabase.h"

#include <string>
#include <vector>

namespace quarix::test {

// Every row of a statement as its displayed text, columns joined by '|'.
inline std::vector<std::string> rowsOf(engine::AccessDatabase& db, const std::string& statement) {
    const auto rows = db.execute(statement);
    std::vector<std::string> lines;
    for (std::int64_t r = 0; r < rows->rowCount(); ++r) {
        std::string line;
        const auto& values = rows->row(r);
        for (std::size_t c = 0; c < values.size(); ++c)
            line += (c ? "|" : "") + rows->text(c, values[c]);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace quarix::test
