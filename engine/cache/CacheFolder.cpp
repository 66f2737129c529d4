#include "engine/cache/CacheFolder.h"

#include "engine/cache/CacheErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quarix::engine {

namespace {

// Without HOME the account's own home still holds the cache; a shared
// temporary folder is the last resort, and only a folder of the user's
// own there is used.
fs::path baseFolder() {
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
        return fs::path(xdg);
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return fs::path(home) / ".cache";
    if (const passwd* account = ::getpwuid(::geteuid());
        account && account->pw_dir && account->pw_dir[0] == '/')
        return fs::path(account->pw_dir) / ".cache";
    return fs::temp_directory_path() / ("quarix-" + std::to_string(::geteuid()));
}

// FNV-1a, 64 bit: a stable name for a path. Collisions are harmless, the
// cache file records its source path and is rebuilt when it differs.
std::uint64_t pathHash(const std::string& text) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

[[noreturn]] void refuse(const fs::path& dir, const std::string& why) {
    throw CacheDiskError(cache_errors::diskError,
                         "Quarix cannot keep its cache in '" + dir.string() + "': " + why + ".");
}

} // namespace

std::string folderRefusal(const fs::path& folder, uid_t user) {
    struct stat link {};
    struct stat target {};
    if (::lstat(folder.c_str(), &link) != 0 || ::stat(folder.c_str(), &target) != 0)
        return std::strerror(errno);
    if (!S_ISDIR(target.st_mode))
        return "it is not a folder";
    // A link counts as its maker's: one another user put in a shared
    // folder could be pointed elsewhere at any moment.
    if (link.st_uid != user || target.st_uid != user)
        return "the folder belongs to another user";
    return {};
}

fs::path CacheFolder::location() {
    const fs::path dir = baseFolder() / "quarix";
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (const std::string why = folderRefusal(dir, ::geteuid()); !why.empty())
        refuse(dir, why);
    if (::chmod(dir.c_str(), 0700) != 0)
        refuse(dir, std::strerror(errno));
    return dir;
}

fs::path CacheFolder::fileFor(const std::string& absoluteAccessPath) {
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.sqlite",
                  static_cast<unsigned long long>(pathHash(absoluteAccessPath)));
    return location() / name;
}

void CacheFolder::enforceLimit(std::uint64_t limitBytes, const fs::path& folder,
                               const fs::path& keep) {
    struct Entry {
        fs::path path;
        std::uint64_t bytes;
        fs::file_time_type used;
    };
    std::vector<Entry> entries;
    std::uint64_t total = 0;
    std::error_code ec;
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        if (item.path().extension() != ".sqlite")
            continue;
        std::uint64_t bytes = item.file_size(ec);
        for (const char* side : {"-wal", "-shm"}) {
            std::error_code sideEc;
            auto extra = fs::file_size(item.path().string() + side, sideEc);
            if (!sideEc)
                bytes += extra;
        }
        entries.push_back({item.path(), bytes, item.last_write_time(ec)});
        total += bytes;
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.used < b.used; });
    for (const Entry& e : entries) {
        if (total <= limitBytes)
            break;
        if (e.path == keep)
            continue;
        for (const char* side : {"", "-wal", "-shm", "-journal", "-unsynced"})
            fs::remove(e.path.string() + side, ec);
        total -= std::min(total, e.bytes);
    }
}

} // namespace quarix::engine
