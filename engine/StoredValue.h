#pragma once

#include "engine/ColumnType.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quarix::engine {

// A value in the form the cache stores it; each type's form is its Storage
// (ColumnType.h).
struct StoredValue {
    enum class Kind { Null, Integer, Real, Text, Blob };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0.0;
    std::string_view bytes; // Text or Blob; valid until the next row

    static StoredValue null() { return {}; }
    static StoredValue ofInteger(std::int64_t v) { return {Kind::Integer, v, 0.0, {}}; }
    static StoredValue ofReal(double v) { return {Kind::Real, 0, v, {}}; }
    static StoredValue ofText(std::string_view v) { return {Kind::Text, 0, 0.0, v}; }
    static StoredValue ofBlob(std::string_view v) { return {Kind::Blob, 0, 0.0, v}; }
    bool isNull() const { return kind == Kind::Null; }
};

// The text a user sees for a value: the fixtures' CSV conventions
// (dates "yyyy-MM-dd HH:mm:ss", booleans True/False, exact plain decimals,
// binary in upper-case hex, GUIDs in braces). Null gives "".
std::string displayText(ColumnType type, const StoredValue& value);

} // namespace quarix::engine
