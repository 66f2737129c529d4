#pragma once

#include "engine/queries/QueryRows.h"
#include "engine/queries/SavedQuery.h"

#include <string>
#include <vector>

namespace quarix::engine {

// Rebuilds the Access SQL of one saved query, in the one-line form of
// Access's SQL view, from its MSysQueries rows (in any order). The kind
// comes from the rows' type row; catalogueKind (MSysObjects.Flags) is the
// fallback when that row is missing. Never throws: rows that make no sense
// give an empty sql and the reason in error.
SavedQuery rebuildQuery(std::string name, QueryKind catalogueKind, std::vector<MSysQueryRow> rows);

} // namespace quarix::engine
