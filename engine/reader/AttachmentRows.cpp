#include "engine/reader/AttachmentRows.h"

#include "engine/reader/AttachmentContent.h"
#include "engine/reader/ComplexColumns.h"
#include "engine/reader/ReaderErrors.h"

#include <array>
#include <cstring>
#include <unordered_map>

namespace quarix::engine {
namespace {

// The key each row of the table stores in the column, to the row's position.
std::unordered_map<std::int32_t, std::int64_t> rowsByKey(MdbTable& table, std::size_t column) {
    std::unordered_map<std::int32_t, std::int64_t> rows;
    std::int64_t position = 0;
    while (table.nextRow()) {
        ++position;
        const RawField& field = table.field(column);
        if (field.null || field.damaged || field.bytes.size() < sizeof(std::int32_t))
            continue;
        std::int32_t key = 0;
        std::memcpy(&key, field.bytes.data(), sizeof key);
        rows.emplace(key, position);
    }
    return rows;
}

TableInfo listInfo(const std::string& tableName) {
    TableInfo info;
    info.name = tableName;
    info.columns = {{"Row", ColumnType::Long},
                    {"FileName", ColumnType::Text},
                    {"FileType", ColumnType::Text},
                    {"FileData", ColumnType::Binary}};
    return info;
}

} // namespace

void writeAttachments(MdbDatabase& file, const ObjectDirectory& directory, const std::string& path,
                      const std::string& tableName, const std::string& field, FrameOutput& out) {
    const ObjectRow* object = directory.findTable(tableName);
    if (!object)
        throw reader_errors::tableNotFoundError(tableName, path);
    TableInfo info;
    auto table = openTable(file, *object, info);
    if (!table)
        throw reader_errors::tableDamagedError(tableName, path);
    const auto column = columnIndexOf(info.columns, field);
    if (!column)
        throw EngineError(3265, "Item not found in this collection.");
    const auto notAttachments = [&] {
        return EngineError(3000, "The field '" + field + "' of the table '" + tableName +
                                     "' holds no attachments.");
    };
    if (info.columns[*column].type != ColumnType::Complex)
        throw notAttachments();

    TableDamage damage;
    const auto complexColumns = readComplexColumns(file, directory, damage);
    const auto link = findComplexLink(file, directory, complexColumns, info, *column);
    if (!link)
        throw reader_errors::tableDamagedError(tableName, path);
    const auto rows = rowsByKey(*table, *column);
    damage += table->damage();

    TableInfo flatInfo;
    auto flat = openTable(file, *link->flatTable, flatInfo);
    if (!flat)
        throw reader_errors::tableDamagedError(tableName, path);
    const auto key = columnIndexOf(flatInfo.columns, link->keyColumn);
    const auto name = columnIndexOf(flatInfo.columns, "FileName");
    const auto type = columnIndexOf(flatInfo.columns, "FileType");
    const auto data = columnIndexOf(flatInfo.columns, "FileData");
    if (!name || !data)
        throw notAttachments();
    if (!key)
        throw reader_errors::tableDamagedError(tableName, path);

    out.table(listInfo(tableName));
    RowDecoder decoder(*flat, flatInfo.columns);
    std::uint64_t sent = 0;
    std::string bytes;
    while (flat->nextRow()) {
        const StoredValue k = decoder.value(*key);
        const auto row = k.kind == StoredValue::Kind::Integer
                             ? rows.find(static_cast<std::int32_t>(k.integer))
                             : rows.end();
        if (row == rows.end())
            continue;
        std::array<StoredValue, 4> values{StoredValue::ofInteger(row->second), decoder.value(*name),
                                          type ? decoder.value(*type) : StoredValue::null(),
                                          StoredValue::null()};
        const StoredValue stored = decoder.value(*data);
        if (!stored.isNull()) {
            if (auto decoded = attachmentFileBytes(stored.bytes)) {
                bytes = std::move(*decoded);
                values[3] = StoredValue::ofBlob(bytes);
            } else {
                ++damage.values;
            }
        }
        out.row(values);
        ++sent;
    }
    damage.pages += flat->damage().pages;
    damage.values += flat->damage().rows + decoder.damagedValues();
    out.end(sent, damage);
}

} // namespace quarix::engine
