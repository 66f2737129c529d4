#pragma once

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
    // when it was left open to others.
    static std::filesystem::path location();

    // The cache file for an Access file, named after its absolute path.
    static std::filesystem::path fileFor(const std::string& absoluteAccessPath);

    // Deletes the least recently used cache files until the folder holds at
    // most limitBytes; the file in use (keep) is never deleted.
    static void enforceLimit(std::uint64_t limitBytes, const std::filesystem::path& keep);
};

} // namespace quarix::engine
