#include "engine/AccessDatabase.h"

#include "engine/AttachmentSink.h"
#include "engine/EngineError.h"
#include "engine/LinkedFile.h"
#include "engine/cache/CacheErrors.h"
#include "engine/cache/CacheFile.h"
#include "engine/cache/CacheFolder.h"
#include "engine/cache/FirstDistinctTexts.h"
#include "engine/cache/LikeNarrowing.h"
#include "engine/cache/RangeNarrowing.h"
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
#include <utility>

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

// A linked table as read from its own file: its columns there, under its
// name here.
struct LinkedTable {
    TableInfo info;
    LinkedSource source;
};

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

    // Where a linked table's rows are, following a link to a table that is
    // itself linked.
    LinkedTable resolveLink(const TableInfo& table, int depth = 0);
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

const TableInfo* findTable(const Catalogue& catalogue, const std::string& name) {
    for (const auto& table : catalogue.tables)
        if (sameName(table.name, name))
            return &table;
    return nullptr;
}

// Files linked through files linked ... end here (a loop would not).
constexpr int kLongestLinkChain = 8;

} // namespace

LinkedTable DatabaseState::resolveLink(const TableInfo& table, int depth) {
    if (table.link.kind == LinkKind::Odbc)
        throw EngineError(3151, "ODBC--connection to '" + table.link.connect +
                                    "' failed. The table '" + table.name +
                                    "' is linked to this ODBC data source (its table '" +
                                    table.link.foreignName + "'), which Quarix cannot read.");
    if (depth >= kLongestLinkChain)
        throw EngineError(3000, "The table '" + table.name + "' is linked through more than " +
                                    std::to_string(kLongestLinkChain) +
                                    " files; Quarix does not follow it further.");
    const std::string file = linkedFilePath(table.link.database, path);
    std::shared_ptr<AccessDatabase> linked;
    try {
        linked = AccessDatabase::open(file);
    } catch (const EngineError& e) {
        if (e.number() != reader_errors::wrongPassword)
            throw;
        throw EngineError(e.number(), "Not a valid password. The table '" + table.name +
                                          "' is linked to '" + file +
                                          "', which needs a password that the link does not "
                                          "give; open that database itself instead.");
    }
    DatabaseState& there = *linked->state_;
    const TableInfo* foreign = findTable(there.catalogue, table.link.foreignName);
    if (!foreign)
        throw EngineError(3011, "The Microsoft Access database engine could not find the object '" +
                                    table.link.foreignName + "' in '" + file +
                                    "'. Make sure the object exists and that you spell its name "
                                    "and the path name correctly.");
    if (foreign->link.kind != LinkKind::None) {
        LinkedTable further = there.resolveLink(*foreign, depth + 1);
        further.info.name = table.name;
        return further;
    }
    if (foreign->columns.empty())
        throw reader_errors::tableDamagedError(foreign->name, file);
    LinkedTable resolved{*foreign, {file, foreign->name, there.currentCache()->stamp()}};
    resolved.info.name = table.name;
    return resolved;
}

namespace {

// The table a name stands for, with its source when it is linked.
struct SourceTable {
    TableInfo info;
    std::optional<LinkedSource> linked;
};

SourceTable sourceTable(DatabaseState& state, const TableInfo& table) {
    if (table.link.kind == LinkKind::None)
        return {table, std::nullopt};
    LinkedTable resolved = state.resolveLink(table);
    return {std::move(resolved.info), std::move(resolved.source)};
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
    // The saved queries it translates take their parameters' slots in parameters.
    Resolver(DatabaseState& state, CacheFile& cache, const ReadOptions& options,
             sql::ParameterSet& parameters)
        : state_(state), cache_(&cache), options_(options), parameters_(parameters) {}
    // Names and types only: tables are not read, so nothing it translates can run.
    Resolver(DatabaseState& state, const ReadOptions& options, sql::ParameterSet& parameters)
        : state_(state), cache_(nullptr), options_(options), parameters_(parameters) {}

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
        const IndexNarrowing narrowing =
            engine::narrowLike(cache_->db(), table, column, rows->second, rowid, pattern);
        if (narrowing.missing)
            cache_->want(*narrowing.missing);
        return narrowing.condition;
    }

