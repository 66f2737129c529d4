#pragma once

#include "engine/reader/AccessFileReader.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quarix::test {

// Keeps every row a read delivers, as owned copies.
class CollectingSink : public engine::RowSink {
public:
    struct Value {
        engine::StoredValue::Kind kind = engine::StoredValue::Kind::Null;
        std::int64_t integer = 0;
        double real = 0;
        std::string bytes;
        std::string display;
        // Equal when the kind, the integer, the bytes and the display text
        // are (a real is compared through its display text).
        bool operator==(const Value& o) const {
            return kind == o.kind && integer == o.integer && bytes == o.bytes &&
                   display == o.display;
        }
        friend void PrintTo(const Value& v, std::ostream* out) { *out << '"' << v.display << '"'; }
    };

    void begin(const engine::TableInfo& table) override {
        table_ = table;
        ++begun_;
    }
    void row(std::span<const engine::StoredValue> values) override {
        std::vector<Value> row;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const engine::StoredValue& v = values[i];
            row.push_back({v.kind, v.integer, v.real, std::string(v.bytes),
                           engine::displayText(table_.columns.at(i).type, v)});
        }
        rows_.push_back(std::move(row));
    }

    const engine::TableInfo& table() const { return table_; }
    const std::vector<std::vector<Value>>& rows() const { return rows_; }
    int begun() const { return begun_; }

    std::optional<std::size_t> column(const std::string& name) const {
        for (std::size_t i = 0; i < table_.columns.size(); ++i)
            if (table_.columns[i].name == name)
                return i;
        return std::nullopt;
    }

private:
    engine::TableInfo table_;
    std::vector<std::vector<Value>> rows_;
    int begun_ = 0;
};

} // namespace quarix::test
