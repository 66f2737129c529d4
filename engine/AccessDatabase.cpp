#include "engine/AccessDatabase.h"

#include "engine/AttachmentSink.h"
#include "engine/DatabaseState.h"
#include "engine/EngineError.h"
#include "engine/SourceResolver.h"
#include "engine/cache/CacheFolder.h"
#include "engine/cache/FirstDistinctTexts.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/crypto/CoreDumps.h"
#include "engine/reader/FileLock.h"
#include "engine/reader/ReaderErrors.h"
#include "engine/sql/AccessErrors.h"
#include "engine/sql/Translator.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <utility>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace quarix::engine {

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
    // A plain file's catalogue is kept in its cache file: an unchanged file
    // opens without starting the reader.
    const bool keepsCatalogue = reg.cacheEnabled && !fileLock.locked();
    auto known = keepsCatalogue ? CacheFile::knownCatalogue(path) : std::nullopt;
    auto [catalogue, stamp] =
        known ? std::move(*known) : readSteadyCatalogue(path, state->readOptions());
    state->catalogue = std::move(catalogue);
    state->cacheLimitBytes = reg.limitBytes;
    // A cache kept in memory for want of a disk tries the disk again.
    if (cache && cache->warning().empty() && cache->keptOffDisk() == fileLock.locked()) {
        state->cache = cache;
        state->cache->reset(stamp);
    } else {
        state->cache = openCache(path, stamp, !reg.cacheEnabled, reg.limitBytes, fileLock.locked());
    }
    if (keepsCatalogue && !known)
        state->cache->keepCatalogue(state->catalogue);
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
            throw sql::errors::missingSource(sourceName);
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
        throw sql::errors::missingSource(table);
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
        throw sql::errors::missingSource(table);
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
