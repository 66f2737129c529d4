#pragma once

#include "engine/reader/MdbDatabase.h"
#include "engine/reader/ObjectDirectory.h"
#include "engine/reader/RowDecoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine {

// One row of MSysComplexColumns: a complex column of a table and the hidden
// flat table that holds its values.
struct ComplexColumnRow {
    std::string columnName;
    std::int32_t conceptualTableId = 0;
    std::int32_t flatTableId = 0;
    std::int32_t typeTableId = 0; // MSysComplexType_*: the columns a value has
};

// Every row of MSysComplexColumns that could be read; what could not is
// added to damage.
std::vector<ComplexColumnRow>
readComplexColumns(MdbDatabase& file, const ObjectDirectory& directory, TableDamage& damage);

// Where the values of one complex column of a table are: the flat table
// and its column that holds the key the table's row stores. That column
// keeps the name the complex column was created with, so it is found as
// the flat table's one column that is neither a column of the value type
// nor the flat table's own autonumber.
struct ComplexLink {
    const ObjectRow* flatTable = nullptr;
    std::string keyColumn;
};
std::optional<ComplexLink> findComplexLink(MdbDatabase& file, const ObjectDirectory& directory,
                                           const std::vector<ComplexColumnRow>& complexColumns,
                                           const TableInfo& table, std::size_t column);

// For each attachment or multi-value column of the table (by column index,
// empty for others), the summary text of every key: attachment file names
// or the values, joined by "; ". A column whose hidden table cannot be
// found or read has none, and its values are damaged; what cannot be read
// of the hidden tables is added to damage as values of the table (and as
// pages, for lost pages).
std::vector<std::unique_ptr<ComplexSummaries>>
loadComplexSummaries(MdbDatabase& file, const ObjectDirectory& directory, const TableInfo& table,
                     TableDamage& damage);

// The index of the column with that name, if any.
std::optional<std::size_t> columnIndexOf(const std::vector<ColumnInfo>& columns,
                                         const std::string& name);

} // namespace quarix::engine
