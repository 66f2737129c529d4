#pragma once

#include "engine/reader/MdbDatabase.h"
#include "engine/reader/ObjectDirectory.h"
#include "engine/reader/RowDecoder.h"

#include <memory>
#include <vector>

namespace quarix::engine {

// Attachment and multi-value columns keep their values in a hidden flat
// table found through MSysComplexColumns. This reads those tables and gives,
// for each such column of the table (by column index, empty for others), the
// summary text of every key: attachment file names or the values, joined by
// "; ". A column whose hidden table cannot be found or read has none, and
// its values are damaged; what cannot be read of the hidden tables is added
// to damage as values of the table (and as pages, for lost pages).
std::vector<std::unique_ptr<ComplexSummaries>>
loadComplexSummaries(MdbDatabase& file, const ObjectDirectory& directory, const TableInfo& table,
                     TableDamage& damage);

} // namespace quarix::engine
