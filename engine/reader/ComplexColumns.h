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
// "; ".
std::vector<std::unique_ptr<ComplexSummaries>>
loadComplexSummaries(MdbDatabase& file, const ObjectDirectory& directory, const TableInfo& table);

} // namespace quarix::engine
