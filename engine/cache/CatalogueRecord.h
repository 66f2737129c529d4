#pragma once

#include "engine/cache/SourceStamp.h"
#include "engine/reader/Catalogue.h"

#include <sqlite3.h>

#include <optional>
#include <string>

namespace quarix::engine {

// An Access file's catalogue kept in its cache file's meta table with the
// stamp of the version it was read from: opening the file again takes it
// from there instead of starting the reader, while the file still has
// that stamp.
struct RecordedCatalogue {
    Catalogue catalogue;
    std::string fileState; // of the stamp it was read with
    std::string digest;

    // Whether it was read from the file as stamp finds it.
    bool describes(const SourceStamp& stamp) const {
        return fileState == stamp.fileState() && digest == stamp.digestText();
    }
};

// The catalogue recorded in db; nothing when there is none, or it is of
// another layout or does not decode.
std::optional<RecordedCatalogue> recordedCatalogue(sqlite3* db);
void recordCatalogue(sqlite3* db, const Catalogue& catalogue, const SourceStamp& stamp);
void forgetCatalogue(sqlite3* db);

} // namespace quarix::engine
