#pragma once

#include "engine/cache/StatementResults.h"
#include "engine/reader/AccessFileReader.h"
#include "engine/reader/Catalogue.h"

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quarix::engine {

// What identifies one version of an Access file: the cache is trusted only
// while both are unchanged.
struct SourceStamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const SourceStamp&) const = default;
};

struct CachedTable {
    std::string sqlName; // quoted SQLite table name
    std::uint64_t rows = 0;
};

// The SQLite database holding the tables of one Access file that have been
// read so far: a file in the user's cache folder, or memory when the cache
// is switched off. A cache kept off disk (for an encrypted file) lives in
// memory with its temporary tables and sorts too. One connection, used
// under its mutex.
class DeferredSync;

class CacheFile {
public:
    CacheFile(const std::string& accessPath, const SourceStamp& stamp, bool inMemory,
              std::uint64_t limitBytes, bool keptOffDisk = false);
    ~CacheFile();
    CacheFile(const CacheFile&) = delete;
    CacheFile& operator=(const CacheFile&) = delete;

    sqlite3* db() const { return db_; }
    std::recursive_mutex& mutex() { return mutex_; }
    const SourceStamp& stamp() const { return stamp_; }
    bool keptOffDisk() const { return keptOffDisk_; }

    // False when the cache file was deleted or replaced since it was opened:
    // the connection must then not be used again.
    bool stillOnDisk() const;

    // Forgets every cached table: the Access file has changed.
    void reset(const SourceStamp& stamp);

    // The SQLite table holding an Access table, read from the file first
    // when it is not cached yet. Call with the mutex held.
    CachedTable table(const TableInfo& info, const ReadOptions& options);

    // The results of recent statements. Call with the mutex held.
    StatementResults& results() { return *results_; }

private:
    void openFile();
    void openMemory();
    void configure();
    bool metaMatches();
    void writeMeta();
    bool dropCachedTables(); // true when there were any
    void settle();
    std::string columnSignature(const TableInfo& info) const;

    std::string accessPath_;
    SourceStamp stamp_;
    bool inMemory_;
    std::uint64_t limitBytes_;
    bool keptOffDisk_;
    std::filesystem::path file_;
    std::uint64_t inode_ = 0;
    sqlite3* db_ = nullptr;
    std::recursive_mutex mutex_;
    std::map<std::string, CachedTable> known_;
    std::unique_ptr<StatementResults> results_;
    std::unique_ptr<DeferredSync> sync_; // for a cache file on disk
};

} // namespace quarix::engine
