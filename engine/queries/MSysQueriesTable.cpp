#include "engine/EngineError.h"
#include "engine/queries/SavedQueries.h"
#include "engine/queries/SqlNames.h"
#include "engine/reader/AccessFileReader.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarix::engine {

namespace {

constexpr const char* TableName = "MSysQueries";

std::int64_t integerOf(const StoredValue& value, std::int64_t fallback) {
    switch (value.kind) {
    case StoredValue::Kind::Integer:
        return value.integer;
    case StoredValue::Kind::Real:
        return std::isfinite(value.real) && std::abs(value.real) < 1e15
                   ? static_cast<std::int64_t>(value.real)
                   : fallback;
    default:
        return fallback;
    }
}

int clampedInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// Order is a Binary column: a big-endian counter (four bytes in Access's files).
int orderOf(const StoredValue& value) {
    if (value.kind != StoredValue::Kind::Blob)
        return clampedInt(integerOf(value, 0));
    std::int64_t order = 0;
    for (const char byte : value.bytes.substr(0, std::min<std::size_t>(value.bytes.size(), 4)))
        order = (order << 8) | static_cast<unsigned char>(byte);
    return clampedInt(order);
}

std::optional<std::string> textOf(const StoredValue& value) {
    if (value.kind != StoredValue::Kind::Text)
        return std::nullopt;
    return std::string(value.bytes);
}

class QueryRowCollector : public RowSink {
public:
    explicit QueryRowCollector(std::vector<MSysQueryRow>& rows) : rows_(rows) {}

    void begin(const TableInfo& table) override {
        const auto indexOf = [&](const char* name) {
            const auto found = std::find_if(
                table.columns.begin(), table.columns.end(),
                [name](const ColumnInfo& column) { return sameName(column.name, name); });
            return found == table.columns.end() ? -1
                                                : static_cast<int>(found - table.columns.begin());
        };
        objectId_ = indexOf("ObjectId");
        attribute_ = indexOf("Attribute");
        order_ = indexOf("Order");
        name1_ = indexOf("Name1");
        name2_ = indexOf("Name2");
        expression_ = indexOf("Expression");
        flag_ = indexOf("Flag");
        extra_ = indexOf("LvExtra");
        if (objectId_ < 0 || attribute_ < 0)
            throw EngineError(3343, "The table MSysQueries has no ObjectId or Attribute column.");
    }

    void row(std::span<const StoredValue> values) override {
        const auto at = [&](int index) {
            return index >= 0 && static_cast<std::size_t>(index) < values.size()
                       ? values[index]
                       : StoredValue::null();
        };
        const auto objectId = at(objectId_);
        if (objectId.isNull())
            return; // belongs to no query
        MSysQueryRow row;
        row.objectId = static_cast<std::int32_t>(integerOf(objectId, 0));
        row.attribute = clampedInt(integerOf(at(attribute_), -1));
        row.order = orderOf(at(order_));
        row.name1 = textOf(at(name1_));
        row.name2 = textOf(at(name2_));
        row.expression = textOf(at(expression_));
        row.flag = clampedInt(integerOf(at(flag_), 0));
        row.extra = static_cast<std::int32_t>(clampedInt(integerOf(at(extra_), 0)));
        rows_.push_back(std::move(row));
    }

private:
    std::vector<MSysQueryRow>& rows_;
    int objectId_ = -1, attribute_ = -1, order_ = -1, name1_ = -1, name2_ = -1, expression_ = -1,
        flag_ = -1, extra_ = -1;
};

} // namespace

std::vector<MSysQueryRow> readMSysQueries(const std::string& path, const Catalogue& catalogue,
                                          const ReadOptions& options) {
    const auto table =
        std::find_if(catalogue.tables.begin(), catalogue.tables.end(),
                     [](const TableInfo& info) { return sameName(info.name, TableName); });
    if (table == catalogue.tables.end())
        return {};
    std::vector<MSysQueryRow> rows;
    QueryRowCollector collector(rows);
    AccessFileReader::readTable(path, table->name, collector, options);
    return rows;
}

} // namespace quarix::engine
