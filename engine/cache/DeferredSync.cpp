#include "engine/cache/DeferredSync.h"

#include "engine/cache/CacheErrors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace quarix::engine {

namespace {

std::string currentBoot() {
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string boot;
    std::getline(in, boot);
    return boot;
}

// Flushes a file or folder to the disk; false when it cannot be.
bool flush(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool done = ::fdatasync(fd) == 0;
    ::close(fd);
    return done;
}

[[noreturn]] void markerFailed(const fs::path& marker) {
    throw CacheDiskError(cache_errors::diskError,
                         "The cache marker '" + marker.string() +
                             "' cannot be written: " + std::strerror(errno) + ".");
}

} // namespace

DeferredSync::DeferredSync(fs::path cacheFile)
    : file_(std::move(cacheFile)), marker_(markerOf(file_)), boot_(currentBoot()) {}

fs::path DeferredSync::markerOf(const fs::path& cacheFile) {
    return cacheFile.string() + "-unsynced";
}

bool DeferredSync::trustworthy() const {
    std::ifstream in(marker_);
    if (!in)
        return true;
    std::string boot;
    std::getline(in, boot);
    return !boot_.empty() && boot == boot_;
}

void DeferredSync::beforeUnsyncedWrites() {
    std::error_code ec;
    if (fs::exists(marker_, ec))
        return;
    const int fd = ::open(marker_.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        markerFailed(marker_);
    const std::string line = boot_ + "\n";
    const bool written =
        ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
        ::fdatasync(fd) == 0;
    ::close(fd);
    // The folder too, or the marker's name could be lost with the power.
    if (!written || !flush(marker_.parent_path(), O_RDONLY | O_DIRECTORY))
        markerFailed(marker_);
}

void DeferredSync::settle() {
    std::error_code ec;
    if (!fs::exists(marker_, ec))
        return;
    if (flush(file_, O_RDONLY))
        fs::remove(marker_, ec);
}

} // namespace quarix::engine
