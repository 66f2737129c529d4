#pragma once

#include "engine/ColumnType.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quarix::engine {

// A value in the form the cache stores it. The storage form of each type:
//   Boolean            Integer, -1 (True) or 0 (False), never Null
//   Byte/Integer/Long  Integer
//   BigInt             Integer, all 64 bits
//   Currency           Integer, the amount times 10,000 (exact)
//   Single/Double      Real
//   DateTime           Real, days since 1899-12-30 (Access's own serial)
//   Text/Memo          Text, UTF-8
//   Binary/OLE         Blob
//   Guid               Text, "{8-4-4-4-12}" upper case
//   Decimal            Text, exact plain decimal ("-12.3400" keeps the scale)
//   Complex            Text, a readable summary ("a.png; b.txt")
//   DateTimeExtended   Text, "yyyy-MM-dd HH:mm:ss.fffffff"
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
