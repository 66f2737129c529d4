#include "engine/ColumnType.h"

#include <array>

namespace quarix::engine {

namespace {

using S = Storage;
using T = TypeClass;
using D = Shown;
using C = CellKind;

// In the order of ColumnType.
constexpr std::array<ColumnTypeTraits, 18> kTraits{{
    {"Yes/No", S::Integer, T::Boolean, D::YesNo, C::Boolean, 11, "Boolean"},
    {"Byte", S::Integer, T::Integer, D::Plain, C::Number, 17, "Byte"},
    {"Integer", S::Integer, T::Integer, D::Plain, C::Number, 2, "Integer"},
    {"Long Integer", S::Integer, T::Integer, D::Plain, C::Number, 3, "Long"},
    // The amount times 10,000, exact.
    {"Currency", S::Integer, T::Currency, D::Currency, C::Number, 6, "Currency"},
    {"Single", S::Real, T::Floating, D::Single, C::Number, 4, "Single"},
    {"Double", S::Real, T::Floating, D::Plain, C::Number, 5, "Double"},
    // Days since 1899-12-30, Access's own serial.
    {"Date/Time", S::Real, T::Date, D::Date, C::Date, 7, "Date"},
    {"Binary", S::Blob, T::Binary, D::Hex, C::Binary, 8209, "Byte()"},
    {"Text", S::Text, T::Text, D::Plain, C::Text, 8, "String"},
    {"OLE Object", S::Blob, T::Binary, D::Hex, C::Binary, 8209, "Byte()"},
    {"Memo", S::Text, T::Text, D::Plain, C::Text, 8, "String"},
    // "{8-4-4-4-12}", upper case.
    {"Replication ID", S::Text, T::Text, D::Plain, C::Text, 8, "String"},
    // Exact plain decimal text that keeps the scale ("-12.3400").
    {"Decimal", S::Text, T::Decimal, D::Decimal, C::Number, 14, "Decimal"},
    // A readable summary ("a.png; b.txt").
    {"Attachment/Multi-value", S::Text, T::Text, D::Plain, C::Text, 8, "String"},
    // "yyyy-MM-dd HH:mm:ss.fffffff": more precision than a serial holds.
    {"Date/Time Extended", S::Text, T::Date, D::Plain, C::Text, 8, "String"},
    {"Large Number", S::Integer, T::Integer, D::Plain, C::Number, 20, "LongLong"},
    {"Unknown", S::None, T::None, D::Plain, C::Text, -1, ""},
}};

static_assert(kTraits.size() == static_cast<std::size_t>(ColumnType::Unknown) + 1,
              "every column type has one row of traits");

} // namespace

const ColumnTypeTraits& traitsOf(ColumnType type) {
    const auto index = static_cast<std::size_t>(type);
    return kTraits[index < kTraits.size() ? index : kTraits.size() - 1];
}

std::string columnTypeName(ColumnType type) {
    return traitsOf(type).name;
}

const char* sqliteAffinity(ColumnType type) {
    switch (traitsOf(type).storage) {
    case Storage::Integer:
        return "INTEGER";
    case Storage::Real:
        return "REAL";
    case Storage::Text:
        return "TEXT";
    case Storage::Blob:
        return "BLOB";
    case Storage::None:
        break;
    }
    return "";
}

double storedUnitsPerValue(ColumnType type) {
    const ColumnTypeTraits& traits = traitsOf(type);
    if (traits.storage != Storage::Integer && traits.storage != Storage::Real)
        return 0;
    return traits.typeClass == TypeClass::Currency ? 10000 : 1;
}

} // namespace quarix::engine
