#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace quarix::engine {

// The per-user folder that holds one SQLite cache file per Access file:
// $XDG_CACHE_HOME/quarix (or ~/.cache/quarix), private to the user.
class CacheFolder {
public:
    static constexpr std::uint64_t defaultLimitBytes = 2ull * 1024 * 1024 * 1024;

    // Creates the folder (mode 0700) when missing and tightens its mode
    // when it was left open to others. Throws CacheDiskError when it cannot
    // be made, or is not a folder of the user's own: another user could
    // read or replace what Quarix keeps there.
    static std::filesystem::path location();

    // The cache file for an Access file, named after its absolute path.
    static std::filesystem::path fileFor(const std::string& absoluteAccessPath);

    // Deletes the least recently used cache files in folder until it holds
    // at most limitBytes; the file in use (keep) is never deleted.
    static void enforceLimit(std::uint64_t limitBytes, const std::filesystem::path& folder,
                             const std::filesystem::path& keep);
};

// Why a folder may not hold the user's cache: empty when it is a folder
// (or a link the user made to one) owned by user.
std::string folderRefusal(const std::filesystem::path& folder, uid_t user);

} // namespace quarix::engine
