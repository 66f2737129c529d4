#pragma once

#include <string>

namespace quarix::engine {

// The Access data types, as the file stores them.
enum class ColumnType {
    Boolean, // Yes/No
    Byte,
    Integer,  // 16-bit
    Long,     // 32-bit
    Currency, // 64-bit fixed point, 4 decimals
    Single,
    Double,
    DateTime,
    Binary,
    Text,
    OLE,
    Memo,
    Guid,
    Decimal,          // Numeric with precision and scale
    Complex,          // attachment or multi-value column
    DateTimeExtended, // Access 2019+
    BigInt,           // Large Number, 64-bit (Access 2016+)
    Unknown,
};

std::string columnTypeName(ColumnType type);

} // namespace quarix::engine
