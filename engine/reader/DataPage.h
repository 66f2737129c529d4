#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quarix::engine {

// The row table of one data page, checked before any row on it is trusted.
// Access stores rows from the end of the page downwards; after the header
// it records how many there are and where each starts, and at offset 2 the
// free gap between that table and the lowest row. Access keeps all of this
// consistent, so a row table that does not hold together with its page was
// damaged, and the rows it would give could be anything.
class DataPage {
public:
    static constexpr std::uint32_t longValueOwner = 0x4c41564c; // "LVAL"

    // Nothing unless the bytes are a data page whose row table holds together.
    static std::optional<DataPage> read(std::string_view page, unsigned rowCountOffset);

    // The definition page of the table the rows belong to, or longValueOwner.
    std::uint32_t owner() const;
    unsigned rowCount() const { return rows_; }

    struct Row {
        std::string_view bytes;
        unsigned start = 0; // offset in the page
        // False for a deleted row, and for the place a row moved away from
        // (the moved row itself is read where it now lives).
        bool live = false;
    };
    // The row at index < rowCount().
    Row row(unsigned index) const;

private:
    DataPage(std::string_view page, unsigned rowCountOffset, unsigned rows)
        : page_(page), rowCountOffset_(rowCountOffset), rows_(rows) {}
    unsigned entry(unsigned index) const;

    std::string_view page_;
    unsigned rowCountOffset_;
    unsigned rows_;
};

} // namespace quarix::engine
