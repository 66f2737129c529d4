#include "engine/AccessDatabase.h"

#include "engine/EngineError.h"
#include "engine/cache/CacheFile.h"
#include "engine/cache/CacheFolder.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/queries/SavedQueries.h"
#include "engine/reader/ReaderErrors.h"
#include "engine/sql/AccessErrors.h"
#include "engine/sql/Limits.h"
#include "engine/sql/Translator.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace quarix::engine {

struct DatabaseState {
    std::string path;
    Catalogue catalogue;
    std::uint64_t cacheLimitBytes = 0;
    std::mutex cacheMutex;
    std::shared_ptr<CacheFile> cache;
    std::mutex savedMutex;
    std::optional<std::vector<SavedQuery>> saved;

    const std::vector<SavedQuery>& savedQueries() {
        std::lock_guard lock(savedMutex);
        if (!saved)
            saved = rebuildSavedQueries(catalogue, readMSysQueries(path, catalogue));
        return *saved;
    }

    // The cache for one operation. A cache file deleted while the database
    // is open cannot take new tables: the operation gets a new one, while
    // result sets made before keep reading the old.
    std::shared_ptr<CacheFile> currentCache() {
        std::lock_guard lock(cacheMutex);
        if (!cache->stillOnDisk())
            cache = std::make_shared<CacheFile>(path, cache->stamp(), false, cacheLimitBytes);
        return cache;
    }
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<DatabaseState>> open;
    bool cacheEnabled = true;
    std::uint64_t limitBytes = CacheFolder::defaultLimitBytes;
};

Registry& registry() {
    static Registry r;
    return r;
}

// Access compares object names without regard to case.
bool sameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

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

// Resolves the names a statement uses: tables are read into the cache on
// first use, saved queries are translated and used as subqueries.
class Resolver : public sql::SchemaLookup {
public:
    Resolver(DatabaseState& state, CacheFile& cache, const ReadOptions& options)
        : state_(state), cache_(cache), options_(options) {}

    std::vector<std::optional<std::string>> textColumn(const std::string& select) override {
        std::vector<std::optional<std::string>> values;
        Statement query(cache_.db(), select);
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

    const sql::SchemaSource* find(const std::string& name) override {
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

private:
    sql::SchemaSource tableSource(const TableInfo& table) {
        const CachedTable cached = cache_.table(table, options_);
        sql::SchemaSource source{table.name, cached.sqlName, {}};
        for (std::size_t i = 0; i < table.columns.size(); ++i)
            source.columns.push_back(
                {table.columns[i].name, table.columns[i].type, "c" + std::to_string(i)});
        return source;
    }

    sql::SchemaSource querySource(const std::string& name) {
        const auto& saved = state_.savedQueries();
        auto it = std::find_if(saved.begin(), saved.end(),
                               [&](const SavedQuery& q) { return q.name == name; });
        if (it == saved.end())
            throw EngineError(3078,
                              "The database engine cannot find the input table or query '" + name +
                                  "'. Make sure it exists and that its name is spelled correctly.");
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
        const sql::TranslatedQuery translated = sql::translateSelect(it->sql, *this);
        resolving_.pop_back();
        sql::SchemaSource source{name, "(" + translated.sql + ")", {}};
        for (const auto& column : translated.columns)
            source.columns.push_back({column.name, column.type, column.sqlName});
        return source;
    }

    DatabaseState& state_;
    CacheFile& cache_;
    const ReadOptions& options_;
    std::deque<sql::SchemaSource> sources_;
    std::vector<std::string> resolving_;
};

// Lets a cancel request stop a long statement inside SQLite.
class CancelGuard {
public:
    CancelGuard(sqlite3* db, const std::atomic<bool>* cancel) : db_(db) {
        if (cancel)
            sqlite3_progress_handler(db_, 10000, &CancelGuard::check,
                                     const_cast<std::atomic<bool>*>(cancel));
    }
    ~CancelGuard() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }

private:
    static int check(void* flag) { return static_cast<std::atomic<bool>*>(flag)->load() ? 1 : 0; }
    sqlite3* db_;
};

std::shared_ptr<ResultSet> run(DatabaseState& state, const std::string& statement,
                               const ReadOptions& options) {
    const std::shared_ptr<CacheFile> cache = state.currentCache();
    std::lock_guard lock(cache->mutex());
    // A crosstab reads its data while it is translated.
    CancelGuard guard(cache->db(), options.cancel);
    Resolver resolver(state, *cache, options);
    const sql::TranslatedQuery translated = sql::translateSelect(statement, resolver);
    return std::make_shared<ResultSet>(cache, translated);
}

std::string bracketed(const std::string& name) {
    return "[" + name + "]";
}

// Whether a record set's source is a statement rather than a name: a name
// that is not in the file must fail as a missing table, not as bad SQL.
bool looksLikeStatement(const std::string& text) {
    const QString t = QString::fromStdString(text).trimmed();
    if (t.startsWith(QLatin1Char('(')))
        return true;
    const QString first =
        t.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\n'), 0, 0).toUpper();
    static const QStringList keywords = {
        QStringLiteral("SELECT"), QStringLiteral("PARAMETERS"), QStringLiteral("TRANSFORM"),
        QStringLiteral("INSERT"), QStringLiteral("UPDATE"),     QStringLiteral("DELETE"),
        QStringLiteral("CREATE"), QStringLiteral("DROP"),       QStringLiteral("ALTER")};
    return keywords.contains(first);
}

const TableInfo* findTable(const Catalogue& catalogue, const std::string& name) {
    for (const auto& table : catalogue.tables)
        if (sameName(table.name, name))
            return &table;
    return nullptr;
}

} // namespace

