#pragma once

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace quarix::test {

// An RFC 4180 file as the fixtures write it: an unquoted empty field is
// Null (nullopt), a quoted empty field is the empty string.
using CsvRow = std::vector<std::optional<std::string>>;

inline std::vector<CsvRow> readCsv(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    auto endField = [&] {
        row.push_back(wasQuoted || !field.empty() ? std::optional<std::string>(field)
                                                  : std::nullopt);
        field.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field.push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
            wasQuoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endField();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field.push_back(c);
        }
    }
    if (!field.empty() || wasQuoted || !row.empty()) {
        endField();
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace quarix::test
