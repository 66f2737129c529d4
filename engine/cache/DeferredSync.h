#pragma once

#include <filesystem>
#include <string>

namespace quarix::engine {

// Lets a cache file take a table without waiting for the disk. Before such
// a load, a marker file beside the cache file names the running system's
// boot, and reaches the disk before anything else is written; the marker
// goes once the cache file has been flushed. A power failure can leave a
// cache file with lost writes only while its marker is there, and the
// marker then names an earlier boot: such a file is never trusted.
class DeferredSync {
public:
    explicit DeferredSync(std::filesystem::path cacheFile);

    // False when the cache file may have lost writes before the system
    // last started.
    bool trustworthy() const;

    // Whether loads may skip syncing here (the system's boot is known).
    bool available() const { return !boot_.empty(); }

    // Makes sure the marker is on disk before writes that are not synced.
    // Call while holding the cache file's write lock.
    void beforeUnsyncedWrites();

    // Flushes the cache file and removes the marker. Call while holding the
    // write lock, so that no load is half done.
    void settle();

    static std::filesystem::path markerOf(const std::filesystem::path& cacheFile);

private:
    std::filesystem::path file_;
    std::filesystem::path marker_;
    std::string boot_;
};

} // namespace quarix::engine