AccessDatabase::AccessDatabase(std::shared_ptr<DatabaseState> state) : state_(std::move(state)) {}

std::shared_ptr<AccessDatabase> AccessDatabase::open(const std::string& rawPath) {
    std::error_code ec;
    const std::string path = fs::absolute(fs::path(rawPath), ec).lexically_normal().string();
    struct stat st {};
    if (rawPath.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EngineError(3024, "Could not find file '" + rawPath + "'.");
    const SourceStamp stamp{static_cast<std::uint64_t>(st.st_size),
                            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 +
                                st.st_mtim.tv_nsec};

    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto& slot = reg.open[path];
    const std::shared_ptr<CacheFile> cache = slot ? slot->currentCache() : nullptr;
    if (cache && cache->stamp() == stamp)
        return std::make_shared<AccessDatabase>(slot);

    auto state = std::make_shared<DatabaseState>();
    state->path = path;
    state->catalogue = AccessFileReader::readCatalogue(path);
    state->cacheLimitBytes = reg.limitBytes;
    if (cache) {
        state->cache = cache;
        state->cache->reset(stamp);
    } else {
        state->cache = std::make_shared<CacheFile>(path, stamp, !reg.cacheEnabled, reg.limitBytes);
    }
    slot = state;
    return std::make_shared<AccessDatabase>(state);
}

void AccessDatabase::setCacheEnabled(bool enabled) {
    std::lock_guard lock(registry().mutex);
    registry().cacheEnabled = enabled;
    registry().open.clear();
}

void AccessDatabase::setCacheLimitBytes(std::uint64_t bytes) {
    std::lock_guard lock(registry().mutex);
    registry().limitBytes = bytes;
    registry().open.clear();
}

const std::string& AccessDatabase::path() const {
    return state_->path;
}
const Catalogue& AccessDatabase::catalogue() const {
    return state_->catalogue;
}

std::string AccessDatabase::savedQuerySql(const std::string& name) const {
    for (const auto& query : state_->savedQueries())
        if (sameName(query.name, name))
            return query.sql;
    throw EngineError(3265, "Item not found in this collection.");
}

bool AccessDatabase::isSourceName(const std::string& text) const {
    const auto& c = state_->catalogue;
    return std::any_of(c.tables.begin(), c.tables.end(),
                       [&](const TableInfo& t) { return sameName(t.name, text); }) ||
           std::any_of(c.queries.begin(), c.queries.end(),
                       [&](const QueryInfo& q) { return sameName(q.name, text); });
}

std::shared_ptr<ResultSet> AccessDatabase::execute(const std::string& statementOrName,
                                                   const ReadOptions& options) const {
    if (const TableInfo* table = findTable(state_->catalogue, statementOrName)) {
        // A whole table in its own order is the cached table itself: no copy.
        const std::shared_ptr<CacheFile> cache = state_->currentCache();
        std::lock_guard lock(cache->mutex());
        const CachedTable cached = cache->table(*table, options);
        std::vector<sql::ResultColumn> columns;
        for (const auto& column : table->columns)
            columns.push_back({column.name, column.type, {}});
        return std::make_shared<ResultSet>(cache, cached.sqlName, columns,
                                           static_cast<std::int64_t>(cached.rows));
    }
    if (isSourceName(statementOrName) || !looksLikeStatement(statementOrName))
        return run(*state_, "SELECT * FROM " + bracketed(statementOrName), options);
    return run(*state_, statementOrName, options);
}

std::vector<sql::ResultColumn> AccessDatabase::columns(const std::string& sourceName,
                                                       const ReadOptions& options) const {
    if (const TableInfo* table = findTable(state_->catalogue, sourceName)) {
        // Every table has a column: none means its definition could not be read.
        if (table->columns.empty())
            throw reader_errors::tableDamagedError(table->name, state_->path);
        std::vector<sql::ResultColumn> columns;
        for (const auto& column : table->columns)
            columns.push_back({column.name, column.type, {}});
        return columns;
    }
    const std::shared_ptr<CacheFile> cache = state_->currentCache();
    std::lock_guard lock(cache->mutex());
    CancelGuard guard(cache->db(), options.cancel);
    Resolver resolver(*state_, *cache, options);
    const sql::SchemaSource* source = resolver.find(sourceName);
    if (!source)
        throw EngineError(
            3078, "The database engine cannot find the input table or query '" + sourceName +
                      "'. Make sure it exists and that its name is spelled correctly.");
    std::vector<sql::ResultColumn> columns;
    for (const auto& column : source->columns)
        columns.push_back({column.name, column.type, column.sqlName});
    return columns;
}

std::shared_ptr<ResultSet> AccessDatabase::filter(const std::string& sourceName,
                                                  const std::string& criterion,
                                                  const ReadOptions& options) const {
    const std::shared_ptr<CacheFile> cache = state_->currentCache();
    std::lock_guard lock(cache->mutex());
    CancelGuard guard(cache->db(), options.cancel);
    Resolver resolver(*state_, *cache, options);
    const sql::TranslatedQuery translated = sql::translateFilter(sourceName, criterion, resolver);
    return std::make_shared<ResultSet>(cache, translated);
}

} // namespace quarix::engine
