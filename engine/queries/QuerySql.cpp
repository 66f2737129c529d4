#include "engine/queries/QuerySql.h"

#include "engine/queries/FromClause.h"
#include "engine/queries/SelectStatement.h"
#include "engine/queries/SqlNames.h"

#include <algorithm>

namespace quarix::engine {

namespace {

constexpr int OwnerAccess = 0x04;   // select-flags row
constexpr int DistinctUnion = 0x02; // select-flags row of a union: UNION rather than UNION ALL
constexpr int AppendValue = 0x8000; // column row of an append query: a VALUES item
constexpr int PivotColumn = 0x01;   // column or group row of a crosstab: the column heading
constexpr int RowHeading = 0x02;    // column row of a crosstab: a row heading

constexpr const char* UnionPart1 = "X7YZ_____1";
constexpr const char* UnionPart2 = "X7YZ_____2";

// The kinds in the order of the type row's flag (1 select .. 9 union).
constexpr QueryKind RowKinds[] = {
    QueryKind::Select,         QueryKind::MakeTable,   QueryKind::Append,
    QueryKind::Update,         QueryKind::Delete,      QueryKind::Crosstab,
    QueryKind::DataDefinition, QueryKind::PassThrough, QueryKind::Union};

QueryKind kindOf(const QueryRows& rows, QueryKind catalogueKind) {
    const auto* type = rows.single(attribute::Type);
    if (!type) {
        if (catalogueKind == QueryKind::Unknown)
            throw BadQueryRows("the query has no type row");
        return catalogueKind;
    }
    if (type->flag < 1 || type->flag > 9)
        throw BadQueryRows("unknown query type " + std::to_string(type->flag));
    return RowKinds[type->flag - 1];
}

// Parameter types by the type code in the parameter row's flag.
std::string parameterType(const MSysQueryRow& row) {
    switch (row.flag) {
    case 0:
        return "Value";
    case 1:
        return "Bit";
    case 2:
        return "Byte";
    case 3:
        return "Short";
    case 4:
        return "Long";
    case 5:
        return "Currency";
    case 6:
        return "IEEESingle";
    case 7:
        return "IEEEDouble";
    case 8:
        return "DateTime";
    case 9:
        return "Binary";
    case 10:
        return "Text ( " + std::to_string(row.extra > 0 ? row.extra : 255) + " )";
    case 11:
        return "LongBinary";
    case 12:
        return "LongText";
    case 15:
        return "Guid";
    case 16:
        return "Decimal";
    default:
        throw BadQueryRows("unknown parameter type " + std::to_string(row.flag));
    }
}

// A form reference such as Forms!Orders!Customer is written part by part.
std::string parameterName(const std::string& name) {
    std::string text;
    std::size_t start = 0;
    for (auto bang = name.find('!');; bang = name.find('!', start)) {
        const auto part =
            name.substr(start, bang == std::string::npos ? std::string::npos : bang - start);
        text += sqlName(part);
        if (bang == std::string::npos)
            return text;
        text += "!";
        start = bang + 1;
    }
}

std::string parametersClause(const QueryRows& rows) {
    std::string text;
    for (const auto* row : rows.all(attribute::Parameter)) {
        text += text.empty() ? "PARAMETERS " : ", ";
        text +=
            parameterName(required(row->name1, "a parameter's name")) + " " + parameterType(*row);
    }
    return text.empty() ? text : text + "; ";
}

std::vector<const MSysQueryRow*> filtered(const std::vector<const MSysQueryRow*>& rows,
                                          bool (*keep)(int flag)) {
    std::vector<const MSysQueryRow*> result;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(result),
                 [keep](const auto* row) { return keep(row->flag); });
    return result;
}

// The table an append or make-table query writes to, from its type row.
std::string targetTable(const QueryRows& rows, const char* what) {
    const auto* type = rows.single(attribute::Type);
    if (!type)
        throw BadQueryRows(std::string(what) + " is missing");
    return sqlName(required(type->name1, what));
}

std::string targetDatabase(const QueryRows& rows) {
    const auto* type = rows.single(attribute::Type);
    return type ? remoteDatabase(type->name2, type->expression) : std::string();
}

std::string appendStatement(const QueryRows& rows) {
    const auto columns = rows.all(attribute::Column);
    auto sql = "INSERT INTO " + targetTable(rows, "the target table of an append query");
    const bool named =
        !columns.empty() && std::all_of(columns.begin(), columns.end(), [](const auto* column) {
            return column->name2 && !column->name2->empty();
        });
    if (named) {
        sql += " ( ";
        for (std::size_t i = 0; i < columns.size(); ++i)
            sql += (i ? ", " : "") + sqlName(*columns[i]->name2);
        sql += " )";
    }
    sql += targetDatabase(rows);
    const auto values = filtered(columns, [](int flag) { return (flag & AppendValue) != 0; });
    if (!values.empty()) {
        std::string list;
        for (const auto* value : values)
            list += (list.empty() ? "" : ", ") + required(value->expression, "an appended value");
        return sql + " VALUES (" + list + ")";
    }
    return sql + " " + selectStatement(rows, {"SELECT", columns, rows.all(attribute::GroupBy), {}});
}

std::string updateStatement(const QueryRows& rows) {
    const auto tables = fromClause(rows);
    if (tables.empty())
        throw BadQueryRows("the update query names no table");
    std::string sql = "UPDATE " + selectPredicate(rows) + tables;
    if (const auto* remote = rows.single(attribute::RemoteDatabase))
        sql += remoteDatabase(remote->name1, remote->expression);
    std::string assignments;
    for (const auto* column : rows.all(attribute::Column)) {
        assignments += assignments.empty() ? " SET " : ", ";
        assignments += required(column->name2, "an updated field") + " = " +
                       required(column->expression, "an update's new value");
    }
    if (assignments.empty())
        throw BadQueryRows("the update query sets no field");
    sql += assignments;
    if (const auto* where = rows.single(attribute::Where))
        sql += " WHERE " + required(where->expression, "the WHERE condition");
    return sql;
}

std::string crosstabStatement(const QueryRows& rows) {
    const auto columns = rows.all(attribute::Column);
    const auto values =
        filtered(columns, [](int flag) { return (flag & (PivotColumn | RowHeading)) == 0; });
    const auto pivots = filtered(columns, [](int flag) { return (flag & PivotColumn) != 0; });
    if (values.size() != 1 || pivots.size() != 1)
        throw BadQueryRows("a crosstab query needs one value and one column heading");
    const auto headings = filtered(columns, [](int flag) { return (flag & RowHeading) != 0; });
    const auto groups =
        filtered(rows.all(attribute::GroupBy), [](int flag) { return (flag & PivotColumn) == 0; });
    return "TRANSFORM " + columnText(*values.front()) + " " +
           selectStatement(rows, {"SELECT", headings, groups, {}}) + " PIVOT " +
           required(pivots.front()->expression, "the column heading");
}

std::string trimmed(std::string text) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
    };
    while (!text.empty() && blank(text.back()))
        text.pop_back();
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    return std::string(first, text.end());
}

