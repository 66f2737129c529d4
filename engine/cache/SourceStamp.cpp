#include "engine/cache/SourceStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace quarix::engine {
namespace {

constexpr std::size_t jetVersionOffset = 0x14;
constexpr std::size_t jet3PageSize = 2048;
constexpr std::size_t pageSize = 4096;

std::int64_t nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// FNV-1a, 64 bit: enough to tell versions apart, not a defence against
// someone crafting a file.
void digestBytes(std::uint64_t& h, const char* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        h ^= static_cast<unsigned char>(bytes[i]);
        h *= 1099511628211ull;
    }
}

// Adds one page; a page past the end adds what is there of it.
bool digestPage(int fd, std::uint64_t page, std::size_t size, std::uint64_t& h, char* buffer) {
    const ssize_t n = ::pread(fd, buffer, size, static_cast<off_t>(page * size));
    if (n < 0)
        return false;
    digestBytes(h, buffer, static_cast<std::size_t>(n));
    return true;
}

} // namespace

std::optional<SourceStamp> SourceStamp::of(const std::string& path,
                                           std::vector<std::uint32_t> pages) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    char buffer[pageSize];
    SourceStamp stamp;
    bool read = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (read) {
        stamp.device = info.st_dev;
        stamp.inode = info.st_ino;
        stamp.size = static_cast<std::uint64_t>(info.st_size);
        stamp.modifiedNs = nanoseconds(info.st_mtim);
        stamp.changedNs = nanoseconds(info.st_ctim);
        stamp.digest = 1469598103934665603ull;
        read = digestPage(fd, 0, pageSize, stamp.digest, buffer);
        // Jet 3 files (version byte 0) have 2 KB pages.
        const bool jet3 = read && info.st_size > static_cast<off_t>(jetVersionOffset) &&
                          buffer[jetVersionOffset] == 0;
        for (std::size_t i = 0; read && i < pages.size(); ++i)
            read = digestPage(fd, pages[i], jet3 ? jet3PageSize : pageSize, stamp.digest, buffer);
    }
    ::close(fd);
    if (!read)
        return std::nullopt;
    stamp.pages = std::move(pages);
    return stamp;
}

std::string SourceStamp::fileState() const {
    char text[160];
    std::snprintf(text, sizeof text, "%llu:%llu:%llu:%lld:%lld",
                  static_cast<unsigned long long>(device), static_cast<unsigned long long>(inode),
                  static_cast<unsigned long long>(size), static_cast<long long>(modifiedNs),
                  static_cast<long long>(changedNs));
    return text;
}

std::string SourceStamp::digestText() const {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(digest));
    return text;
}

} // namespace quarix::engine
