// Any bytes as an Access file, read through the supervised helper process
// as the engine reads it: the catalogue, then every table. The caller must
// get data or an EngineError; a crash, hang or sanitizer report in the
// caller stops the run. The helper's own crashes are the isolation's job,
// except a sanitizer report whose first frames are Quarix code: a fault in
// the helper's decoding rather than in libmdb, which also stops the run.
#include "engine/EngineError.h"
#include "engine/reader/AccessFileReader.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class CountingSink : public quarix::engine::RowSink {
public:
    void begin(const quarix::engine::TableInfo&) override {}
    void row(std::span<const quarix::engine::StoredValue> values) override {
        cells_ += values.size();
    }

private:
    std::size_t cells_ = 0;
};

// The file each input is written to, and the folder the helper's sanitizer
// reports go to; both removed when the run ends.
struct Scratch {
    Scratch() {
        const char* tmp = std::getenv("TMPDIR");
        folder = fs::path(tmp && *tmp ? tmp : "/tmp") /
                 ("quarix-fuzz-reader-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        file = (folder / "input.mdb").string();
        // Only the children see these; libmdb's leaks are of no interest.
        const std::string log = "log_path=" + (folder / "helper").string();
        ::setenv("ASAN_OPTIONS", ("detect_leaks=0:" + log).c_str(), 1);
        ::setenv("UBSAN_OPTIONS", ("print_stacktrace=1:" + log).c_str(), 1);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    fs::path folder;
    std::string file;
};

// Stops the run on a helper report that blames Quarix code; prints and
// forgets the others.
void checkHelperReports(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind("helper", 0) != 0)
            continue;
        std::ifstream in(entry.path());
        std::ostringstream report;
        report << in.rdbuf();
        const std::string text = report.str();
        std::istringstream lines(text);
        bool ours = false;
        for (std::string line; std::getline(lines, line);)
            for (const char* frame : {"#0 ", "#1 ", "#2 ", "#3 "})
                if (line.find(frame) != std::string::npos &&
                    line.find("quarix::") != std::string::npos)
                    ours = true;
        std::cerr << "helper sanitizer report (" << (ours ? "Quarix code" : "inside libmdb")
                  << "):\n"
                  << text;
        fs::remove(entry.path());
        if (ours)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarix::engine;
    using namespace std::chrono_literals;
    static const Scratch scratch;
    AccessFileReader::setWatchdogTimeout(2s);

    std::FILE* file = std::fopen(scratch.file.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    try {
        const Catalogue catalogue = AccessFileReader::readCatalogue(scratch.file);
        for (const TableInfo& table : catalogue.tables) {
            CountingSink sink;
            try {
                AccessFileReader::readTable(scratch.file, table.name, sink);
            } catch (const EngineError&) {
            }
        }
    } catch (const EngineError&) {
    }
    checkHelperReports(scratch.folder);
    return 0;
}
