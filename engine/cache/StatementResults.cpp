#include "engine/cache/StatementResults.h"

#include "engine/cache/SqliteHelpers.h"
#include "engine/cache/VolatileSql.h"

namespace quarix::engine {

namespace {

constexpr std::size_t kept = 4;

} // namespace

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

std::int64_t StatementResults::count(const std::string& select) {
    Statement q(db_, select);
    q.step();
    return sqlite3_column_int64(q.get(), 0);
}

std::shared_ptr<ResultTable> StatementResults::materialise(const std::string& select) {
    const std::string name = "temp.rs" + std::to_string(++tempCounter_);
    execSql(db_, "CREATE TABLE " + name + " AS " + select);
    return std::make_shared<ResultTable>(db_, mutex_, name, count("SELECT count(*) FROM " + name));
}

ResultKeys StatementResults::keys(const sql::TranslatedQuery& query, bool all) {
    if (const Known* known = find(query.keysSql); known && (!all || known->keys.complete()))
        return known->keys;
    // A volatile statement is run once, whole, so that its count and its
    // rows come from the same evaluation.
    const bool keep = !callsVolatileFunction(db_, query.keysSql);
    ResultKeys keys;
    if (all || !keep) {
        keys.table = materialise(query.keysSql);
        keys.rows = keys.table->rows();
    } else {
        keys.table = materialise(query.keysSql + " LIMIT " + std::to_string(firstKeys));
        keys.rows = keys.table->rows() < firstKeys ? keys.table->rows() : count(query.countSql);
    }
    if (keep)
        remember(query.keysSql, keys);
    return keys;
}

std::shared_ptr<ResultTable> StatementResults::rows(const std::string& sql) {
    if (const Known* known = find(sql))
        return known->keys.table;
    auto table = materialise(sql);
    if (!callsVolatileFunction(db_, sql))
        remember(sql, {table->rows(), table});
    return table;
}

} // namespace quarix::engine
