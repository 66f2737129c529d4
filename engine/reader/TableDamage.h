#pragma once

#include <cstdint>
#include <string>

namespace quarix::engine {

// What a read of a table met and could not read. All zero for a sound table.
struct TableDamage {
    std::uint64_t rows = 0;   // rows whose place or layout on their page is damaged
    std::uint64_t pages = 0;  // pages the table lists that do not hold its rows as they should
    std::uint64_t values = 0; // values that could not be decoded, left out as Null

    bool any() const { return rows != 0 || pages != 0 || values != 0; }
    TableDamage& operator+=(const TableDamage& other) {
        rows += other.rows;
        pages += other.pages;
        values += other.values;
        return *this;
    }
    bool operator==(const TableDamage&) const = default;
};

// "The table 'Orders' in '/data/shop.mdb' is damaged: 1 page of rows and 2
// values could not be read (980 of the 1000 rows its definition counts were
// read)." rowsRead and rowsCounted are the rows read and the rows the
// table's definition claims; the second part is left out when it says
// nothing.
std::string damageDescription(const std::string& table, const std::string& path,
                              const TableDamage& damage, std::uint64_t rowsRead,
                              std::uint64_t rowsCounted);

} // namespace quarix::engine
