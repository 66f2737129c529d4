#pragma once

#include "engine/StoredValue.h"
#include "engine/reader/Catalogue.h"
#include "engine/reader/LongValueReader.h"
#include "engine/reader/MdbDatabase.h"
#include "engine/reader/PropertyBlob.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace quarix::engine {

ColumnType columnTypeFromAccessCode(int code);

// The columns of a table as Quarix shows them; calculated columns take the
// type of their result.
std::vector<ColumnInfo>
describeColumns(const MdbTable& table,
                const std::map<std::string, CalculatedColumnProperties>& calculated);

// Summary text of each key of one attachment or multi-value column.
using ComplexSummaries = std::unordered_map<std::int32_t, std::string>;

// Turns the fields of the current row into storage-form values. Views in
// the values stay valid until the next row.
class RowDecoder {
public:
    RowDecoder(MdbTable& table, const std::vector<ColumnInfo>& columns);

    void setComplexSummaries(std::size_t column, const ComplexSummaries* summaries);
    StoredValue value(std::size_t column);
    std::span<const StoredValue> row();
    std::uint64_t damagedValues() const { return damaged_; }

private:
    StoredValue decode(std::size_t column, ColumnType type, std::string_view bytes);
    StoredValue decodeCalculated(std::size_t column, std::string_view bytes);
    StoredValue text(std::size_t column, std::string_view raw);
    StoredValue damaged();

    MdbTable& table_;
    std::vector<ColumnInfo> columns_;
    std::vector<const ComplexSummaries*> complex_;
    std::vector<std::string> scratch_;
    std::vector<StoredValue> values_;
    LongValueReader longValues_;
    std::string longValue_;
    std::uint64_t damaged_ = 0;
};

} // namespace quarix::engine
