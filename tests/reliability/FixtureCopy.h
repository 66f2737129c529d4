#pragma once

#include "tests/support/TestData.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace quarix::test {

// A writable copy of a fixture in dir: the fixtures are read-only, and a
// read-only copy would hide a write attempt instead of showing it.
inline std::string writableCopy(const std::string& fixture, const std::filesystem::path& dir,
                                const std::string& name = {}) {
    const std::filesystem::path target =
        dir / (name.empty() ? std::filesystem::path(fixture).filename().string() : name);
    std::filesystem::copy_file(dataFile(fixture), target,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::owner_write);
    return target.string();
}

// Sets a file's modification time, to the nanosecond.
inline void setModified(const std::filesystem::path& path, const timespec& when) {
    const timespec times[2] = {when, when};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

inline timespec modifiedOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mtim;
}

} // namespace quarix::test
