#include "engine/cache/CacheFile.h"

#include "engine/EngineError.h"
#include "engine/cache/CacheErrors.h"
#include "engine/cache/CacheFolder.h"
#include "engine/cache/CatalogueRecord.h"
#include "engine/cache/DeferredSync.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/cache/TableInserter.h"
#include "engine/reader/ReaderErrors.h"
#include "engine/sql/Translator.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace fs = std::filesystem;

namespace quarix::engine {

namespace {

// Raised whenever the layout of cache files changes, so that files written
// by another version are rebuilt rather than trusted.
constexpr int cacheFormat = 2;

// How long a connection waits for another instance's load of the same file.
constexpr int busyTimeoutMs = 600000;

// The connection is only ever used under the cache file's own mutex, so
// SQLite need not lock it again on every call.
constexpr int connectionFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;

constexpr const char* createTablesList = "CREATE TABLE IF NOT EXISTS quarix_tables "
                                         "(name TEXT PRIMARY KEY, signature TEXT, rows INTEGER, "
                                         "warning TEXT)";

void removeCacheFile(const fs::path& file) {
    std::error_code ec;
    for (const char* side : {"", "-journal", "-wal", "-shm"})
        fs::remove(file.string() + side, ec);
    fs::remove(DeferredSync::markerOf(file), ec);
}

// Syncing off for one load, on again whichever way it ends.
class UnsyncedLoad {
public:
    UnsyncedLoad(sqlite3* db, bool active) : db_(db), active_(active) {
        if (active_)
            execSql(db_, "PRAGMA synchronous=OFF");
    }
    ~UnsyncedLoad() {
        if (active_)
            sqlite3_exec(db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    }
    UnsyncedLoad(const UnsyncedLoad&) = delete;
    UnsyncedLoad& operator=(const UnsyncedLoad&) = delete;

private:
    sqlite3* db_;
    bool active_;
};

// Whether a cache file's meta table names this Access file at this version,
// in this layout.
bool metaNames(sqlite3* db, const std::string& accessPath, const SourceStamp& stamp) {
    Statement q(db, "SELECT key, value FROM quarix_meta WHERE key IN ('format', 'source', "
                    "'file', 'digest')");
    std::map<std::string, std::string> meta;
    while (q.step()) {
        auto text = [&](int col) {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(q.get(), col));
            return p ? std::string(p) : std::string();
        };
        meta[text(0)] = text(1);
    }
    return meta["format"] == std::to_string(cacheFormat) && meta["source"] == accessPath &&
           meta["file"] == stamp.fileState() && meta["digest"] == stamp.digestText();
}

} // namespace

CacheFile::CacheFile(const std::string& accessPath, const SourceStamp& stamp, bool inMemory,
                     std::uint64_t limitBytes, bool keptOffDisk, std::string warning)
    : accessPath_(accessPath), stamp_(stamp), inMemory_(inMemory || keptOffDisk),
      limitBytes_(limitBytes), keptOffDisk_(keptOffDisk), warning_(std::move(warning)) {
    try {
        if (inMemory_)
            openMemory();
        else
            openFile();
    } catch (...) {
        sqlite3_close_v2(db_);
        throw;
    }
    results_ = std::make_unique<StatementResults>(db_, mutex_);
}

CacheFile::~CacheFile() {
    results_.reset(); // their tables live in this connection
    settle();
    sqlite3_close_v2(db_);
}

void CacheFile::settle() {
    if (!sync_)
        return;
    // Not worth waiting for another instance's load: the marker then stays,
    // and is trusted until the system restarts.
    sqlite3_busy_timeout(db_, 100);
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {
        sync_->settle();
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    }
}

void CacheFile::openMemory() {
    if (sqlite3_open_v2(":memory:", &db_, connectionFlags, nullptr) != SQLITE_OK)
        throwSqliteError(db_, "memory cache");
    configure();
}

void CacheFile::openFile() {
    file_ = CacheFolder::fileFor(accessPath_);
    sync_ = std::make_unique<DeferredSync>(file_);
    if (!sync_->trustworthy())
        removeCacheFile(file_);
    try {
        openConnection();
    } catch (const CacheDamaged&) {
        // A damaged or foreign file is never trusted: start it again.
        sqlite3_close_v2(db_);
        db_ = nullptr;
        removeCacheFile(file_);
        openConnection();
    }
}

void CacheFile::openConnection() {
    // Created private before SQLite opens it, so no other user can read
    // it; never through a link, which could lead anywhere.
    const int fd = ::open(file_.c_str(), O_CREAT | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        throw CacheDiskError(cache_errors::diskError, "Quarix cannot create its cache file '" +
                                                          file_.string() +
                                                          "': " + std::strerror(errno) + ".");
    ::fchmod(fd, 0600);
    ::close(fd);
    if (sqlite3_open_v2(file_.c_str(), &db_, connectionFlags | SQLITE_OPEN_NOFOLLOW, nullptr) !=
        SQLITE_OK)
        throwSqliteError(db_, "cache");
    configure();
    // One transaction: a new file waits for the disk once.
    execSql(db_,
            std::string("BEGIN; "
                        "CREATE TABLE IF NOT EXISTS quarix_meta (key TEXT PRIMARY KEY, value); ") +
                createTablesList + "; COMMIT");
    if (!metaMatches())
        reset(stamp_);
    ::utime(file_.c_str(), nullptr); // marks it recently used
    struct stat st {};
    if (::stat(file_.c_str(), &st) == 0)
        inode_ = st.st_ino;
}

void CacheFile::discard() {
    if (!inMemory_)
        removeCacheFile(file_);
}

bool CacheFile::stillOnDisk() const {
    if (inMemory_)
        return true;
    struct stat st {};
    return ::stat(file_.c_str(), &st) == 0 && st.st_ino == inode_;
}

void CacheFile::configure() {
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    sql::registerAccessFunctions(db_);
    registerFoldFunction(db_);
    // The file mapped whole (up to SQLite's limit): a search reads the pages
    // where they are instead of copying each into the page cache.
    execSql(db_, "PRAGMA synchronous=NORMAL; PRAGMA cache_size=-32000; "
                 "PRAGMA mmap_size=2147418112");
    // Temporary files would put decrypted rows on disk.
    execSql(db_, keptOffDisk_ ? "PRAGMA temp_store=MEMORY" : "PRAGMA temp_store=FILE");
}

bool CacheFile::metaMatches() {
    return metaNames(db_, accessPath_, stamp_);
}

void CacheFile::writeMeta() {
    Statement put(db_, "INSERT OR REPLACE INTO quarix_meta VALUES (?, ?)");
    const std::pair<std::string, std::string> entries[] = {
        {"format", std::to_string(cacheFormat)},
        {"source", accessPath_},
        {"file", stamp_.fileState()},
        {"digest", stamp_.digestText()},
    };
    for (const auto& [key, value] : entries) {
        sqlite3_bind_text(put.get(), 1, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(put.get(), 2, value.c_str(), -1, SQLITE_TRANSIENT);
        put.step();
        put.reset();
    }
    forgetCatalogue(db_); // it belongs to the version before
}

bool CacheFile::dropCachedTables() {
    std::vector<std::string> names;
    {
        Statement q(db_,
                    "SELECT name FROM sqlite_schema WHERE type = 'table' AND name GLOB 't[0-9]*'");
        while (q.step())
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 0)));
    }
    dropAllIndexes(db_);
    for (const auto& name : names)
        execSql(db_, "DROP TABLE " + quoteIdentifier(name));
    // Made afresh, so that a list of another layout goes with its tables.
    if (!inMemory_)
        execSql(db_, std::string("DROP TABLE IF EXISTS quarix_tables; ") + createTablesList);
    return !names.empty();
}

