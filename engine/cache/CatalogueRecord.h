#pragma once

#include "engine/reader/Catalogue.h"

#include <sqlite3.h>

#include <optional>

namespace quarix::engine {

// An Access file's catalogue kept in its cache file's meta table, beside
// the stamp of the version it was read from: opening the file again takes
// it from there instead of starting the reader. The cache file's owner
// keeps it only while the stamp stays the same.

// The catalogue recorded in db; nothing when there is none, or it is of
// another layout or does not decode.
std::optional<Catalogue> recordedCatalogue(sqlite3* db);
void recordCatalogue(sqlite3* db, const Catalogue& catalogue);
void forgetCatalogue(sqlite3* db);

} // namespace quarix::engine
