#include "engine/AccessDatabase.h"

#include "engine/EngineError.h"
#include "engine/cache/CacheErrors.h"
#include "engine/cache/CacheFile.h"
#include "engine/cache/CacheFolder.h"
#include "engine/cache/FirstDistinctTexts.h"
#include "engine/cache/LikeNarrowing.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/crypto/CoreDumps.h"
#include "engine/queries/SavedQueries.h"
#include "engine/reader/FileLock.h"
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

namespace {

std::shared_ptr<CacheFile> memoryCache(const std::string& path, const SourceStamp& stamp,
                                       std::uint64_t limitBytes, const EngineError& why) {
    return std::make_shared<CacheFile>(
        path, stamp, true, limitBytes, false,
        why.description() +
            " Quarix keeps this database's cache in memory instead: searches work as usual, "
            "but the tables read now are not kept for later.");
}

// A cache on disk, or in memory with a warning when the disk cannot hold
// one; a locked file's cache is kept off the disk altogether.
std::shared_ptr<CacheFile> openCache(const std::string& path, const SourceStamp& stamp,
                                     bool inMemory, std::uint64_t limitBytes, bool keptOffDisk) {
    if (keptOffDisk)
        return std::make_shared<CacheFile>(path, stamp, true, limitBytes, true);
    if (!inMemory) {
        try {
            return std::make_shared<CacheFile>(path, stamp, false, limitBytes);
        } catch (const CacheDiskError& e) {
            return memoryCache(path, stamp, limitBytes, e);
        } catch (const CacheDamaged& e) {
            return memoryCache(path, stamp, limitBytes, e);
        }
    }
    return std::make_shared<CacheFile>(path, stamp, true, limitBytes);
}

} // namespace

struct DatabaseState {
    std::string path;
    std::shared_ptr<const FilePassword> password; // for a file that needs one
    Catalogue catalogue;
    std::uint64_t cacheLimitBytes = 0;
    std::mutex cacheMutex;
    std::shared_ptr<CacheFile> cache;
    std::mutex savedMutex;
    std::optional<std::vector<SavedQuery>> saved;

    const std::vector<SavedQuery>& savedQueries() {
        std::lock_guard lock(savedMutex);
        if (!saved) {
            auto rows = readMSysQueries(path, catalogue, readOptions());
            const SourceStamp& stamp = currentCache()->stamp();
            if (const auto now = SourceStamp::of(path, stamp.pages); now && *now != stamp)
                throw SourceChanged(path, *now);
            saved = rebuildSavedQueries(catalogue, std::move(rows));
        }
        return *saved;
    }

    // The caller's options for reading this file, with its password.
    ReadOptions readOptions(const ReadOptions& options = {}) const {
        ReadOptions withPassword = options;
        withPassword.password = password;
        return withPassword;
    }

    // The cache for one operation. A cache file deleted while the database
    // is open, or found damaged, cannot take new tables: the operation gets
    // a new one, while result sets made before keep reading the old.
    std::shared_ptr<CacheFile> currentCache() {
        std::lock_guard lock(cacheMutex);
        if (!cache->stillOnDisk())
            cache = openCache(path, cache->stamp(), false, cacheLimitBytes, cache->keptOffDisk());
        return cache;
    }

    void replaceCache(std::shared_ptr<CacheFile> replacement) {
        std::lock_guard lock(cacheMutex);
        cache = std::move(replacement);
    }
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<DatabaseState>> open;
    // Kept apart from the open databases, which a change of cache settings
    // drops: only forget() drops a password.
    std::map<std::string, std::shared_ptr<FilePassword>> passwords;
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

// Thrown by a resolver without a cache when what it translates must read
// data (a crosstab's column headings).
struct NeedsRows {};

// Resolves the names a statement uses: tables are read into the cache on
// first use, saved queries are translated and used as subqueries.
class Resolver : public sql::SchemaLookup {
public:
    Resolver(DatabaseState& state, CacheFile& cache, const ReadOptions& options)
        : state_(state), cache_(&cache), options_(options) {}
    // Names and types only: tables are not read, so nothing it translates can run.
    Resolver(DatabaseState& state, const ReadOptions& options)
        : state_(state), cache_(nullptr), options_(options) {}

