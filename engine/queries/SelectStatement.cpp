#include "engine/queries/SelectStatement.h"

#include "engine/queries/FromClause.h"
#include "engine/queries/SqlNames.h"

#include <algorithm>
#include <cctype>

namespace quarix::engine {

namespace {

// Bits of the select-flags row.
constexpr int AllFields = 0x01;
constexpr int Distinct = 0x02;
constexpr int DistinctRow = 0x08;
constexpr int Top = 0x10;
constexpr int Percent = 0x20;

bool allDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

std::string expressionList(const std::vector<const MSysQueryRow*>& rows, const char* what) {
    std::string text;
    for (const auto* row : rows) {
        if (!text.empty())
            text += ", ";
        text += required(row->expression, what);
    }
    return text;
}

std::string clause(const QueryRows& rows, int attribute, const char* keyword, const char* what) {
    const auto* row = rows.single(attribute);
    return row ? std::string(keyword) + required(row->expression, what) : std::string();
}

} // namespace

std::string selectPredicate(const QueryRows& rows) {
    const auto* flags = rows.single(attribute::SelectFlags);
    if (!flags)
        return {};
    std::string text;
    if (flags->flag & Distinct)
        text = "DISTINCT ";
    else if (flags->flag & DistinctRow)
        text = "DISTINCTROW ";
    if (flags->flag & Top) {
        const auto& count = required(flags->name1, "the TOP count");
        if (!allDigits(count))
            throw BadQueryRows("the TOP count \"" + count + "\" is not a number");
        text += "TOP " + count + ((flags->flag & Percent) ? " PERCENT " : " ");
    }
    return text;
}

std::string columnText(const MSysQueryRow& column) {
    auto text = required(column.expression, "a column's expression");
    if (column.name1 && !column.name1->empty())
        text += " AS " + sqlName(*column.name1);
    return text;
}

std::string remoteDatabase(const std::optional<std::string>& path,
                           const std::optional<std::string>& type) {
    if (!path && !type)
        return {};
    auto text = " IN '" + path.value_or("") + "'";
    if (type && !type->empty())
        text += " [" + *type + "]";
    return text;
}

std::string orderByClause(const QueryRows& rows) {
    std::string text;
    for (const auto* row : rows.all(attribute::OrderBy)) {
        text += text.empty() ? " ORDER BY " : ", ";
        text += required(row->expression, "an ORDER BY expression");
        if (row->name1 && sameName(*row->name1, "D"))
            text += " DESC";
    }
    return text;
}

std::string selectStatement(const QueryRows& rows, const SelectParts& parts) {
    std::string columns;
    for (const auto* column : parts.columns)
        columns += (columns.empty() ? "" : ", ") + columnText(*column);
    if (rows.flag(attribute::SelectFlags) & AllFields)
        columns += columns.empty() ? "*" : ", *";
    if (columns.empty() && parts.verb == "SELECT")
        throw BadQueryRows("the query has no output columns");

    auto sql = parts.verb + " " + selectPredicate(rows) + columns;
    if (!parts.into.empty())
        sql += " INTO " + parts.into;

    const auto from = fromClause(rows);
    if (!from.empty()) {
        if (!columns.empty())
            sql += " ";
        sql += "FROM " + from;
        if (const auto* remote = rows.single(attribute::RemoteDatabase))
            sql += remoteDatabase(remote->name1, remote->expression);
    }
    sql += clause(rows, attribute::Where, " WHERE ", "the WHERE condition");
    if (!parts.groups.empty())
        sql += " GROUP BY " + expressionList(parts.groups, "a GROUP BY expression");
    sql += clause(rows, attribute::Having, " HAVING ", "the HAVING condition");
    sql += orderByClause(rows);
    return sql;
}

} // namespace quarix::engine
