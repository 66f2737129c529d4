#pragma once

#include "engine/ColumnType.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarix::engine {

enum class FileFormat { Jet3, Jet4, Ace };

struct ColumnInfo {
    std::string name;
    ColumnType type = ColumnType::Unknown;
    int size = 0;      // bytes, as stored
    int precision = 0; // Decimal only
    int scale = 0;     // Decimal only
    bool autoNumber = false;
    bool calculated = false; // ACE calculated column (value decoded from its result type)
};

// Where a linked table's rows are.
enum class LinkKind : std::uint8_t {
    None,       // a table of this file
    AccessFile, // a table of another Access file
    Odbc        // a table of an ODBC data source
};

struct TableLink {
    LinkKind kind = LinkKind::None;
    std::string database;    // the Access file's path as Access stored it
    std::string foreignName; // the table's name there
    std::string connect;     // an ODBC source's connect string, its password blanked
};

struct TableInfo {
    std::string name;
    std::int32_t id = 0;             // MSysObjects.Id
    std::int32_t flags = 0;          // MSysObjects.Flags
    bool system = false;             // system or hidden object by its flags
    std::uint32_t rowEstimate = 0;   // from the table definition; for progress only
    std::vector<ColumnInfo> columns; // none for a linked table: they are in its file
    TableLink link;
};

// The hidden tables that hold the values of attachment and multi-value
// columns (f_<GUID>_<column>): system-flagged, yet not named MSys. Access
// keeps them out of its table definitions; the reader still needs them.
inline bool holdsComplexValues(const TableInfo& table) {
    return (static_cast<std::uint32_t>(table.flags) & 0x80000000u) != 0 &&
           table.name.rfind("MSys", 0) != 0;
}

// The kind of a saved query, from MSysObjects.Flags & 0xF0.
enum class QueryKind {
    Select,
    Crosstab,
    Delete,
    Update,
    Append,
    MakeTable,
    DataDefinition,
    PassThrough,
    Union,
    Unknown
};

struct QueryInfo {
    std::string name;
    std::int32_t id = 0;
    std::int32_t flags = 0;
    QueryKind kind = QueryKind::Select;
};

// Any other object (forms, reports, macros, modules).
struct ObjectInfo {
    std::string name;
    std::int32_t type = 0; // MSysObjects.Type, signed
    std::int32_t flags = 0;
};

// What a file holds, in the file's own order.
struct Catalogue {
    FileFormat format = FileFormat::Jet4;
    std::vector<TableInfo> tables;  // user and system tables (columns filled)
    std::vector<QueryInfo> queries; // every saved query, ~sq_ ones included
    std::vector<ObjectInfo> forms;
    std::vector<ObjectInfo> reports;
    std::vector<ObjectInfo> others;
    // Where the list of objects is kept: its definition page and data pages.
    std::vector<std::uint32_t> pages;
};

} // namespace quarix::engine
