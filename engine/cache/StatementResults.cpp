#include "engine/cache/StatementResults.h"

#include "engine/cache/SqliteHelpers.h"
#include "engine/cache/VolatileSql.h"

namespace quarix::engine {

namespace {

constexpr std::size_t kept = 4;

// qx_counted(c): c, after counting it when it holds, as a condition does.
void counted(sqlite3_context* context, int, sqlite3_value** argv) {
    sqlite3_value* condition = argv[0];
    bool holds = false;
    switch (sqlite3_value_type(condition)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER:
        holds = sqlite3_value_int64(condition) != 0;
        break;
    default:
        holds = sqlite3_value_double(condition) != 0.0;
        break;
    }
    if (holds)
        ++*static_cast<std::int64_t*>(sqlite3_user_data(context));
    sqlite3_result_value(context, condition);
}

} // namespace

StatementResults::StatementResults(sqlite3* db, std::recursive_mutex& mutex)
    : db_(db), mutex_(mutex) {
    sqlite3_create_function_v2(db_, "qx_counted", 1, SQLITE_UTF8 | SQLITE_DIRECTONLY, &counted_,
                               &counted, nullptr, nullptr, nullptr);
}

ResultTable::~ResultTable() {
    std::lock_guard lock(mutex_);
    sqlite3_exec(db_, ("DROP TABLE IF EXISTS " + name_).c_str(), nullptr, nullptr, nullptr);
}

StatementResults::Known* StatementResults::find(const std::string& sql) {
    for (Known& known : recent_)
        if (known.sql == sql)
            return &known;
    return nullptr;
}

void StatementResults::remember(const std::string& sql, const ResultKeys& keys) {
    if (Known* known = find(sql)) {
        known->keys = keys;
        return;
    }
    recent_.push_back({sql, keys});
    if (recent_.size() > kept)
        recent_.pop_front();
}

std::int64_t StatementResults::count(const std::string& select,
                                     const std::vector<sql::BoundValue>& parameters) {
    Statement q(db_, select);
    bindParameters(q.get(), parameters);
    q.step();
    return sqlite3_column_int64(q.get(), 0);
}

std::shared_ptr<ResultTable>
StatementResults::materialise(const std::string& select,
                              const std::vector<sql::BoundValue>& parameters, bool* sorted) {
    const std::string name = "temp.rs" + std::to_string(++tempCounter_);
    Statement create(db_, "CREATE TABLE " + name + " AS " + select);
    bindParameters(create.get(), parameters);
    create.step();
    if (sorted)
        *sorted = sqlite3_stmt_status(create.get(), SQLITE_STMTSTATUS_SORT, 0) > 0;
    return std::make_shared<ResultTable>(db_, mutex_, name, count("SELECT count(*) FROM " + name));
}

ResultKeys StatementResults::keys(const sql::TranslatedQuery& query, bool all) {
    const std::string key = query.keysSql + parameterKey(query.parameters);
    if (const Known* known = find(key); known && (!all || known->keys.complete()))
        return known->keys;
    // A volatile statement is run once, whole, so that its count and its
    // rows come from the same evaluation.
    const bool keep = !callsVolatileFunction(db_, query.keysSql);
    const auto& values = query.parameters;
    ResultKeys keys;
    if (all || !keep) {
        keys.table = materialise(query.keysSql, values);
        keys.rows = keys.table->rows();
    } else if (!query.countedKeysSql.empty()) {
        // One pass: the sort that finds the first keys counts all. A plan
        // that needed no sort may have stopped early, so it counts again.
        counted_ = 0;
        bool sorted = false;
        keys.table = materialise(query.countedKeysSql + " LIMIT " + std::to_string(firstKeys),
                                 values, &sorted);
        keys.rows = keys.table->rows() < firstKeys ? keys.table->rows()
                    : sorted                       ? counted_
                                                   : count(query.countSql, values);
    } else {
        keys.table = materialise(query.keysSql + " LIMIT " + std::to_string(firstKeys), values);
        keys.rows =
            keys.table->rows() < firstKeys ? keys.table->rows() : count(query.countSql, values);
    }
    if (keep)
        remember(key, keys);
    return keys;
}

std::shared_ptr<ResultTable> StatementResults::rows(const sql::TranslatedQuery& query) {
    const std::string key = query.sql + parameterKey(query.parameters);
    if (const Known* known = find(key))
        return known->keys.table;
    auto table = materialise(query.sql, query.parameters);
    if (!callsVolatileFunction(db_, query.sql))
        remember(key, {table->rows(), table});
    return table;
}

} // namespace quarix::engine
