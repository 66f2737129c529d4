#include "engine/reader/ComplexColumns.h"

#include <optional>

namespace quarix::engine {
namespace {

struct ComplexColumnRow {
    std::string columnName;
    std::int32_t conceptualTableId = 0;
    std::int32_t flatTableId = 0;
};

std::optional<std::size_t> indexOf(const std::vector<ColumnInfo>& columns,
                                   const std::string& name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name)
            return i;
    return std::nullopt;
}

// A hidden table's lost rows and values are values of the table that uses it.
void addDamage(TableDamage& damage, const MdbTable& table, const RowDecoder& decoder) {
    damage.pages += table.damage().pages;
    damage.values += table.damage().rows + decoder.damagedValues();
}

std::vector<ComplexColumnRow>
readComplexColumns(MdbDatabase& file, const ObjectDirectory& directory, TableDamage& damage) {
    std::vector<ComplexColumnRow> rows;
    const ObjectRow* object = directory.findTable("MSysComplexColumns");
    TableInfo info;
    std::unique_ptr<MdbTable> table = object ? openTable(file, *object, info) : nullptr;
    if (!table)
        return rows;
    const auto name = indexOf(info.columns, "ColumnName");
    const auto conceptual = indexOf(info.columns, "ConceptualTableID");
    const auto flat = indexOf(info.columns, "FlatTableID");
    if (!name || !conceptual || !flat)
        return rows;
    RowDecoder decoder(*table, info.columns);
    while (table->nextRow()) {
        const StoredValue n = decoder.value(*name);
        const StoredValue c = decoder.value(*conceptual);
        const StoredValue f = decoder.value(*flat);
        if (n.kind == StoredValue::Kind::Text && c.kind == StoredValue::Kind::Integer &&
            f.kind == StoredValue::Kind::Integer)
            rows.push_back({std::string(n.bytes), static_cast<std::int32_t>(c.integer),
                            static_cast<std::int32_t>(f.integer)});
    }
    addDamage(damage, *table, decoder);
    return rows;
}

std::unique_ptr<ComplexSummaries> summarise(MdbDatabase& file, const ObjectRow& flatObject,
                                            const std::string& column, TableDamage& damage) {
    TableInfo info;
    std::unique_ptr<MdbTable> table = openTable(file, flatObject, info);
    if (!table)
        return nullptr;
    // The flat table links back through "_<column>"; its other columns hold
    // the value (FileName for attachments).
    const auto key = indexOf(info.columns, "_" + column);
    if (!key)
        return nullptr;
    std::optional<std::size_t> value = indexOf(info.columns, "FileName");
    for (std::size_t i = 0; !value && i < info.columns.size(); ++i)
        if (i != *key && !info.columns[i].autoNumber)
            value = i;
    if (!value)
        return nullptr;

    auto summaries = std::make_unique<ComplexSummaries>();
    RowDecoder decoder(*table, info.columns);
    while (table->nextRow()) {
        const StoredValue k = decoder.value(*key);
        const StoredValue v = decoder.value(*value);
        if (k.kind != StoredValue::Kind::Integer || v.isNull())
            continue;
        std::string& text = (*summaries)[static_cast<std::int32_t>(k.integer)];
        if (!text.empty())
            text += "; ";
        text += displayText(info.columns[*value].type, v);
    }
    addDamage(damage, *table, decoder);
    return summaries;
}

} // namespace

std::vector<std::unique_ptr<ComplexSummaries>>
loadComplexSummaries(MdbDatabase& file, const ObjectDirectory& directory, const TableInfo& table,
                     TableDamage& damage) {
    std::vector<std::unique_ptr<ComplexSummaries>> result(table.columns.size());
    std::vector<ComplexColumnRow> complexColumns;
    bool loaded = false;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (table.columns[i].type != ColumnType::Complex)
            continue;
        if (!loaded) {
            complexColumns = readComplexColumns(file, directory, damage);
            loaded = true;
        }
        for (const ComplexColumnRow& row : complexColumns) {
            if (row.columnName != table.columns[i].name || row.conceptualTableId != table.id)
                continue;
            if (const ObjectRow* flat = directory.findById(row.flatTableId))
                result[i] = summarise(file, *flat, row.columnName, damage);
            break;
        }
    }
    return result;
}

} // namespace quarix::engine
