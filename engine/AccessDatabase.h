#pragma once

#include "engine/AttachmentFile.h"
#include "engine/cache/ResultSet.h"
#include "engine/crypto/Secret.h"
#include "engine/reader/AccessFileReader.h"
#include "engine/reader/Catalogue.h"
#include "engine/sql/Parameters.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine {

class CacheFile;
struct DatabaseState;

// One Access file as the engine serves it: its catalogue, its saved
// queries, and Access SQL answered from the cache. Opening is cheap after
// the first time: the catalogue and cached tables are kept while the file
// stays the same version (see SourceStamp); a read during which the file
// changed is read again, or fails with 3197.
//
// A locked file (see probeFileLock) is cached in memory only, never on
// disk. One that needs a password keeps the password it was opened with:
// opening it again needs none, until forget().
//
// A table with rows or values that cannot be read fails with 3343 naming
// them, unless ReadOptions::salvage: the result set then holds the rows
// that could be read, and its warnings() say what is missing, also when
// a later search is answered from the cache. A cache the disk cannot hold
// is kept in memory, with a warning in every result set. Cache and disk
// failures have their own numbers (3026 disk full, 3043 disk error, 3049
// damaged cache), as has a reader stopped by the system (3035).
class AccessDatabase {
public:
    // 3024 when the path names no file, 3343 when it is not an Access file
    // or is encrypted in a way Quarix cannot read, 3031 "Not a valid
    // password." when it needs a password and the one given (or kept from
    // an earlier open) is missing or wrong. A password given for a file
    // without one is ignored.
    static std::shared_ptr<AccessDatabase> open(const std::string& path,
                                                const Secret& password = {});

    // Closes the file for the whole process: its kept password is wiped at
    // once (reads through databases still held then fail with 3031) and its
    // cache goes with the last of them.
    static void forget(const std::string& path);

    // Cache settings for the whole process.
    static void setCacheEnabled(bool enabled);
    static void setCacheLimitBytes(std::uint64_t bytes);

    const std::string& path() const;
    const Catalogue& catalogue() const;

    // The Access SQL of a saved query, rebuilt from the file.
    std::string savedQuerySql(const std::string& name) const;

    // Runs an Access SQL statement, or opens a table or query by name.
    // Parameters take their values from answers (bound, never put in the
    // SQL text); 3061 "Too few parameters. Expected N." when some have no
    // answer, 3421 when an answer does not convert to its declared type.
    std::shared_ptr<ResultSet> execute(const std::string& statementOrName,
                                       const ReadOptions& options = {},
                                       const sql::ParameterAnswers& answers = {}) const;

    // A table linked to another Access file reads from that file (see
    // linkedFilePath; 3044 when it is not there); one linked to an ODBC
    // source fails with 3151 naming the source without its password.

    // The rows of a table or query that meet an Access criterion.
    std::shared_ptr<ResultSet> filter(const std::string& sourceName, const std::string& criterion,
                                      const ReadOptions& options = {},
                                      const sql::ParameterAnswers& answers = {}) const;

    // The parameters a statement, table or saved query asks for before it
    // runs: those it declares first, in their order and with their types,
    // then the names that are no fields, in order of appearance, with those
    // of the saved queries it reads. Empty for a table.
    std::vector<sql::QueryParameter> parameters(const std::string& statementOrName,
                                                const ReadOptions& options = {}) const;

    // The columns of a table or saved query, without running it; 3343 for a
    // table whose definition cannot be read.
    std::vector<sql::ResultColumn> columns(const std::string& sourceName,
                                           const ReadOptions& options = {}) const;

    // The positions (from 1, in the file's order) of a table's rows that
    // meet an Access criterion, ascending.
    std::vector<std::int64_t> matchingRows(const std::string& table, const std::string& criterion,
                                           const ReadOptions& options = {}) const;

    // Hands each file of an attachment field to onFile, in the order the
    // file keeps them: of every row, or of the rows that meet the criterion
    // when one is given. 3265 for a field the table lacks, 3000 for one
    // without attachments; damaged files fail with 3343 unless salvage,
    // when they come without bytes.
    void attachments(const std::string& table, const std::string& field,
                     const std::string& criterion,
                     const std::function<void(const AttachmentFile&)>& onFile,
                     const ReadOptions& options = {}) const;

    // Searches remember the indexes of the cache that would make them
    // faster next time; buildIndexes() builds them (stopped by the options'
    // cancel flag, leaving the rest for later). Answers are the same with or
    // without them.
    bool wantsIndexes() const;
    void buildIndexes(const ReadOptions& options = {}) const;

    // The first limit distinct texts of a Text or Memo field of a table in
    // ascending order, without Null and empty texts, read in one pass that
    // stops keeping texts past the limit (see firstDistinctTexts); nullopt
    // for a field that is not one of those, or for a saved query.
    struct Texts {
        std::vector<std::string> values;
        std::vector<std::string> warnings; // what a salvaged read lacks
    };
    std::optional<Texts> firstDistinctTexts(const std::string& table, const std::string& field,
                                            std::size_t limit,
                                            const ReadOptions& options = {}) const;

    // True when the text names a table or saved query of this file.
    bool isSourceName(const std::string& text) const;

    explicit AccessDatabase(std::shared_ptr<DatabaseState> state);

private:
    friend struct DatabaseState; // a linked table reads through its file's state

    std::shared_ptr<DatabaseState> state_;
};

} // namespace quarix::engine
