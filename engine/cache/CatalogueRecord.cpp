#include "engine/cache/CatalogueRecord.h"

#include "engine/cache/SqliteHelpers.h"
#include "engine/reader/WireFormat.h"

#include <string>

namespace quarix::engine {

namespace {

// Named after its layout: a catalogue of another layout is not found.
std::string recordKey() {
    return "catalogue." + std::to_string(wire::catalogueLayout);
}

} // namespace

std::optional<RecordedCatalogue> recordedCatalogue(sqlite3* db) {
    Statement query(db, "SELECT value FROM quarix_meta WHERE key = ?");
    const std::string key = recordKey();
    sqlite3_bind_text(query.get(), 1, key.c_str(), -1, SQLITE_TRANSIENT);
    if (!query.step() || sqlite3_column_type(query.get(), 0) != SQLITE_BLOB)
        return std::nullopt;
    const std::string_view bytes(static_cast<const char*>(sqlite3_column_blob(query.get(), 0)),
                                 static_cast<std::size_t>(sqlite3_column_bytes(query.get(), 0)));
    try {
        wire::ByteReader in(bytes);
        RecordedCatalogue record;
        record.fileState = in.text();
        record.digest = in.text();
        record.catalogue = wire::readCatalogue(in);
        if (!in.atEnd())
            return std::nullopt;
        return record;
    } catch (const wire::MalformedFrame&) {
        return std::nullopt;
    }
}

void recordCatalogue(sqlite3* db, const Catalogue& catalogue, const SourceStamp& stamp) {
    std::string bytes;
    wire::ByteWriter out(bytes);
    out.bytes(stamp.fileState());
    out.bytes(stamp.digestText());
    wire::writeCatalogue(out, catalogue);
    Statement put(db, "INSERT OR REPLACE INTO quarix_meta VALUES (?, ?)");
    const std::string key = recordKey();
    sqlite3_bind_text(put.get(), 1, key.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_blob(put.get(), 2, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
    put.step();
}

void forgetCatalogue(sqlite3* db) {
    execSql(db, "DELETE FROM quarix_meta WHERE key GLOB 'catalogue.*'");
}

} // namespace quarix::engine