    // What the answer may lack: damaged tables read with salvage, and a
    // cache that could not be kept on disk.
    std::vector<std::string> warnings() const {
        std::vector<std::string> all = warnings_;
        if (cache_ && !cache_->warning().empty())
            all.push_back(cache_->warning());
        return all;
    }

    std::vector<std::optional<std::string>> textColumn(const std::string& select) override {
        if (!cache_)
            throw NeedsRows{};
        std::vector<std::optional<std::string>> values;
        Statement query(cache_->db(), select);
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

    std::string narrowLike(const std::string& table, const std::string& column,
                           const std::string& rowid, const std::string& pattern) override {
        const auto rows = tableRows_.find(table);
        if (!cache_ || rows == tableRows_.end())
            return {};
        const LikeNarrowing narrowing =
            engine::narrowLike(cache_->db(), table, column, rows->second, rowid, pattern);
        if (narrowing.missing)
            cache_->want(*narrowing.missing);
        return narrowing.condition;
    }

private:
    sql::SchemaSource tableSource(const TableInfo& table) {
        std::string sqlName = "\"" + table.name + "\"";
        if (cache_) {
            const CachedTable cached = cache_->table(table, options_);
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
        sql::SchemaSource source{name, "(" + translated.sql + ")", {}, {}};
        for (const auto& column : translated.columns)
            source.columns.push_back({column.name, column.type, column.sqlName});
        return source;
    }

    DatabaseState& state_;
    CacheFile* cache_;
    const ReadOptions& options_;
    std::deque<sql::SchemaSource> sources_;
    std::vector<std::string> resolving_;
    std::vector<std::string> warnings_;
    std::map<std::string, std::uint64_t> tableRows_; // of the cache tables found
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
    return std::make_shared<ResultSet>(cache, translated, resolver.warnings());
}

// Runs one operation, working around what may fail under it. When the file
// changed during a read but its list of objects did not, the operation runs
// again on the new version (twice at most; a file that keeps changing, or
// whose objects changed, gives the SourceChanged error). A damaged cache
// file is started afresh once, then given up for memory; a disk that
// cannot hold the cache gives way to memory at once.
template <typename Operation>
auto recovering(DatabaseState& state, Operation operation) -> decltype(operation()) {
    int changes = 0;
    bool restarted = false;
    for (;;) {
        const std::shared_ptr<CacheFile> cache = state.currentCache();
        try {
            return operation();
        } catch (const SourceChanged& e) {
            if (++changes > 2 || e.now.digest != cache->stamp().digest)
                throw;
            cache->reset(e.now);
        } catch (const CacheDamaged& e) {
            if (cache->inMemory())
                throw;
            cache->discard();
            state.replaceCache(
                restarted
                    ? memoryCache(state.path, cache->stamp(), state.cacheLimitBytes, e)
                    : openCache(state.path, cache->stamp(), false, state.cacheLimitBytes, false));
            restarted = true;
        } catch (const CacheDiskError& e) {
            if (cache->inMemory())
                throw;
            state.replaceCache(memoryCache(state.path, cache->stamp(), state.cacheLimitBytes, e));
        }
    }
}

// The catalogue and the stamp of the version it was read from: read again
// when the file changed during the read.
std::pair<Catalogue, SourceStamp> readSteadyCatalogue(const std::string& path,
                                                      const ReadOptions& options) {
    for (int attempt = 0;; ++attempt) {
        const auto before = SourceStamp::of(path);
        Catalogue catalogue;
        try {
            catalogue = AccessFileReader::readCatalogue(path, options);
        } catch (const EngineError&) {
            // A file cut short under the reader fails it: that is a change.
            const auto now = SourceStamp::of(path);
            if (attempt == 2 || !before || !now || before->fileState() == now->fileState())
                throw;
            continue;
        }
        auto after = SourceStamp::of(path, catalogue.pages);
        if (!before || !after)
            throw reader_errors::fileNotFoundError(path);
        if (before->fileState() == after->fileState())
            return {std::move(catalogue), std::move(*after)};
        if (attempt == 2)
            throw SourceChanged(path, std::move(*after));
    }
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

namespace {

std::string absolutePath(const std::string& rawPath) {
    std::error_code ec;
    return fs::absolute(fs::path(rawPath), ec).lexically_normal().string();
}

// The password to read a file with: one given now, else the one kept.
std::shared_ptr<FilePassword> passwordFor(const std::string& path, const FileLock& lock,
                                          const Secret& given,
                                          const std::shared_ptr<FilePassword>& kept) {
    if (!lock.needsPassword())
        return nullptr;
    if (given.empty() || (kept && kept->matches(given)))
        return kept;
    const auto header = readFileHeader(path.c_str());
    return header ? std::make_shared<FilePassword>(credentialsFor(*header, given)) : nullptr;
}

} // namespace

std::shared_ptr<AccessDatabase> AccessDatabase::open(const std::string& rawPath,
                                                     const Secret& password) {
    const std::string path = absolutePath(rawPath);
    struct stat st {};
    if (rawPath.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EngineError(3024, "Could not find file '" + rawPath + "'.");

    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    auto& slot = reg.open[path];
    const auto kept = reg.passwords.find(path);
    const bool anotherPassword =
        !password.empty() && slot && slot->password && !slot->password->matches(password);
    const std::shared_ptr<CacheFile> cache = slot ? slot->currentCache() : nullptr;
    if (cache && !anotherPassword && SourceStamp::of(path, cache->stamp().pages) == cache->stamp())
        return std::make_shared<AccessDatabase>(slot);

    const FileLock fileLock = probeFileLock(path);
    if (fileLock.locked() || !password.empty())
        disableCoreDumps();
    auto state = std::make_shared<DatabaseState>();
    state->path = path;
    const auto filePassword =
        passwordFor(path, fileLock, password, kept == reg.passwords.end() ? nullptr : kept->second);
    state->password = filePassword;
    auto [catalogue, stamp] = readSteadyCatalogue(path, state->readOptions());
    state->catalogue = std::move(catalogue);
    state->cacheLimitBytes = reg.limitBytes;
    // A cache kept in memory for want of a disk tries the disk again.
    if (cache && cache->warning().empty() && cache->keptOffDisk() == fileLock.locked()) {
        state->cache = cache;
        state->cache->reset(stamp);
    } else {
        state->cache = openCache(path, stamp, !reg.cacheEnabled, reg.limitBytes, fileLock.locked());
    }
    slot = state;
    if (filePassword)
        reg.passwords[path] = filePassword;
    return std::make_shared<AccessDatabase>(state);
}

void AccessDatabase::forget(const std::string& rawPath) {
    const std::string path = absolutePath(rawPath);
    Registry& reg = registry();
    std::lock_guard lock(reg.mutex);
    if (const auto it = reg.passwords.find(path); it != reg.passwords.end()) {
        it->second->wipe();
        reg.passwords.erase(it);
    }
    reg.open.erase(path);
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
    return recovering(*state_, [&] {
        for (const auto& query : state_->savedQueries())
            if (sameName(query.name, name))
                return query.sql;
        throw EngineError(3265, "Item not found in this collection.");
    });
}

bool AccessDatabase::isSourceName(const std::string& text) const {
    const auto& c = state_->catalogue;
    return std::any_of(c.tables.begin(), c.tables.end(),
                       [&](const TableInfo& t) { return sameName(t.name, text); }) ||
           std::any_of(c.queries.begin(), c.queries.end(),
                       [&](const QueryInfo& q) { return sameName(q.name, text); });
}

std::shared_ptr<ResultSet> AccessDatabase::execute(const std::string& statementOrName,
                                                   const ReadOptions& callerOptions) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    if (const TableInfo* table = findTable(state_->catalogue, statementOrName)) {
        // A whole table in its own order is the cached table itself: no copy.
        return recovering(*state_, [&] {
            const std::shared_ptr<CacheFile> cache = state_->currentCache();
            std::lock_guard lock(cache->mutex());
            const CachedTable cached = cache->table(*table, options);
            std::vector<sql::ResultColumn> columns;
            for (const auto& column : table->columns)
                columns.push_back({column.name, column.type, {}});
            std::vector<std::string> warnings;
            for (const std::string* warning : {&cached.warning, &cache->warning()})
                if (!warning->empty())
                    warnings.push_back(*warning);
            return std::make_shared<ResultSet>(cache, cached.sqlName, columns,
                                               static_cast<std::int64_t>(cached.rows),
                                               std::move(warnings));
        });
    }
    const std::string statement =
        isSourceName(statementOrName) || !looksLikeStatement(statementOrName)
            ? "SELECT * FROM " + bracketed(statementOrName)
            : statementOrName;
    return recovering(*state_, [&] { return run(*state_, statement, options); });
}

std::vector<sql::ResultColumn> AccessDatabase::columns(const std::string& sourceName,
                                                       const ReadOptions& callerOptions) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    if (const TableInfo* table = findTable(state_->catalogue, sourceName)) {
        // Every table has a column: none means its definition could not be read.
        if (table->columns.empty())
            throw reader_errors::tableDamagedError(table->name, state_->path);
        std::vector<sql::ResultColumn> columns;
        for (const auto& column : table->columns)
            columns.push_back({column.name, column.type, {}});
        return columns;
    }
    // Names and types come from the catalogue; only a crosstab's columns,
    // which its data decide, need its tables read.
    const auto columnsOf = [&](const sql::SchemaSource* source) {
        if (!source)
            throw EngineError(
                3078, "The database engine cannot find the input table or query '" + sourceName +
                          "'. Make sure it exists and that its name is spelled correctly.");
        std::vector<sql::ResultColumn> columns;
        for (const auto& column : source->columns)
            columns.push_back({column.name, column.type, column.sqlName});
        return columns;
    };
    try {
        Resolver resolver(*state_, options);
        return columnsOf(resolver.find(sourceName));
    } catch (const NeedsRows&) {
    }
    return recovering(*state_, [&] {
        const std::shared_ptr<CacheFile> cache = state_->currentCache();
        std::lock_guard lock(cache->mutex());
        CancelGuard guard(cache->db(), options.cancel);
        Resolver resolver(*state_, *cache, options);
        return columnsOf(resolver.find(sourceName));
    });
}

std::shared_ptr<ResultSet> AccessDatabase::filter(const std::string& sourceName,
                                                  const std::string& criterion,
                                                  const ReadOptions& callerOptions) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    return recovering(*state_, [&] {
        const std::shared_ptr<CacheFile> cache = state_->currentCache();
        std::lock_guard lock(cache->mutex());
        CancelGuard guard(cache->db(), options.cancel);
        Resolver resolver(*state_, *cache, options);
        const sql::TranslatedQuery translated =
            sql::translateFilter(sourceName, criterion, resolver);
        return std::make_shared<ResultSet>(cache, translated, resolver.warnings());
    });
}

std::optional<AccessDatabase::Texts>
AccessDatabase::firstDistinctTexts(const std::string& tableName, const std::string& field,
                                   std::size_t limit, const ReadOptions& callerOptions) const {
    const TableInfo* table = findTable(state_->catalogue, tableName);
    if (!table)
        return std::nullopt;
    const auto column = std::find_if(table->columns.begin(), table->columns.end(),
                                     [&](const ColumnInfo& c) { return sameName(c.name, field); });
    if (column == table->columns.end() ||
        (column->type != ColumnType::Text && column->type != ColumnType::Memo))
        return std::nullopt;
    const ReadOptions options = state_->readOptions(callerOptions);
    const std::string sqlColumn = "c" + std::to_string(column - table->columns.begin());
    return recovering(*state_, [&] {
        const std::shared_ptr<CacheFile> cache = state_->currentCache();
        std::lock_guard lock(cache->mutex());
        CancelGuard guard(cache->db(), options.cancel);
        const CachedTable cached = cache->table(*table, options);
        Texts texts;
        texts.values = engine::firstDistinctTexts(cache->db(), cached.sqlName, sqlColumn, limit);
        for (const std::string* warning : {&cached.warning, &cache->warning()})
            if (!warning->empty())
                texts.warnings.push_back(*warning);
        return texts;
    });
}

bool AccessDatabase::wantsIndexes() const {
    const std::shared_ptr<CacheFile> cache = state_->currentCache();
    std::lock_guard lock(cache->mutex());
    return cache->wantsIndexes();
}

void AccessDatabase::buildIndexes(const ReadOptions& options) const {
    state_->currentCache()->buildWantedIndexes(options.cancel);
}

} // namespace quarix::engine
