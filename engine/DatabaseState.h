#pragma once

#include "engine/cache/CacheErrors.h"
#include "engine/cache/CacheFile.h"
#include "engine/queries/SavedQuery.h"
#include "engine/reader/AccessFileReader.h"
#include "engine/reader/Catalogue.h"
#include "engine/reader/FilePassword.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine {

// A cache on disk, or in memory with a warning when the disk cannot hold
// one; a locked file's cache is kept off the disk altogether.
std::shared_ptr<CacheFile> openCache(const std::string& path, const SourceStamp& stamp,
                                     bool inMemory, std::uint64_t limitBytes, bool keptOffDisk);
// A cache in memory because the disk could not hold one, saying why.
std::shared_ptr<CacheFile> memoryCache(const std::string& path, const SourceStamp& stamp,
                                       std::uint64_t limitBytes, const EngineError& why);

// A linked table as read from its own file: its columns there, under its
// name here.
struct LinkedTable {
    TableInfo info;
    LinkedSource source;
};

// What the engine keeps of one open Access file, shared by every
// AccessDatabase opened on it.
struct DatabaseState {
    std::string path;
    std::shared_ptr<const FilePassword> password; // for a file that needs one
    Catalogue catalogue;
    std::uint64_t cacheLimitBytes = 0;
    std::mutex cacheMutex;
    std::shared_ptr<CacheFile> cache;
    std::mutex savedMutex;
    std::optional<std::vector<SavedQuery>> saved;

    // Rebuilt from the file on first use.
    const std::vector<SavedQuery>& savedQueries();

    // The caller's options for reading this file, with its password.
    ReadOptions readOptions(const ReadOptions& options = {}) const {
        ReadOptions withPassword = options;
        withPassword.password = password;
        return withPassword;
    }

    // The cache for one operation. A cache file deleted while the database
    // is open, or found damaged, cannot take new tables: the operation gets
    // a new one, while result sets made before keep reading the old.
    std::shared_ptr<CacheFile> currentCache();
    void replaceCache(std::shared_ptr<CacheFile> replacement);

    // Where a linked table's rows are, following a link to a table that is
    // itself linked.
    LinkedTable resolveLink(const TableInfo& table, int depth = 0);
};

// Access compares object names without regard to case.
bool sameName(const std::string& a, const std::string& b);
const TableInfo* findTable(const Catalogue& catalogue, const std::string& name);

// The table a name stands for, with its source when it is linked.
struct SourceTable {
    TableInfo info;
    std::optional<LinkedSource> linked;
};

SourceTable sourceTable(DatabaseState& state, const TableInfo& table);

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

} // namespace quarix::engine
