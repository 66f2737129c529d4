#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace quarix::test {

// The project's own copy of the fixtures (tests/data).
inline std::filesystem::path dataDir() {
    const char* dir = std::getenv("QUARIX_TEST_DATA");
    return dir ? std::filesystem::path(dir) : std::filesystem::path("tests/data");
}

inline std::string dataFile(const std::string& name) {
    return (dataDir() / name).string();
}

// A fresh scratch folder for one test; removed by the caller or left in the build tree.
inline std::filesystem::path scratchDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() /
               ("quarix-test-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace quarix::test
