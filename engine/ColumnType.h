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

// How the cache keeps a type's values (the kind of StoredValue and the
// SQLite column affinity).
enum class Storage { Integer, Real, Text, Blob, None };

// What a type is to Access's expressions.
enum class TypeClass { Boolean, Integer, Currency, Floating, Decimal, Date, Text, Binary, None };

// How a stored value is shown (datasheet, value list, CLI).
enum class Shown { Plain, YesNo, Currency, Date, Single, Decimal, Hex };

// What a value becomes in a spreadsheet cell; JSON shows dates as strings.
enum class CellKind { Boolean, Number, Date, Text, Binary };

// Everything the layers above the decoder need to know of a type; each type
// has one row, in ColumnType.cpp.
struct ColumnTypeTraits {
    const char* name; // as Access's table design names it
    Storage storage;
    TypeClass typeClass;
    Shown shown;
    CellKind cell;
    int varType;          // VarType() of a value of this type; -1 when it has none
    const char* typeName; // TypeName() of a value of this type
};

const ColumnTypeTraits& traitsOf(ColumnType type);

std::string columnTypeName(ColumnType type);

// The SQLite affinity of a cache column of this type ("" for none).
const char* sqliteAffinity(ColumnType type);

// How many stored units make one unit of a value of a number or date type
// whose cache column keeps it as a number (10,000 for Currency); 0 for the
// types kept otherwise.
double storedUnitsPerValue(ColumnType type);

} // namespace quarix::engine
