#include "engine/reader/ObjectDirectory.h"

#include "engine/reader/ConnectString.h"
#include "engine/reader/PropertyBlob.h"
#include "engine/reader/ReaderErrors.h"
#include "engine/reader/RowDecoder.h"

#include <optional>

namespace quarix::engine {
namespace {

constexpr std::uint32_t objectsTablePage = 2;
constexpr std::int32_t queryType = 5;
constexpr std::int32_t odbcLinkedTableType = 4;
constexpr std::int32_t linkedTableType = 6;
constexpr std::int32_t formType = -32768;
constexpr std::int32_t reportType = -32764;
constexpr std::int32_t macroType = -32766;
constexpr std::int32_t moduleType = -32761;
constexpr std::uint32_t systemFlags = 0x80000002u;
constexpr std::uint32_t hiddenFlag = 0x8u;

std::optional<std::size_t> columnIndex(const MdbTable& table, const char* name) {
    for (std::size_t i = 0; i < table.columnCount(); ++i)
        if (std::string_view(table.column(i).name) == name)
            return i;
    return std::nullopt;
}

std::int32_t integerOf(const StoredValue& v) {
    return v.kind == StoredValue::Kind::Integer ? static_cast<std::int32_t>(v.integer) : 0;
}

std::string textOf(RowDecoder& decoder, std::optional<std::size_t> column) {
    if (!column)
        return {};
    const StoredValue v = decoder.value(*column);
    return v.kind == StoredValue::Kind::Text ? std::string(v.bytes) : std::string();
}

// A linked table as the catalogue lists it: its columns are in its file.
TableInfo linkedTable(const ObjectRow& row) {
    TableInfo info;
    info.name = row.name;
    info.id = row.id;
    info.flags = row.flags;
    info.system = isSystemObject(row.name, row.flags);
    if (row.type == linkedTableType)
        info.link = {LinkKind::AccessFile, row.database, row.foreignName, {}};
    else
        info.link = {LinkKind::Odbc, {}, row.foreignName, withoutPassword(row.connect)};
    return info;
}

QueryKind queryKind(std::int32_t flags) {
    switch (flags & 0xf0) {
    case 0x00:
        return QueryKind::Select;
    case 0x10:
        return QueryKind::Crosstab;
    case 0x20:
        return QueryKind::Delete;
    case 0x30:
        return QueryKind::Update;
    case 0x40:
        return QueryKind::Append;
    case 0x50:
        return QueryKind::MakeTable;
    case 0x60:
        return QueryKind::DataDefinition;
    case 0x70:
        return QueryKind::PassThrough;
    case 0x80:
        return QueryKind::Union;
    default:
        return QueryKind::Unknown;
    }
}

} // namespace

bool isSystemObject(const std::string& name, std::int32_t flags) {
    const auto f = static_cast<std::uint32_t>(flags);
    // Some system tables carry no flags (MSysCompactError): the name tells.
    return (f & systemFlags) != 0 || (f & hiddenFlag) != 0 || name.starts_with("MSys");
}

ObjectDirectory ObjectDirectory::read(MdbDatabase& file, const std::string& path) {
    auto table = MdbTable::open(file, "MSysObjects", objectsTablePage);
    if (!table)
        throw reader_errors::unrecognizedFormatError(path);
    const auto id = columnIndex(*table, "Id");
    const auto name = columnIndex(*table, "Name");
    const auto type = columnIndex(*table, "Type");
    const auto flags = columnIndex(*table, "Flags");
    const auto properties = columnIndex(*table, "LvProp");
    const auto database = columnIndex(*table, "Database");
    const auto connect = columnIndex(*table, "Connect");
    const auto foreignName = columnIndex(*table, "ForeignName");
    if (!id || !name || !type || !flags)
        throw reader_errors::unrecognizedFormatError(path);

    RowDecoder decoder(*table, describeColumns(*table, {}));
    ObjectDirectory directory;
    while (table->nextRow()) {
        ObjectRow row;
        row.id = integerOf(decoder.value(*id));
        const StoredValue n = decoder.value(*name);
        if (n.kind != StoredValue::Kind::Text || n.bytes.empty())
            continue;
        row.name = std::string(n.bytes);
        row.type = integerOf(decoder.value(*type));
        row.flags = integerOf(decoder.value(*flags));
        if (properties) {
            const StoredValue p = decoder.value(*properties);
            if (p.kind == StoredValue::Kind::Blob)
                row.properties = std::string(p.bytes);
        }
        row.database = textOf(decoder, database);
        row.connect = textOf(decoder, connect);
        row.foreignName = textOf(decoder, foreignName);
        directory.rows_.push_back(std::move(row));
    }
    // A row missing from the list would be an object missing from the file.
    TableDamage damage = table->damage();
    damage.values += decoder.damagedValues();
    if (damage.any())
        throw EngineError(reader_errors::tableDamaged,
                          damageDescription("MSysObjects", path, damage, directory.rows_.size(),
                                            table->rowEstimate()));
    directory.pages_.push_back(objectsTablePage);
    directory.pages_.insert(directory.pages_.end(), table->pages().begin(), table->pages().end());
    return directory;
}

const ObjectRow* ObjectDirectory::findTable(const std::string& name) const {
    for (const ObjectRow& row : rows_)
        if (row.type == localTableType && row.name == name)
            return &row;
    return nullptr;
}

const ObjectRow* ObjectDirectory::findById(std::int32_t id) const {
    for (const ObjectRow& row : rows_)
        if (row.id == id)
            return &row;
    return nullptr;
}

std::unique_ptr<MdbTable> openTable(MdbDatabase& file, const ObjectRow& object, TableInfo& info) {
    info.name = object.name;
    info.id = object.id;
    info.flags = object.flags;
    info.system = isSystemObject(object.name, object.flags);
    auto table = MdbTable::open(file, object.name, definitionPageOf(object.id));
    if (!table)
        return nullptr;
    info.rowEstimate = table->rowEstimate();
    info.columns = describeColumns(*table, parseCalculatedColumns(object.properties));
    return table;
}

Catalogue buildCatalogue(MdbDatabase& file, const ObjectDirectory& directory) {
    Catalogue catalogue;
    catalogue.format = file.header().format;
    catalogue.pages = directory.pages();
    for (const ObjectRow& row : directory.rows()) {
        switch (row.type) {
        case localTableType: {
            // A table whose definition cannot be read is still listed: reading
            // it then reports the damage.
            TableInfo info;
            openTable(file, row, info);
            catalogue.tables.push_back(std::move(info));
            break;
        }
        case queryType:
            catalogue.queries.push_back({row.name, row.id, row.flags, queryKind(row.flags)});
            break;
        case formType:
            catalogue.forms.push_back({row.name, row.type, row.flags});
            break;
        case reportType:
            catalogue.reports.push_back({row.name, row.type, row.flags});
            break;
        case odbcLinkedTableType:
        case linkedTableType:
            catalogue.tables.push_back(linkedTable(row));
            break;
        case macroType:
        case moduleType:
            catalogue.others.push_back({row.name, row.type, row.flags});
            break;
        default:
            break;
        }
    }
    return catalogue;
}

} // namespace quarix::engine
