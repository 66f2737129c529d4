#include "engine/reader/ComplexColumns.h"

#include <set>

namespace quarix::engine {
namespace {

// A hidden table's lost rows and values are values of the table that uses it.
void addDamage(TableDamage& damage, const MdbTable& table, const RowDecoder& decoder) {
    damage.pages += table.damage().pages;
    damage.values += table.damage().rows + decoder.damagedValues();
}

std::unique_ptr<ComplexSummaries> summarise(MdbDatabase& file, const ComplexLink& link,
                                            TableDamage& damage) {
    TableInfo info;
    std::unique_ptr<MdbTable> table = openTable(file, *link.flatTable, info);
    if (!table)
        return nullptr;
    const auto key = columnIndexOf(info.columns, link.keyColumn);
    if (!key)
        return nullptr;
    // The value: FileName for attachments, else the one column left.
    std::optional<std::size_t> value = columnIndexOf(info.columns, "FileName");
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

// Access names ignore case: the type table's "Value" is the flat table's "value".
std::string folded(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

std::set<std::string> columnNamesOf(MdbDatabase& file, const ObjectRow* object) {
    std::set<std::string> names;
    TableInfo info;
    if (object && openTable(file, *object, info))
        for (const ColumnInfo& column : info.columns)
            names.insert(folded(column.name));
    return names;
}

} // namespace

std::optional<std::size_t> columnIndexOf(const std::vector<ColumnInfo>& columns,
                                         const std::string& name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name)
            return i;
    return std::nullopt;
}

std::vector<ComplexColumnRow>
readComplexColumns(MdbDatabase& file, const ObjectDirectory& directory, TableDamage& damage) {
    std::vector<ComplexColumnRow> rows;
    const ObjectRow* object = directory.findTable("MSysComplexColumns");
    TableInfo info;
    std::unique_ptr<MdbTable> table = object ? openTable(file, *object, info) : nullptr;
    if (!table)
        return rows;
    const auto name = columnIndexOf(info.columns, "ColumnName");
    const auto conceptual = columnIndexOf(info.columns, "ConceptualTableID");
    const auto flat = columnIndexOf(info.columns, "FlatTableID");
    const auto type = columnIndexOf(info.columns, "ComplexTypeObjectID");
    if (!name || !conceptual || !flat)
        return rows;
    RowDecoder decoder(*table, info.columns);
    while (table->nextRow()) {
        const StoredValue n = decoder.value(*name);
        const StoredValue c = decoder.value(*conceptual);
        const StoredValue f = decoder.value(*flat);
        const StoredValue t = type ? decoder.value(*type) : StoredValue::null();
        if (n.kind == StoredValue::Kind::Text && c.kind == StoredValue::Kind::Integer &&
            f.kind == StoredValue::Kind::Integer)
            rows.push_back(
                {std::string(n.bytes), static_cast<std::int32_t>(c.integer),
                 static_cast<std::int32_t>(f.integer),
                 t.kind == StoredValue::Kind::Integer ? static_cast<std::int32_t>(t.integer) : 0});
    }
    addDamage(damage, *table, decoder);
    return rows;
}

std::optional<ComplexLink> findComplexLink(MdbDatabase& file, const ObjectDirectory& directory,
                                           const std::vector<ComplexColumnRow>& complexColumns,
                                           const TableInfo& table, std::size_t column) {
    const std::string& name = table.columns[column].name;
    for (const ComplexColumnRow& row : complexColumns) {
        if (row.columnName != name || row.conceptualTableId != table.id)
            continue;
        ComplexLink link;
        link.flatTable = directory.findById(row.flatTableId);
        TableInfo flat;
        if (!link.flatTable || !openTable(file, *link.flatTable, flat))
            return std::nullopt;
        const std::set<std::string> valueColumns =
            columnNamesOf(file, directory.findById(row.typeTableId));
        for (const ColumnInfo& c : flat.columns)
            if (!c.autoNumber && !valueColumns.contains(folded(c.name)) &&
                (c.type == ColumnType::Long || c.type == ColumnType::Integer))
                link.keyColumn = c.name;
        // Without its value type the flat table names the key as it was made.
        if (valueColumns.empty() || link.keyColumn.empty())
            link.keyColumn = "_" + name;
        return link;
    }
    return std::nullopt;
}

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
        if (const auto link = findComplexLink(file, directory, complexColumns, table, i))
            result[i] = summarise(file, *link, damage);
    }
    return result;
}

} // namespace quarix::engine
