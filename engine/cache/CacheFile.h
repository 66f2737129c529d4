#pragma once

#include "engine/cache/ColumnIndex.h"
#include "engine/cache/SourceStamp.h"
#include "engine/cache/StatementResults.h"
#include "engine/reader/AccessFileReader.h"
#include "engine/reader/Catalogue.h"

#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarix::engine {

// Where a linked table's rows are read: a table of another Access file, at
// the version its stamp names.
struct LinkedSource {
    std::string path;
    std::string table;
    SourceStamp stamp;
};

struct CachedTable {
    std::string sqlName; // quoted SQLite table name
    std::uint64_t rows = 0;
    std::string warning; // what a damaged table is missing; empty for a sound one
};

// The SQLite database holding the tables of one Access file that have been
// read so far, for the version of the file its stamp names: a file in the
// user's cache folder, or memory when the cache is switched off or cannot
// be kept on disk. A cache kept off disk (for an encrypted file) lives in
// memory with its temporary tables and sorts too. One connection, used
// under its mutex.
class DeferredSync;

class CacheFile {
public:
    // A cache on disk throws CacheDiskError when the folder or disk cannot
    // hold it. warning says why a cache is in memory when it should not be.
    CacheFile(const std::string& accessPath, const SourceStamp& stamp, bool inMemory,
              std::uint64_t limitBytes, bool keptOffDisk = false, std::string warning = {});
    ~CacheFile();
    CacheFile(const CacheFile&) = delete;
    CacheFile& operator=(const CacheFile&) = delete;

    sqlite3* db() const { return db_; }
    std::recursive_mutex& mutex() { return mutex_; }
    const SourceStamp& stamp() const { return stamp_; }
    bool keptOffDisk() const { return keptOffDisk_; }
    bool inMemory() const { return inMemory_; }
    const std::string& warning() const { return warning_; }

    // Takes a cache file SQLite found damaged off the disk: the next cache
    // starts afresh, while result sets made before keep this connection.
    void discard();

    // False when the cache file was deleted or replaced since it was opened:
    // the connection must then not be used again.
    bool stillOnDisk() const;

    // Forgets every cached table: the Access file has changed.
    void reset(const SourceStamp& stamp);

    // The catalogue an earlier open kept in the Access file's cache file,
    // with the file's stamp, while the file is still that version; nothing
    // otherwise. keepCatalogue() keeps one read for this cache's version,
    // on disk only: a locked file's cache is never there.
    static std::optional<std::pair<Catalogue, SourceStamp>>
    knownCatalogue(const std::string& accessPath);
    void keepCatalogue(const Catalogue& catalogue);

    // The SQLite table holding an Access table, read from the file first
    // when it is not cached yet. Call with the mutex held.
    // A damaged table is cached with what could be read and its warning;
    // unless options.salvage it then throws 3343 with that warning. A file
    // that changed during the read throws SourceChanged and caches nothing.
    // A linked table is read from its source, and read again when that
    // file's version changes.
    CachedTable table(const TableInfo& info, const ReadOptions& options,
                      const LinkedSource* linked = nullptr);

    // The results of recent statements. Call with the mutex held.
    StatementResults& results() { return *results_; }

    // Indexes that searches would have used: wanted() keeps one to build
    // later, buildWantedIndexes() builds them, stopping when cancel is set
    // (what is left stays wanted). An index that would take the file past
    // its size limit is not kept. want() and wantsIndexes() with the mutex
    // held; buildWantedIndexes() takes it when it needs it.
    void want(const ColumnIndex& index);
    bool wantsIndexes() const { return !wanted_.empty(); }
    void buildWantedIndexes(const std::atomic<bool>* cancel);

private:
    void openFile();
    void openConnection();
    void openMemory();
    // Throws SourceChanged when the file is no longer the version stamped.
    void requireUnchangedSource() const;
    TableRead readSteadily(const TableInfo& info, RowSink& sink, const ReadOptions& options,
                           const LinkedSource* linked);
    void configure();
    bool metaMatches();
    void writeMeta();
    bool dropCachedTables(); // true when there were any
    void settle();
    std::string columnSignature(const TableInfo& info, const LinkedSource* linked) const;

    CachedTable load(const TableInfo& info, const ReadOptions& options, const LinkedSource* linked);
    CachedTable loadIntoFile(const TableInfo& info, const ReadOptions& options,
                             const LinkedSource* linked);

    std::string accessPath_;
    SourceStamp stamp_;
    bool inMemory_;
    std::uint64_t limitBytes_;
    bool keptOffDisk_;
    std::string warning_;
    std::filesystem::path file_;
    std::uint64_t inode_ = 0;
    sqlite3* db_ = nullptr;
    std::recursive_mutex mutex_;
    std::map<std::string, CachedTable> known_; // by name, and a linked table's source version
    std::vector<ColumnIndex> wanted_;
    std::unique_ptr<StatementResults> results_;
    std::unique_ptr<DeferredSync> sync_; // for a cache file on disk
};

} // namespace quarix::engine
