#pragma once

#include "engine/StoredValue.h"
#include "engine/reader/Catalogue.h"
#include "engine/reader/FilePassword.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace quarix::engine {

// Receives the rows of one table as the reader decodes them.
class RowSink {
public:
    virtual ~RowSink() = default;
    // Called once before the first row with the table as the file holds it
    // at the moment of reading.
    virtual void begin(const TableInfo& table) = 0;
    // One row; values in column order of the TableInfo, in storage form.
    // The views inside stay valid until the end of the batch the row is in.
    virtual void row(std::span<const StoredValue> values) = 0;
    // Ends a batch of rows; called before the read returns.
    virtual void endBatch() {}
};

struct ReadOptions {
    std::function<void(std::uint64_t rowsRead, std::uint64_t rowsExpected)>
        progress;                              // may be empty
    const std::atomic<bool>* cancel = nullptr; // set to stop; the read then throws EngineError
    // A locked file's password; the reader gets it through a pipe.
    std::shared_ptr<const FilePassword> password;
};

// Reads Access files. Every call runs libmdb in a supervised helper process,
// so a damaged file can never crash or hang the caller: it throws
// EngineError instead (3024 missing file, 3343 unrecognised or damaged
// format or an encryption Quarix cannot read, 3031 a missing or wrong
// password).
class AccessFileReader {
public:
    // Path of the helper program. Unless set, QUARIX_READER names it, else
    // it is found beside the running executable, in the installed layout
    // relative to it, or (for programs in the build tree) where it was built.
    static void setHelperPath(const std::string& path);
    // How long the helper may go without sending anything before it is
    // taken for hung and killed (20 s unless set).
    static void setWatchdogTimeout(std::chrono::milliseconds timeout);

    static Catalogue readCatalogue(const std::string& path, const ReadOptions& options = {});

    // Streams every row of the named table (exact name, as in the catalogue).
    static void readTable(const std::string& path, const std::string& table, RowSink& sink,
                          const ReadOptions& options = {});
};

} // namespace quarix::engine
