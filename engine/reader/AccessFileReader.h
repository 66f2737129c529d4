#pragma once

#include "engine/StoredValue.h"
#include "engine/reader/Catalogue.h"
#include "engine/reader/FilePassword.h"
#include "engine/reader/TableDamage.h"

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
    // A table met damaged rows or values: give the rows that could be read,
    // with a warning saying what is missing, instead of failing with 3343.
    bool salvage = false;
};

// What a table read gave: the rows sent to the sink, and what could not be
// read and was left out (then, only with ReadOptions::salvage).
struct TableRead {
    std::uint64_t rows = 0;
    TableDamage damage;
    std::string warning; // says what damage.any() found; empty for a sound table
};

// Reads Access files. Every call runs libmdb in a supervised helper process,
// so a damaged file can never crash or hang the caller: it throws
// EngineError instead (3024 missing file, 3343 unrecognised or damaged
// format, an encryption Quarix cannot read, or a table with rows or values
// that cannot be read; 3031 a missing or wrong password; 3035 a reader
// stopped by the system).
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
    // Rows on damaged pages or places never reach the sink; when there were
    // any, or damaged values (sent as Null), the read throws 3343 after the
    // rows that could be read, unless options.salvage.
    static TableRead readTable(const std::string& path, const std::string& table, RowSink& sink,
                               const ReadOptions& options = {});

    // Streams the files of an attachment field as rows of Row (the table
    // row's position, from 1, in the order readTable sends the rows),
    // FileName, FileType and FileData (the file's exact bytes). Damage is
    // handled as by readTable; 3265 for a field the table lacks, 3000 for
    // one that holds no attachments.
    static TableRead readAttachments(const std::string& path, const std::string& table,
                                     const std::string& field, RowSink& sink,
                                     const ReadOptions& options = {});
};

} // namespace quarix::engine
