#pragma once

#include "engine/queries/QueryRows.h"
#include "engine/queries/SavedQuery.h"
#include "engine/reader/AccessFileReader.h"
#include "engine/reader/Catalogue.h"

#include <string>
#include <vector>

namespace quarix::engine {

// Every saved query of the catalogue (hidden ones included), in catalogue
// order, with its SQL rebuilt from the MSysQueries rows whose ObjectId is
// the query's full signed Id. A query whose rows are missing or make no
// sense comes back with an empty sql and the reason in error.
std::vector<SavedQuery> rebuildSavedQueries(const Catalogue& catalogue,
                                            const std::vector<MSysQueryRow>& rows);

// Reads every row of the file's MSysQueries table through the reader.
// Empty when the file has no such table. Throws EngineError when the file
// cannot be read or the table lacks the columns that identify a row.
std::vector<MSysQueryRow> readMSysQueries(const std::string& path, const Catalogue& catalogue,
                                          const ReadOptions& options = {});

} // namespace quarix::engine
