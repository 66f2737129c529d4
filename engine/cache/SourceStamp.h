#pragma once

#include "engine/EngineError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine {

// What tells one version of an Access file from another: where the file
// lives (device and inode), its size, its modification and change times,
// and a digest of its header page and of the pages that hold its list of
// objects. A file replaced by another, or written in place, gets another
// stamp even when its size and modification time were put back: its change
// time moves whatever the writer does, and on file systems that keep times
// loosely a new catalogue still shows in the digest.
struct SourceStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uint64_t digest = 0;
    std::vector<std::uint32_t> pages; // digested after the header page

    bool operator==(const SourceStamp&) const = default;

    // The file at path as it is now, digesting the given pages; nothing when
    // it cannot be opened or read.
    static std::optional<SourceStamp> of(const std::string& path,
                                         std::vector<std::uint32_t> pages = {});

    // Everything but the digest, as the cache file records it.
    std::string fileState() const;
    std::string digestText() const;
};

// A read found the file changed under it, so what it read may mix two
// versions. Carries the stamp of the file as it is now.
struct SourceChanged : EngineError {
    SourceChanged(const std::string& path, SourceStamp now)
        : EngineError(3197, "The database '" + path +
                                "' was changed by another program while Quarix was reading it. "
                                "Search again to read it as it is now."),
          now(std::move(now)) {}
    SourceStamp now;
};

} // namespace quarix::engine
