#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// A scratch folder that is removed with its contents when the test ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) : path_(scratchDir(name)) {}
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    operator const std::filesystem::path&() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace quarix::test
