#include "engine/SourceResolver.h"

#include "engine/cache/IndexNarrowing.h"
#include "engine/cache/LikeNarrowing.h"
#include "engine/cache/RangeNarrowing.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/sql/AccessErrors.h"
#include "engine/sql/Limits.h"
#include "engine/sql/Translator.h"

#include <algorithm>

namespace quarix::engine {

namespace {

std::string queryKindName(QueryKind kind) {
    switch (kind) {
    case QueryKind::Delete:
        return "a delete query";
    case QueryKind::Update:
        return "an update query";
    case QueryKind::Append:
        return "an append query";
    case QueryKind::MakeTable:
        return "a make-table query";
    case QueryKind::DataDefinition:
        return "a data-definition query";
    case QueryKind::PassThrough:
        return "a pass-through query";
    default:
        return "a query of an unknown kind";
    }
}

} // namespace

std::vector<std::string> Resolver::warnings() const {
    std::vector<std::string> all = warnings_;
    if (cache_ && !cache_->warning().empty())
        all.push_back(cache_->warning());
    return all;
}

std::vector<std::optional<std::string>> Resolver::textColumn(const std::string& select) {
    if (!cache_)
        throw NeedsRows{};
    std::vector<std::optional<std::string>> values;
    Statement query(cache_->db(), select);
    bindParameters(query.get(), parameters_.values());
    while (query.step()) {
        if (sqlite3_column_type(query.get(), 0) == SQLITE_NULL) {
            values.emplace_back();
            continue;
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query.get(), 0));
        values.emplace_back(
            std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(query.get(), 0))));
    }
    return values;
}

const sql::SchemaSource* Resolver::find(const std::string& name) {
    for (const auto& source : sources_)
        if (sameName(source.name, name))
            return &source;
    for (const auto& table : state_.catalogue.tables)
        if (sameName(table.name, name))
            return &sources_.emplace_back(tableSource(table));
    for (const auto& query : state_.catalogue.queries)
        if (sameName(query.name, name))
            return &sources_.emplace_back(querySource(query.name));
    return nullptr;
}

std::string Resolver::narrowLike(const std::string& table, const std::string& column,
                                 const std::string& rowid, const std::string& pattern) {
    const auto rows = tableRows_.find(table);
    if (!cache_ || rows == tableRows_.end())
        return {};
    const IndexNarrowing narrowing =
        engine::narrowLike(cache_->db(), table, column, rows->second, rowid, pattern);
    if (narrowing.missing)
        cache_->want(*narrowing.missing);
    return narrowing.condition;
}

std::string Resolver::narrowRange(const std::string& table, const std::string& column,
                                  const std::string& rowid, std::optional<double> lower,
                                  std::optional<double> upper) {
    const auto rows = tableRows_.find(table);
    if (!cache_ || rows == tableRows_.end())
        return {};
    const IndexNarrowing narrowing =
        engine::narrowRange(cache_->db(), table, column, rows->second, rowid, {lower, upper});
    if (narrowing.missing)
        cache_->want(*narrowing.missing);
    return narrowing.condition;
}

sql::SchemaSource Resolver::tableSource(const TableInfo& listed) {
    const SourceTable origin = sourceTable(state_, listed);
    const TableInfo& table = origin.info;
    std::string sqlName = "\"" + table.name + "\"";
    if (cache_) {
        const CachedTable cached =
            cache_->table(table, options_, origin.linked ? &*origin.linked : nullptr);
        if (!cached.warning.empty())
            warnings_.push_back(cached.warning);
        sqlName = cached.sqlName;
        tableRows_[sqlName] = cached.rows;
    }
    sql::SchemaSource source{table.name, sqlName, cache_ ? sqlName : std::string(), {}};
    for (std::size_t i = 0; i < table.columns.size(); ++i)
        source.columns.push_back(
            {table.columns[i].name, table.columns[i].type, "c" + std::to_string(i)});
    return source;
}

sql::SchemaSource Resolver::querySource(const std::string& name) {
    const auto& saved = state_.savedQueries();
    auto it = std::find_if(saved.begin(), saved.end(),
                           [&](const SavedQuery& q) { return q.name == name; });
    if (it == saved.end())
        throw sql::errors::missingSource(name);
    if (it->kind != QueryKind::Select && it->kind != QueryKind::Union &&
        it->kind != QueryKind::Crosstab)
        throw EngineError(3219, "The query '" + name + "' is " + queryKindName(it->kind) +
                                    "; Quarix only reads data and does not run it.");
    if (!it->error.empty())
        throw EngineError(3000, "The query '" + name + "' cannot be read: " + it->error);
    if (std::find(resolving_.begin(), resolving_.end(), name) != resolving_.end())
        throw EngineError(3103, "Circular reference caused by '" + name + "'.");
    if (resolving_.size() >= sql::kMaxSavedQueryNesting)
        throw sql::errors::tooComplex();
    resolving_.push_back(name);
    const sql::TranslatedQuery translated = sql::translateSelect(it->sql, *this, parameters_);
    resolving_.pop_back();
    sql::SchemaSource source{name, "(" + translated.sql + ")", {}, {}};
    for (const auto& column : translated.columns)
        source.columns.push_back({column.name, column.type, column.sqlName});
    return source;
}

} // namespace quarix::engine
