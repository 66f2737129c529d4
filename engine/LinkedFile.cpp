#include "engine/LinkedFile.h"

#include "engine/EngineError.h"

#include <filesystem>

#include <sys/stat.h>

namespace quarix::engine {
namespace {

namespace fs = std::filesystem;

// A regular file, reached through a link only when the link's folder is
// the owner's alone.
bool readableFile(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        struct stat folder {};
        const fs::path parent = path.parent_path().empty() ? fs::path(".") : path.parent_path();
        if (::stat(parent.c_str(), &folder) != 0 || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0)
            return false;
        if (::stat(path.c_str(), &st) != 0)
            return false;
    }
    return S_ISREG(st.st_mode);
}

// The last part of a Windows or POSIX path.
std::string fileNameOf(const std::string& stored) {
    const std::size_t slash = stored.find_last_of("\\/");
    return slash == std::string::npos ? stored : stored.substr(slash + 1);
}

} // namespace

std::string linkedFilePath(const std::string& storedPath, const std::string& databasePath) {
    if (storedPath.starts_with('/') && readableFile(storedPath))
        return fs::path(storedPath).lexically_normal().string();
    const std::string name = fileNameOf(storedPath);
    if (!name.empty() && name != "." && name != ".." && name.find('\0') == std::string::npos) {
        const fs::path beside = fs::path(databasePath).parent_path() / name;
        if (readableFile(beside))
            return beside.string();
    }
    throw EngineError(3044, "'" + storedPath + "' is not a valid path.");
}

} // namespace quarix::engine
