#include "engine/reader/AccessFileReader.h"

#include "engine/reader/HelperProcess.h"
#include "engine/reader/ReaderErrors.h"
#include "engine/reader/WireFormat.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

namespace quarix::engine {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// GCC says so with __SANITIZE_ADDRESS__, clang only through __has_feature.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUARIX_ADDRESS_SANITIZER
#endif
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(QUARIX_ADDRESS_SANITIZER)
constexpr std::uint64_t memoryLimit = 0; // the sanitizer reserves terabytes of address space
#else
constexpr std::uint64_t memoryLimit = 2ULL << 30;
#endif

std::mutex settingsMutex;
std::string helperOverride;
std::chrono::milliseconds watchdog = 20s;

bool isInside(const fs::path& path, const fs::path& folder) {
    const fs::path relative = path.lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

// Set by the caller or QUARIX_READER, else beside the running program (as in
// the build tree), else in the installed layout's private folder relative to
// the program's own folder, so that a moved installation still works. Only a
// program inside the build tree falls back to the build location: on
// another computer that path may be a folder anyone can write.
std::string helperPath() {
    {
        std::lock_guard lock(settingsMutex);
        if (!helperOverride.empty())
            return helperOverride;
    }
    if (const char* env = std::getenv("QUARIX_READER"); env && *env)
        return env;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        throw EngineError(reader_errors::helperFailed,
                          "Quarix could not find its file reader: its own folder is unknown (" +
                              ec.message() + ")");
    const fs::path beside = program.parent_path() / "quarix-reader";
    if (::access(beside.c_str(), X_OK) == 0)
        return beside.string();
    const fs::path installed =
        (program.parent_path() / QUARIX_READER_INSTALLED_RELATIVE_PATH).lexically_normal();
    if (::access(installed.c_str(), X_OK) != 0 &&
        isInside(program, fs::weakly_canonical(QUARIX_BUILD_DIR, ec)))
        return QUARIX_READER_BUILD_PATH;
    return installed.string();
}

std::chrono::milliseconds watchdogTimeout() {
    std::lock_guard lock(settingsMutex);
    return watchdog;
}

// The absolute path of an existing regular file, or the error Access gives.
std::string checkedPath(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = path.empty() ? fs::path() : fs::absolute(path, ec);
    if (absolute.empty() || ec)
        throw reader_errors::fileNotFoundError(path);
    struct stat info {};
    if (::stat(absolute.c_str(), &info) != 0)
        throw errno == EACCES ? reader_errors::noPermissionError(path)
                              : reader_errors::fileNotFoundError(path);
    if (S_ISDIR(info.st_mode))
        throw reader_errors::fileNotFoundError(path);
    return absolute.lexically_normal().string();
}

// Runs the helper and hands each frame to onFrame until it returns true
// (the helper's End). A helper that hangs or sends garbage becomes the error
// failure() builds; one stopped by a signal says so, naming what it read.
template <typename OnFrame, typename Failure>
void runHelper(const std::vector<std::string>& arguments, const ReadOptions& options,
               const std::string& reading, OnFrame onFrame, Failure failure) {
    std::vector<std::string> args;
    if (memoryLimit != 0)
        args.push_back("--memory-limit=" + std::to_string(memoryLimit));
    args.insert(args.end(), arguments.begin(), arguments.end());

    const auto cancelled = [&] { return options.cancel && options.cancel->load(); };
    if (cancelled())
        throw reader_errors::canceledError();
    Secret input;
    if (options.password) {
        args.insert(args.begin(), "--password-on-stdin");
        input = options.password->encoded();
    }
    HelperProcess child(helperPath(), args, input.bytes());
    input.wipe();
    wire::FrameParser parser;
    const auto limit = watchdogTimeout();
    auto lastActivity = std::chrono::steady_clock::now();
    for (;;) {
        if (cancelled())
            throw reader_errors::canceledError();
        const HelperProcess::Output output =
            child.read(std::min<std::chrono::milliseconds>(100ms, limit), parser.space());
        const auto now = std::chrono::steady_clock::now();
        if (output.activity)
            lastActivity = now;
        parser.received(output.bytes);
        try {
            while (const auto frame = parser.next()) {
                if (frame->type == wire::FrameType::Error) {
                    wire::ByteReader in(frame->payload);
                    const int number = in.i32();
                    throw EngineError(number, in.text());
                }
                if (onFrame(*frame))
                    return;
                if (cancelled())
                    throw reader_errors::canceledError();
            }
        } catch (const wire::MalformedFrame&) {
            throw failure();
        }
        if (output.finished)
            break;
        if (now - lastActivity > limit) {
            child.kill();
            throw failure(); // hung: on a damaged file, libmdb can loop for ever
        }
    }
    const int status = child.wait();
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        throw EngineError(reader_errors::helperFailed,
                          "Quarix could not run its file reader: " + child.errorOutput());
    if (WIFSIGNALED(status))
        throw reader_errors::readerStoppedError(WTERMSIG(status), reading);
    throw failure();
}

// Streams the rows the helper sends for one request to the sink.
TableRead streamRows(const std::vector<std::string>& arguments, const std::string& path,
                     const std::string& table, RowSink& sink, const ReadOptions& options) {
    TableInfo info;
    bool begun = false;
    std::vector<StoredValue> values;
    TableRead read;
    runHelper(
        arguments, options, "the table '" + table + "' in '" + path + "'",
        [&](const wire::Frame& frame) {
            wire::ByteReader in(frame.payload);
            switch (frame.type) {
            case wire::FrameType::Table:
                info = wire::readTableInfo(in);
                values.assign(info.columns.size(), StoredValue::null());
                sink.begin(info);
                begun = true;
                return false;
            case wire::FrameType::Rows: {
                if (!begun)
                    throw wire::MalformedFrame("rows before table");
                const std::uint32_t count = in.u32();
                for (std::uint32_t r = 0; r < count; ++r) {
                    for (StoredValue& v : values)
                        v = in.value();
                    sink.row(values);
                }
                if (!in.atEnd())
                    throw wire::MalformedFrame("rows do not fit their columns");
                sink.endBatch(); // the frame, which the rows' views point into, goes next
                read.rows += count;
                if (options.progress)
                    options.progress(read.rows, info.rowEstimate);
                return false;
            }
            case wire::FrameType::End:
                if (!begun || in.u64() != read.rows)
                    throw wire::MalformedFrame("end does not match the rows");
                read.damage = wire::readDamage(in);
                return true;
            default:
                throw wire::MalformedFrame("unexpected frame");
            }
        },
        [&] { return reader_errors::tableDamagedError(table, path); });
    if (read.damage.any()) {
        read.warning = damageDescription(table, path, read.damage, read.rows, info.rowEstimate);
        if (!options.salvage)
            throw EngineError(reader_errors::tableDamaged, read.warning);
    }
    return read;
}

} // namespace

void AccessFileReader::setHelperPath(const std::string& path) {
    std::lock_guard lock(settingsMutex);
    helperOverride = path;
}

void AccessFileReader::setWatchdogTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard lock(settingsMutex);
    watchdog = timeout;
}

Catalogue AccessFileReader::readCatalogue(const std::string& path, const ReadOptions& options) {
    const std::string absolute = checkedPath(path);
    Catalogue catalogue;
    bool received = false;
    runHelper(
        {"catalogue", absolute}, options, "'" + path + "'",
        [&](const wire::Frame& frame) {
            if (frame.type == wire::FrameType::Catalogue) {
                wire::ByteReader in(frame.payload);
                catalogue = wire::readCatalogue(in);
                received = true;
            }
            if (frame.type == wire::FrameType::End && !received)
                throw wire::MalformedFrame("no catalogue");
            return frame.type == wire::FrameType::End;
        },
        [&] { return reader_errors::unrecognizedFormatError(path); });
    return catalogue;
}

TableRead AccessFileReader::readTable(const std::string& path, const std::string& table,
                                      RowSink& sink, const ReadOptions& options) {
    return streamRows({"table", checkedPath(path), table}, path, table, sink, options);
}

TableRead AccessFileReader::readAttachments(const std::string& path, const std::string& table,
                                            const std::string& field, RowSink& sink,
                                            const ReadOptions& options) {
    return streamRows({"attachments", checkedPath(path), table, field}, path, table, sink, options);
}

} // namespace quarix::engine