std::string unionPart(const QueryRows& rows, const char* id) {
    for (const auto* table : rows.all(attribute::Table)) {
        if (table->name2 == id) {
            auto part = trimmed(required(table->expression, "a part of the union"));
            if (!part.empty() && part.back() == ';')
                part = trimmed(part.substr(0, part.size() - 1));
            return part;
        }
    }
    throw BadQueryRows(std::string("the union query has no part ") + id);
}

std::string unionStatement(const QueryRows& rows) {
    const bool distinct = rows.flag(attribute::SelectFlags) & DistinctUnion;
    return unionPart(rows, UnionPart1) + (distinct ? " UNION " : " UNION ALL ") +
           unionPart(rows, UnionPart2) + orderByClause(rows);
}

// Pass-through and data-definition queries keep the text as typed.
std::string storedText(const QueryRows& rows) {
    const auto* type = rows.single(attribute::Type);
    auto text = type ? trimmed(type->expression.value_or("")) : std::string();
    if (text.empty())
        throw BadQueryRows("the query has no SQL text");
    return text;
}

std::string statement(const QueryRows& rows, QueryKind kind) {
    std::string sql;
    switch (kind) {
    case QueryKind::PassThrough:
    case QueryKind::DataDefinition:
        return storedText(rows);
    case QueryKind::Select:
        sql = selectStatement(
            rows, {"SELECT", rows.all(attribute::Column), rows.all(attribute::GroupBy), {}});
        break;
    case QueryKind::MakeTable:
        sql = selectStatement(
            rows,
            {"SELECT", rows.all(attribute::Column), rows.all(attribute::GroupBy),
             targetTable(rows, "the new table of a make-table query") + targetDatabase(rows)});
        break;
    case QueryKind::Delete:
        if (rows.all(attribute::Table).empty())
            throw BadQueryRows("the delete query names no table");
        sql = selectStatement(rows, {"DELETE", rows.all(attribute::Column), {}, {}});
        break;
    case QueryKind::Append:
        sql = appendStatement(rows);
        break;
    case QueryKind::Update:
        sql = updateStatement(rows);
        break;
    case QueryKind::Crosstab:
        sql = crosstabStatement(rows);
        break;
    case QueryKind::Union:
        sql = unionStatement(rows);
        break;
    case QueryKind::Unknown:
        throw BadQueryRows("unknown query type");
    }
    if (rows.flag(attribute::SelectFlags) & OwnerAccess)
        sql += " WITH OWNERACCESS OPTION";
    return parametersClause(rows) + sql + ";";
}

} // namespace

SavedQuery rebuildQuery(std::string name, QueryKind catalogueKind, std::vector<MSysQueryRow> rows) {
    SavedQuery query;
    query.name = std::move(name);
    query.kind = catalogueKind;
    try {
        const QueryRows sorted(std::move(rows));
        query.kind = kindOf(sorted, catalogueKind);
        query.sql = statement(sorted, query.kind);
        for (const auto* parameter : sorted.all(attribute::Parameter)) {
            if (parameter->name1)
                query.parameters.emplace_back(unbracketed(*parameter->name1));
        }
    } catch (const std::exception& error) {
        query.sql.clear();
        query.parameters.clear();
        query.error = error.what();
    }
    return query;
}

} // namespace quarix::engine
