// quarix-reader: opens one Access file with libmdb and writes its catalogue
// or the rows of one table to standard output as frames (see WireFormat.h).
// It runs as a separate process so that a damaged file can only ever take
// this process down; AccessFileReader supervises it.
//
//   quarix-reader catalogue <absolute path>
//   quarix-reader table <absolute path> <table name>
//   quarix-reader attachments <absolute path> <table name> <field name>
//
// Options before the command: --memory-limit=<bytes> (address space);
// --password-on-stdin: the credentials of a locked file (Credentials.h)
// arrive on standard input, never in the arguments or environment.

#include "engine/crypto/CoreDumps.h"
#include "engine/reader/AttachmentRows.h"
#include "engine/reader/ComplexColumns.h"
#include "engine/reader/FileLock.h"
#include "engine/reader/FileUnlock.h"
#include "engine/reader/FrameOutput.h"
#include "engine/reader/ObjectDirectory.h"
#include "engine/reader/ReaderErrors.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace quarix::engine {
namespace {

// The credentials are wiped when it returns: only the cipher made from them
// stays.
MdbDatabase& openFile(const std::string& path, Credentials credentials,
                      std::unique_ptr<MdbDatabase>& holder) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw errno == EACCES ? reader_errors::noPermissionError(path)
                              : reader_errors::fileNotFoundError(path);
    if (S_ISDIR(info.st_mode))
        throw reader_errors::fileNotFoundError(path);
    if (::access(path.c_str(), R_OK) != 0)
        throw reader_errors::noPermissionError(path);
    const auto header = readFileHeader(path.c_str());
    if (!header)
        throw reader_errors::unrecognizedFormatError(path);
    if (lockOf(*header).locked())
        disableCoreDumps();
    holder = MdbDatabase::open(path, *header, unlockFile(*header, credentials, path));
    if (!holder)
        throw reader_errors::unrecognizedFormatError(path);
    // Access files grow by whole pages: anything else was cut short.
    if (!holder->endsOnPageBoundary())
        throw reader_errors::incompleteFileError(path);
    return *holder;
}

void writeCatalogue(const std::string& path, Credentials credentials, FrameOutput& out) {
    std::unique_ptr<MdbDatabase> holder;
    MdbDatabase& file = openFile(path, std::move(credentials), holder);
    const ObjectDirectory directory = ObjectDirectory::read(file, path);
    out.catalogue(buildCatalogue(file, directory));
    out.end(0);
}

void writeTable(const std::string& path, const std::string& name, Credentials credentials,
                FrameOutput& out) {
    std::unique_ptr<MdbDatabase> holder;
    MdbDatabase& file = openFile(path, std::move(credentials), holder);
    const ObjectDirectory directory = ObjectDirectory::read(file, path);
    const ObjectRow* object = directory.findTable(name);
    if (!object)
        throw reader_errors::tableNotFoundError(name, path);
    TableInfo info;
    if (!openTable(file, *object, info))
        throw reader_errors::tableDamagedError(name, path);
    TableDamage damage;
    const auto complex = loadComplexSummaries(file, directory, info, damage);
    // The complex tables moved libmdb's page cursor: open the table afresh.
    auto table = openTable(file, *object, info);
    if (!table)
        throw reader_errors::tableDamagedError(name, path);
    out.table(info);

    RowDecoder decoder(*table, info.columns);
    for (std::size_t i = 0; i < complex.size(); ++i)
        decoder.setComplexSummaries(i, complex[i].get());
    std::uint64_t rows = 0;
    try {
        while (table->nextRow()) {
            out.row(decoder.row());
            ++rows;
        }
    } catch (const LongValueTooLarge&) {
        throw EngineError(reader_errors::resourceExceeded,
                          "A value in the table '" + name + "' in '" + path +
                              "' is larger than Quarix can read (256 MB).");
    }
    // Rows and values that could not be read were left out; the caller
    // decides whether what was read is an answer.
    damage += table->damage();
    damage.values += decoder.damagedValues();
    out.end(rows, damage);
}

void writeAttachmentList(const std::string& path, const std::string& name, const std::string& field,
                         Credentials credentials, FrameOutput& out) {
    std::unique_ptr<MdbDatabase> holder;
    MdbDatabase& file = openFile(path, std::move(credentials), holder);
    const ObjectDirectory directory = ObjectDirectory::read(file, path);
    writeAttachments(file, directory, path, name, field, out);
}

// Everything standard input holds, up to a bound no password comes near.
Credentials credentialsFromInput() {
    Secret input = Secret::zeros(64 * 1024);
    std::size_t size = 0;
    while (size < input.size()) {
        const ssize_t n = ::read(STDIN_FILENO, input.data() + size, input.size() - size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        size += static_cast<std::size_t>(n);
    }
    return decodeCredentials(input.bytes().first(size));
}

int usage() {
    std::fputs("usage: quarix-reader [--memory-limit=BYTES] [--password-on-stdin] "
               "catalogue PATH | table PATH TABLE | attachments PATH TABLE FIELD\n",
               stderr);
    return 64;
}

} // namespace
} // namespace quarix::engine

int main(int argc, char** argv) {
    using namespace quarix::engine;
    // An empty entry in MDBPATH makes libmdb loop on a missing file.
    ::unsetenv("MDBPATH");
    std::vector<std::string> args(argv + 1, argv + argc);
    Credentials credentials;
    while (!args.empty() && args.front().starts_with("--")) {
        const std::string option = args.front();
        args.erase(args.begin());
        if (option.starts_with("--memory-limit=")) {
            const rlim_t limit = std::strtoull(option.c_str() + 15, nullptr, 10);
            const rlimit r{limit, limit};
            ::setrlimit(RLIMIT_AS, &r);
        } else if (option == "--password-on-stdin") {
            disableCoreDumps();
            credentials = credentialsFromInput();
        } else {
            return usage();
        }
    }
    const bool catalogue = args.size() == 2 && args[0] == "catalogue";
    const bool table = args.size() == 3 && args[0] == "table";
    const bool attachments = args.size() == 4 && args[0] == "attachments";
    if (!catalogue && !table && !attachments)
        return usage();

    FrameOutput out(STDOUT_FILENO);
    try {
        if (catalogue)
            writeCatalogue(args[1], std::move(credentials), out);
        else if (table)
            writeTable(args[1], args[2], std::move(credentials), out);
        else
            writeAttachmentList(args[1], args[2], args[3], std::move(credentials), out);
    } catch (const EngineError& e) {
        out.error(e.number(), e.description());
    } catch (const LongValueTooLarge&) {
        out.error(reader_errors::resourceExceeded,
                  "A value in '" + args[1] + "' is larger than Quarix can read (256 MB).");
    } catch (const std::bad_alloc&) {
        out.error(reader_errors::resourceExceeded,
                  "Quarix ran out of memory reading '" + args[1] + "'.");
    }
    return 0;
}
