#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarix::engine {

// One row of the system table MSysQueries: one clause of a saved query.
struct MSysQueryRow {
    int attribute = 0;
    std::optional<std::string> expression;
    int flag = 0;
    std::optional<std::string> name1, name2;
    std::int32_t objectId = 0;
    int order = 0;
    std::int32_t extra = 0; // LvExtra: the size of a Text parameter
};

// What each row of a query describes (MSysQueries.Attribute).
namespace attribute {
constexpr int Start = 0;
constexpr int Type = 1;
constexpr int Parameter = 2;
constexpr int SelectFlags = 3;
constexpr int RemoteDatabase = 4;
constexpr int Table = 5;
constexpr int Column = 6;
constexpr int Join = 7;
constexpr int Where = 8;
constexpr int GroupBy = 9;
constexpr int Having = 10;
constexpr int OrderBy = 11;
constexpr int End = 255;
} // namespace attribute

// Rows that do not describe a query Access could have saved.
class BadQueryRows : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The rows of one saved query in clause order (attribute, then Order).
// Construction checks the overall shape and throws BadQueryRows.
class QueryRows {
public:
    explicit QueryRows(std::vector<MSysQueryRow> rows);

    std::vector<const MSysQueryRow*> all(int attribute) const;
    // The single row of an attribute, or null when there is none; a
    // repeated single-row attribute throws.
    const MSysQueryRow* single(int attribute) const;
    // The flag of the single row of an attribute, 0 when absent.
    int flag(int attribute) const;

private:
    std::vector<MSysQueryRow> rows_;
};

// The text of a field that must be present.
const std::string& required(const std::optional<std::string>& field, const char* what);

} // namespace quarix::engine
