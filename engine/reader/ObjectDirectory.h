#pragma once

#include "engine/reader/Catalogue.h"
#include "engine/reader/MdbDatabase.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarix::engine {

// One row of MSysObjects.
struct ObjectRow {
    std::int32_t id = 0;
    std::string name;
    std::int32_t type = 0;
    std::int32_t flags = 0;
    std::string properties; // LvProp
    std::string database;   // a linked table's file, as Access stored it
    std::string connect;    // a linked table's connect string
    std::string foreignName;
};

// MSysObjects read as a plain table (libmdb's own catalogue parser hangs on
// some damaged property records).
class ObjectDirectory {
public:
    // Throws EngineError when MSysObjects cannot be read whole.
    static ObjectDirectory read(MdbDatabase& file, const std::string& path);

    const std::vector<ObjectRow>& rows() const { return rows_; }
    const ObjectRow* findTable(const std::string& name) const;
    const ObjectRow* findById(std::int32_t id) const;
    // The pages it was read from: its definition page, then its data pages.
    const std::vector<std::uint32_t>& pages() const { return pages_; }

private:
    std::vector<ObjectRow> rows_;
    std::vector<std::uint32_t> pages_;
};

constexpr std::int32_t localTableType = 1;
constexpr std::uint32_t definitionPageOf(std::int32_t id) {
    return static_cast<std::uint32_t>(id) & 0xffffffu;
}

bool isSystemObject(const std::string& name, std::int32_t flags);

// Opens a table and describes it, calculated columns included; nothing when
// its definition cannot be read.
std::unique_ptr<MdbTable> openTable(MdbDatabase& file, const ObjectRow& object, TableInfo& info);

// Everything the file holds, in file order.
Catalogue buildCatalogue(MdbDatabase& file, const ObjectDirectory& directory);

} // namespace quarix::engine