void CacheFile::reset(const SourceStamp& stamp) {
    std::lock_guard lock(mutex_);
    stamp_ = stamp;
    known_.clear();
    wanted_.clear();
    if (results_)
        results_->clear();
    if (inMemory_) {
        dropCachedTables();
        return;
    }
    bool dropped = false;
    execSql(db_, "BEGIN IMMEDIATE");
    try {
        if (!metaMatches()) {
            dropped = dropCachedTables();
            writeMeta();
        }
        execSql(db_, "COMMIT");
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    // Gives the space back; skipped when another instance is reading.
    if (dropped)
        sqlite3_exec(db_, "VACUUM", nullptr, nullptr, nullptr);
}

std::optional<std::pair<Catalogue, SourceStamp>>
CacheFile::knownCatalogue(const std::string& accessPath) {
    sqlite3* db = nullptr;
    try {
        const fs::path file = CacheFolder::fileFor(accessPath);
        if (!DeferredSync(file).trustworthy() ||
            sqlite3_open_v2(file.c_str(), &db,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW,
                            nullptr) != SQLITE_OK) {
            sqlite3_close_v2(db);
            return std::nullopt;
        }
        // Meta and catalogue as one version of the cache file wrote them.
        execSql(db, "BEGIN");
        std::optional<RecordedCatalogue> record = recordedCatalogue(db);
        std::optional<SourceStamp> stamp;
        if (record)
            stamp = SourceStamp::of(accessPath, record->catalogue.pages);
        const bool current =
            stamp && record->describes(*stamp) && metaNames(db, accessPath, *stamp);
        sqlite3_close_v2(db);
        if (!current)
            return std::nullopt;
        return std::pair{std::move(record->catalogue), std::move(*stamp)};
    } catch (const EngineError&) {
        // A cache file that cannot be read is no worse than none.
        sqlite3_close_v2(db);
        return std::nullopt;
    }
}

void CacheFile::keepCatalogue(const Catalogue& catalogue) {
    if (inMemory_)
        return;
    std::lock_guard lock(mutex_);
    // Not worth waiting for another instance's load: the next open reads
    // the catalogue again.
    sqlite3_busy_timeout(db_, 100);
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK) {
        try {
            if (metaMatches())
                recordCatalogue(db_, catalogue, stamp_);
            execSql(db_, "COMMIT");
        } catch (const EngineError&) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    sqlite3_busy_timeout(db_, busyTimeoutMs);
}

namespace {

// A linked table's source and its version are part of what it is.
std::string sourceKey(const LinkedSource* linked) {
    return linked ? '\x1d' + linked->path + '\x1d' + linked->table + '\x1d' +
                        linked->stamp.fileState() + linked->stamp.digestText()
                  : std::string();
}

} // namespace

std::string CacheFile::columnSignature(const TableInfo& info, const LinkedSource* linked) const {
    std::string signature;
    for (const auto& column : info.columns)
        signature += column.name + '\x1f' + std::to_string(static_cast<int>(column.type)) + '\x1e';
    return signature + sourceKey(linked);
}

CachedTable CacheFile::table(const TableInfo& info, const ReadOptions& options,
                             const LinkedSource* linked) {
    const auto known = known_.find(info.name + sourceKey(linked));
    const CachedTable cached = known != known_.end() ? known->second : load(info, options, linked);
    if (!cached.warning.empty() && !options.salvage)
        throw EngineError(reader_errors::tableDamaged, cached.warning);
    return cached;
}

void CacheFile::requireUnchangedSource() const {
    const auto now = SourceStamp::of(accessPath_, stamp_.pages);
    if (!now)
        throw reader_errors::fileNotFoundError(accessPath_);
    if (*now != stamp_)
        throw SourceChanged(accessPath_, *now);
}

// A read that failed or ended while the file changed says SourceChanged:
// the failure may be the change's doing (a file cut short under the reader).
TableRead CacheFile::readSteadily(const TableInfo& info, RowSink& sink, const ReadOptions& options,
                                  const LinkedSource* linked) {
    if (linked) {
        // The linked file is read without this file's password.
        ReadOptions own = options;
        own.password = nullptr;
        const TableRead read = AccessFileReader::readTable(linked->path, linked->table, sink, own);
        const auto now = SourceStamp::of(linked->path, linked->stamp.pages);
        if (!now)
            throw reader_errors::fileNotFoundError(linked->path);
        if (*now != linked->stamp)
            throw SourceChanged(linked->path, *now);
        return read;
    }
    TableRead read;
    try {
        read = AccessFileReader::readTable(accessPath_, info.name, sink, options);
    } catch (const EngineError& e) {
        if (e.number() != reader_errors::canceled)
            requireUnchangedSource();
        throw;
    }
    requireUnchangedSource();
    return read;
}

// A damaged table is read whole all the same: what could be read is kept
// with its warning, so asking again with salvage costs no second read.
CachedTable CacheFile::load(const TableInfo& info, const ReadOptions& options,
                            const LinkedSource* linked) {
    ReadOptions everything = options;
    everything.salvage = true;
    if (!inMemory_)
        return loadIntoFile(info, everything, linked);
    const std::string sqlName = "t" + std::to_string(known_.size() + 1);
    execSql(db_, "BEGIN");
    try {
        TableInserter inserter(db_, sqlName, info);
        const TableRead read = readSteadily(info, inserter, everything, linked);
        execSql(db_, "COMMIT");
        return known_[info.name + sourceKey(linked)] = {sqlName, inserter.rows(), read.warning};
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

CachedTable CacheFile::loadIntoFile(const TableInfo& info, const ReadOptions& options,
                                    const LinkedSource* linked) {
    const std::string signature = columnSignature(info, linked);
    // The load does not wait for the disk: the marker keeps the file from
    // being trusted after a power failure until it is flushed.
    const UnsyncedLoad unsynced(db_, sync_->available());
    // Another running instance may be reading the same table: the write
    // lock makes the second one wait and then find the finished table.
    execSql(db_, "BEGIN IMMEDIATE");
    try {
        if (!metaMatches()) {
            // Another instance started the cache again for another version
            // of the file: this one is read again, or it takes the cache back.
            requireUnchangedSource();
            known_.clear();
            wanted_.clear();
            results_->clear();
            dropCachedTables();
            writeMeta();
        }
        std::optional<std::string> stale; // the table as read before under other columns
        {
            Statement find(
                db_, "SELECT rowid, signature, rows, warning FROM quarix_tables WHERE name = ?");
            sqlite3_bind_text(find.get(), 1, info.name.c_str(), -1, SQLITE_TRANSIENT);
            if (find.step()) {
                const std::string sqlName =
                    "t" + std::to_string(sqlite3_column_int64(find.get(), 0));
                const auto* stored =
                    reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 1));
                const auto rows = static_cast<std::uint64_t>(sqlite3_column_int64(find.get(), 2));
                const auto* warning =
                    reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 3));
                if (stored && signature == stored) {
                    execSql(db_, "COMMIT");
                    return known_[info.name + sourceKey(linked)] = {sqlName, rows,
                                                                    warning ? warning : ""};
                }
                stale = sqlName;
            }
        }
        if (sync_->available())
            sync_->beforeUnsyncedWrites();
        if (stale) {
            dropIndexesOf(db_, *stale);
            execSql(db_, "DROP TABLE IF EXISTS " + *stale);
            Statement forget(db_, "DELETE FROM quarix_tables WHERE name = ?");
            sqlite3_bind_text(forget.get(), 1, info.name.c_str(), -1, SQLITE_TRANSIENT);
            forget.step();
        }
        Statement add(db_, "INSERT INTO quarix_tables (name, signature, rows) VALUES (?, ?, 0)");
        sqlite3_bind_text(add.get(), 1, info.name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(add.get(), 2, signature.c_str(), -1, SQLITE_TRANSIENT);
        add.step();
        const std::string sqlName = "t" + std::to_string(sqlite3_last_insert_rowid(db_));

        TableInserter inserter(db_, sqlName, info);
        const TableRead read = readSteadily(info, inserter, options, linked);

        Statement count(db_, "UPDATE quarix_tables SET rows = ?, warning = ? WHERE name = ?");
        sqlite3_bind_int64(count.get(), 1, static_cast<sqlite3_int64>(inserter.rows()));
        if (!read.warning.empty())
            sqlite3_bind_text(count.get(), 2, read.warning.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(count.get(), 3, info.name.c_str(), -1, SQLITE_TRANSIENT);
        count.step();
        execSql(db_, "COMMIT");
        CacheFolder::enforceLimit(limitBytes_, file_.parent_path(), file_);
        return known_[info.name + sourceKey(linked)] = {sqlName, inserter.rows(), read.warning};
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void CacheFile::want(const ColumnIndex& index) {
    if (std::find(wanted_.begin(), wanted_.end(), index) == wanted_.end())
        wanted_.push_back(index);
}

namespace {

int stopWhenCancelled(void* cancel) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

// Waits for other connections' locks a little at a time, until cancelled.
int waitUnlessCancelled(void* cancel, int) {
    if (static_cast<const std::atomic<bool>*>(cancel)->load())
        return 0;
    sqlite3_sleep(20);
    return 1;
}

std::uint64_t fileBytes(sqlite3* db) {
    Statement pages(db, "SELECT page_count * page_size FROM pragma_page_count, pragma_page_size");
    pages.step();
    return static_cast<std::uint64_t>(sqlite3_column_int64(pages.get(), 0));
}

// Builds one index in its own transaction; false when it failed or would
// take the file past limitBytes (0: no limit), leaving nothing behind.
bool buildWithin(sqlite3* db, const ColumnIndex& index, std::uint64_t limitBytes) {
    if (indexExists(db, index))
        return true;
    try {
        execSql(db, "BEGIN IMMEDIATE");
        buildIndex(db, index);
        if (limitBytes && fileBytes(db) > limitBytes)
            throw EngineError(cache_errors::diskError, "over the cache size limit");
        execSql(db, "COMMIT");
        return true;
    } catch (const EngineError&) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return false;
    }
}

} // namespace

void CacheFile::buildWantedIndexes(const std::atomic<bool>* cancel) {
    static const std::atomic<bool> never{false};
    const std::atomic<bool>* stop = cancel ? cancel : &never;
    std::vector<ColumnIndex> wanted;
    {
        std::lock_guard lock(mutex_);
        wanted = wanted_;
    }
    // A cache file is indexed through a connection of its own, so that the
    // results read meanwhile do not wait for the build.
    sqlite3* db = db_;
    std::unique_lock lock(mutex_, std::defer_lock);
    if (inMemory_) {
        lock.lock();
    } else if (sqlite3_open_v2(file_.c_str(), &db,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_NOFOLLOW,
                               nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        return;
    } else {
        registerFoldFunction(db);
        sqlite3_busy_handler(db, &waitUnlessCancelled, const_cast<std::atomic<bool>*>(stop));
        sqlite3_exec(db, "PRAGMA synchronous=NORMAL; PRAGMA cache_size=-32000", nullptr, nullptr,
                     nullptr);
    }
    sqlite3_progress_handler(db, 10000, &stopWhenCancelled, const_cast<std::atomic<bool>*>(stop));
    std::vector<ColumnIndex> done;
    for (const ColumnIndex& index : wanted) {
        if (*stop)
            break;
        buildWithin(db, index, inMemory_ ? 0 : limitBytes_);
        if (!*stop)
            done.push_back(index); // built, or not to be tried again
    }
    sqlite3_progress_handler(db, 0, nullptr, nullptr);
    if (db != db_)
        sqlite3_close_v2(db);
    if (!lock.owns_lock())
        lock.lock();
    for (const ColumnIndex& index : done)
        std::erase(wanted_, index);
    if (!inMemory_ && !done.empty())
        CacheFolder::enforceLimit(limitBytes_, file_.parent_path(), file_);
}

} // namespace quarix::engine