    std::string narrowRange(const std::string& table, const std::string& column,
                            const std::string& rowid, std::optional<double> lower,
                            std::optional<double> upper) override {
        const auto rows = tableRows_.find(table);
        if (!cache_ || rows == tableRows_.end())
            return {};
        const IndexNarrowing narrowing =
            engine::narrowRange(cache_->db(), table, column, rows->second, rowid, {lower, upper});
        if (narrowing.missing)
            cache_->want(*narrowing.missing);
        return narrowing.condition;
    }

private:
    sql::SchemaSource tableSource(const TableInfo& listed) {
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
        const sql::TranslatedQuery translated = sql::translateSelect(it->sql, *this, parameters_);
        resolving_.pop_back();
        sql::SchemaSource source{name, "(" + translated.sql + ")", {}, {}};
        for (const auto& column : translated.columns)
            source.columns.push_back({column.name, column.type, column.sqlName});
        return source;
    }

    DatabaseState& state_;
    CacheFile* cache_;
    const ReadOptions& options_;
    sql::ParameterSet& parameters_;
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
                               const ReadOptions& options, const sql::ParameterAnswers& answers) {
    const std::shared_ptr<CacheFile> cache = state.currentCache();
    std::lock_guard lock(cache->mutex());
    // A crosstab reads its data while it is translated.
    CancelGuard guard(cache->db(), options.cancel);
    sql::ParameterSet parameters(answers);
    Resolver resolver(state, *cache, options, parameters);
    const sql::TranslatedQuery translated = sql::translateSelect(statement, resolver, parameters);
    parameters.requireAnswers();
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

// Runs work over a resolver that reads no table, and again over one that
// reads into the cache when the work needs rows (a crosstab's headings).
template <typename Work>
auto withResolver(DatabaseState& state, const ReadOptions& options, Work work)
    -> decltype(work(std::declval<Resolver&>(), std::declval<sql::ParameterSet&>())) {
    try {
        sql::ParameterSet parameters;
        Resolver resolver(state, options, parameters);
        return work(resolver, parameters);
    } catch (const NeedsRows&) {
    }
    return recovering(state, [&] {
        const std::shared_ptr<CacheFile> cache = state.currentCache();
        std::lock_guard lock(cache->mutex());
        CancelGuard guard(cache->db(), options.cancel);
        sql::ParameterSet parameters;
        Resolver resolver(state, *cache, options, parameters);
        return work(resolver, parameters);
    });
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
                                                   const ReadOptions& callerOptions,
                                                   const sql::ParameterAnswers& answers) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    if (const TableInfo* listed = findTable(state_->catalogue, statementOrName)) {
        // A whole table in its own order is the cached table itself: no copy.
        return recovering(*state_, [&] {
            const SourceTable source = sourceTable(*state_, *listed);
            const TableInfo* table = &source.info;
            const std::shared_ptr<CacheFile> cache = state_->currentCache();
            std::lock_guard lock(cache->mutex());
            const CachedTable cached =
                cache->table(*table, options, source.linked ? &*source.linked : nullptr);
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
    return recovering(*state_, [&] { return run(*state_, statement, options, answers); });
}

std::vector<sql::ResultColumn> AccessDatabase::columns(const std::string& sourceName,
                                                       const ReadOptions& callerOptions) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    if (const TableInfo* listed = findTable(state_->catalogue, sourceName)) {
        const SourceTable source = sourceTable(*state_, *listed);
        const TableInfo* table = &source.info;
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
    return withResolver(*state_, options, [&](Resolver& resolver, sql::ParameterSet&) {
        return columnsOf(resolver.find(sourceName));
    });
}

std::vector<sql::QueryParameter>
AccessDatabase::parameters(const std::string& statementOrName,
                           const ReadOptions& callerOptions) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    if (findTable(state_->catalogue, statementOrName))
        return {};
    const bool named = isSourceName(statementOrName) || !looksLikeStatement(statementOrName);
    const auto discover = [&](Resolver& resolver, sql::ParameterSet& parameters) {
        if (!named)
            sql::translateSelect(statementOrName, resolver, parameters);
        else if (!resolver.find(statementOrName))
            throw sql::errors::missingSource(statementOrName);
        return parameters.parameters();
    };
    return withResolver(*state_, options, discover);
}

std::shared_ptr<ResultSet> AccessDatabase::filter(const std::string& sourceName,
                                                  const std::string& criterion,
                                                  const ReadOptions& callerOptions,
                                                  const sql::ParameterAnswers& answers) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    return recovering(*state_, [&] {
        const std::shared_ptr<CacheFile> cache = state_->currentCache();
        std::lock_guard lock(cache->mutex());
        CancelGuard guard(cache->db(), options.cancel);
        sql::ParameterSet parameters(answers);
        Resolver resolver(*state_, *cache, options, parameters);
        const sql::TranslatedQuery translated =
            sql::translateFilter(sourceName, criterion, resolver, parameters);
        parameters.requireAnswers();
        return std::make_shared<ResultSet>(cache, translated, resolver.warnings());
    });
}

std::vector<std::int64_t> AccessDatabase::matchingRows(const std::string& table,
                                                       const std::string& criterion,
                                                       const ReadOptions& callerOptions) const {
    const ReadOptions options = state_->readOptions(callerOptions);
    if (!findTable(state_->catalogue, table))
        throw EngineError(3078,
                          "The database engine cannot find the input table or query '" + table +
                              "'. Make sure it exists and that its name is spelled correctly.");
    return recovering(*state_, [&] {
        const std::shared_ptr<CacheFile> cache = state_->currentCache();
        std::lock_guard lock(cache->mutex());
        CancelGuard guard(cache->db(), options.cancel);
        sql::ParameterSet parameters;
        Resolver resolver(*state_, *cache, options, parameters);
        const sql::TranslatedQuery translated = sql::translateFilter(table, criterion, resolver);
        std::vector<std::int64_t> rows;
        Statement keys(cache->db(), translated.keysSql);
        while (keys.step())
            rows.push_back(sqlite3_column_int64(keys.get(), 0));
        std::sort(rows.begin(), rows.end());
        return rows;
    });
}

void AccessDatabase::attachments(const std::string& table, const std::string& field,
                                 const std::string& criterion,
                                 const std::function<void(const AttachmentFile&)>& onFile,
                                 const ReadOptions& callerOptions) const {
    const TableInfo* info = findTable(state_->catalogue, table);
    if (!info)
        throw EngineError(3078,
                          "The database engine cannot find the input table or query '" + table +
                              "'. Make sure it exists and that its name is spelled correctly.");
    std::optional<std::vector<std::int64_t>> rows;
    if (!criterion.empty())
        rows = matchingRows(table, criterion, callerOptions);
    ReadOptions options = state_->readOptions(callerOptions);
    AttachmentSink sink(rows ? &*rows : nullptr, onFile);
    const SourceTable source = sourceTable(*state_, *info);
    if (source.linked) {
        options.password = nullptr;
        AccessFileReader::readAttachments(source.linked->path, source.linked->table, field, sink,
                                          options);
        return;
    }
    AccessFileReader::readAttachments(state_->path, info->name, field, sink, options);
    // The rows matched belong to the version of the file that was cached.
    if (rows) {
        const SourceStamp& stamp = state_->currentCache()->stamp();
        if (const auto now = SourceStamp::of(state_->path, stamp.pages); now && *now != stamp)
            throw SourceChanged(state_->path, *now);
    }
}

std::optional<AccessDatabase::Texts>
AccessDatabase::firstDistinctTexts(const std::string& tableName, const std::string& field,
                                   std::size_t limit, const ReadOptions& callerOptions) const {
    const TableInfo* table = findTable(state_->catalogue, tableName);
    // A linked table's rows come through the resolver, from its own file.
    if (!table || table->link.kind != LinkKind::None)
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
