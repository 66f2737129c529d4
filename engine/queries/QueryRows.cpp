#include "engine/queries/QueryRows.h"

#include <algorithm>

namespace quarix::engine {

namespace {

// Far above anything Access writes (it allows 255 output columns and 32
// tables); a bigger set comes from a damaged file and would only cost time.
constexpr std::size_t MaxRows = 20000;

bool knownAttribute(int value) {
    return (value >= attribute::Start && value <= attribute::OrderBy) || value == attribute::End;
}

std::string clauseName(int value) {
    static const char* const Names[] = {
        "start", "type",  "parameter", "select flags", "external database", "table", "column",
        "join",  "WHERE", "GROUP BY",  "HAVING",       "ORDER BY"};
    if (value == attribute::End)
        return "end";
    return value >= 0 && value <= attribute::OrderBy ? Names[value]
                                                     : "attribute " + std::to_string(value);
}

} // namespace

QueryRows::QueryRows(std::vector<MSysQueryRow> rows) : rows_(std::move(rows)) {
    if (rows_.empty())
        throw BadQueryRows("the query has no definition rows");
    if (rows_.size() > MaxRows)
        throw BadQueryRows("the query has too many definition rows");
    for (const auto& row : rows_) {
        if (!knownAttribute(row.attribute))
            throw BadQueryRows("unknown clause attribute " + std::to_string(row.attribute));
    }
    std::stable_sort(rows_.begin(), rows_.end(), [](const MSysQueryRow& a, const MSysQueryRow& b) {
        return a.attribute != b.attribute ? a.attribute < b.attribute : a.order < b.order;
    });
    if (rows_.front().attribute != attribute::Start)
        throw BadQueryRows("the query definition has no start row");
    if (rows_.back().attribute != attribute::End)
        throw BadQueryRows("the query definition has no end row");
    single(attribute::Start);
    single(attribute::End);
}

std::vector<const MSysQueryRow*> QueryRows::all(int attribute) const {
    std::vector<const MSysQueryRow*> result;
    for (const auto& row : rows_) {
        if (row.attribute == attribute)
            result.push_back(&row);
    }
    return result;
}

const MSysQueryRow* QueryRows::single(int attribute) const {
    const auto rows = all(attribute);
    if (rows.size() > 1)
        throw BadQueryRows("the query has " + std::to_string(rows.size()) + " " +
                           clauseName(attribute) + " rows");
    return rows.empty() ? nullptr : rows.front();
}

int QueryRows::flag(int attribute) const {
    const auto* row = single(attribute);
    return row ? row->flag : 0;
}

const std::string& required(const std::optional<std::string>& field, const char* what) {
    if (!field || field->empty())
        throw BadQueryRows(std::string(what) + " is missing");
    return *field;
}

} // namespace quarix::engine
