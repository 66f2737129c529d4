#include "engine/reader/RowDecoder.h"

#include "engine/reader/RawValues.h"
#include "engine/reader/TextDecoding.h"

#include <cstring>

namespace quarix::engine {
namespace {

constexpr int complexTypeCode = 0x12;
constexpr int bigIntCode = 0x13;
constexpr int dateTimeExtendedCode = 0x14;

template <typename T> T little(std::string_view b) {
    T v;
    std::memcpy(&v, b.data(), sizeof v);
    return v;
}

std::size_t fixedSize(ColumnType type) {
    switch (type) {
    case ColumnType::Byte:
        return 1;
    case ColumnType::Integer:
        return 2;
    case ColumnType::Long:
    case ColumnType::Single:
    case ColumnType::Complex:
        return 4;
    case ColumnType::Currency:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::BigInt:
        return 8;
    case ColumnType::Guid:
        return 16;
    case ColumnType::Decimal:
        return 17;
    default:
        return 0;
    }
}

} // namespace

ColumnType columnTypeFromAccessCode(int code) {
    switch (code) {
    case MDB_BOOL:
        return ColumnType::Boolean;
    case MDB_BYTE:
        return ColumnType::Byte;
    case MDB_INT:
        return ColumnType::Integer;
    case MDB_LONGINT:
        return ColumnType::Long;
    case MDB_MONEY:
        return ColumnType::Currency;
    case MDB_FLOAT:
        return ColumnType::Single;
    case MDB_DOUBLE:
        return ColumnType::Double;
    case MDB_DATETIME:
        return ColumnType::DateTime;
    case MDB_BINARY:
        return ColumnType::Binary;
    case MDB_TEXT:
        return ColumnType::Text;
    case MDB_OLE:
        return ColumnType::OLE;
    case MDB_MEMO:
        return ColumnType::Memo;
    case MDB_REPID:
        return ColumnType::Guid;
    case MDB_NUMERIC:
        return ColumnType::Decimal;
    case complexTypeCode:
        return ColumnType::Complex;
    case bigIntCode:
        return ColumnType::BigInt;
    case dateTimeExtendedCode:
        return ColumnType::DateTimeExtended;
    default:
        return ColumnType::Unknown;
    }
}

std::vector<ColumnInfo>
describeColumns(const MdbTable& table,
                const std::map<std::string, CalculatedColumnProperties>& calculated) {
    std::vector<ColumnInfo> columns;
    for (std::size_t i = 0; i < table.columnCount(); ++i) {
        const MdbColumn& c = table.column(i);
        ColumnInfo info;
        info.name = c.name;
        info.type = columnTypeFromAccessCode(c.col_type);
        info.size = c.col_size;
        if (info.type == ColumnType::Decimal) {
            // libmdb reads precision and scale from each other's places.
            info.precision = c.col_scale;
            info.scale = c.col_prec;
        }
        info.autoNumber = c.is_long_auto != 0 || c.is_uuid_auto != 0;
        if (const auto it = calculated.find(info.name); it != calculated.end()) {
            info.calculated = true;
            info.type = columnTypeFromAccessCode(it->second.resultType);
        }
        columns.push_back(std::move(info));
    }
    return columns;
}

RowDecoder::RowDecoder(MdbTable& table, const std::vector<ColumnInfo>& columns)
    : table_(table), columns_(columns), complex_(columns.size(), nullptr), scratch_(columns.size()),
      values_(columns.size()), longValues_(table.file()) {}

void RowDecoder::setComplexSummaries(std::size_t column, const ComplexSummaries* summaries) {
    complex_[column] = summaries;
}

std::span<const StoredValue> RowDecoder::row() {
    for (std::size_t i = 0; i < columns_.size(); ++i)
        values_[i] = value(i);
    return values_;
}

StoredValue RowDecoder::damaged() {
    ++damaged_;
    return StoredValue::null();
}

StoredValue RowDecoder::value(std::size_t column) {
    const RawField& field = table_.field(column);
    const ColumnInfo& info = columns_[column];
    const int physical = table_.column(column).col_type;
    if (physical == MDB_BOOL && !info.calculated)
        return StoredValue::ofInteger(field.null ? 0 : -1);
    if (field.damaged)
        return damaged();
    if (field.null)
        return StoredValue::null();
    if (info.calculated)
        return decodeCalculated(column, field.bytes);
    if (physical == MDB_MEMO || physical == MDB_OLE) {
        // Text is decoded out of the shared buffer; bytes are kept per column.
        std::string& target = info.type == ColumnType::Memo ? longValue_ : scratch_[column];
        if (longValues_.read(field.bytes, target) != LongValueResult::Ok)
            return damaged();
        return info.type == ColumnType::Memo ? text(column, target) : StoredValue::ofBlob(target);
    }
    return decode(column, info.type, field.bytes);
}

StoredValue RowDecoder::decodeCalculated(std::size_t column, std::string_view bytes) {
    const int physical = table_.column(column).col_type;
    const ColumnType type = columns_[column].type;
    // Memo results are long values whatever type the column definition shows.
    if (physical == MDB_MEMO || physical == MDB_OLE || type == ColumnType::Memo ||
        type == ColumnType::OLE) {
        if (longValues_.read(bytes, longValue_) != LongValueResult::Ok)
            return damaged();
        bytes = longValue_;
    }
    const auto inner = unwrapCalculatedValue(bytes);
    if (!inner)
        return damaged();
    switch (type) {
    case ColumnType::Boolean:
        return StoredValue::ofInteger(!inner->empty() && (*inner)[0] != 0 ? -1 : 0);
    case ColumnType::Memo:
        return text(column, *inner);
    case ColumnType::OLE:
        scratch_[column].assign(*inner);
        return StoredValue::ofBlob(scratch_[column]);
    case ColumnType::Decimal:
        scratch_[column].clear();
        if (!appendCalculatedDecimalText(*inner, scratch_[column]))
            return damaged();
        return StoredValue::ofText(scratch_[column]);
    default:
        return decode(column, type, *inner);
    }
}

StoredValue RowDecoder::text(std::size_t column, std::string_view raw) {
    std::string& out = scratch_[column];
    out.clear();
    if (table_.file().jet3())
        appendUtf8FromCodePage(raw, table_.file().header().codePage, out);
    else
        appendUtf8FromAccessText(raw, out);
    return StoredValue::ofText(out);
}

StoredValue RowDecoder::decode(std::size_t column, ColumnType type, std::string_view b) {
    if (b.size() < fixedSize(type))
        return damaged();
    std::string& out = scratch_[column];
    switch (type) {
    case ColumnType::Boolean:
        return StoredValue::ofInteger(!b.empty() && b[0] != 0 ? -1 : 0);
    case ColumnType::Byte:
        return StoredValue::ofInteger(static_cast<std::uint8_t>(b[0]));
    case ColumnType::Integer:
        return StoredValue::ofInteger(little<std::int16_t>(b));
    case ColumnType::Long:
        return StoredValue::ofInteger(little<std::int32_t>(b));
    case ColumnType::Currency:
    case ColumnType::BigInt:
        return StoredValue::ofInteger(little<std::int64_t>(b));
    case ColumnType::Single:
        return StoredValue::ofReal(little<float>(b));
    case ColumnType::Double:
    case ColumnType::DateTime:
        return StoredValue::ofReal(little<double>(b));
    case ColumnType::Text:
    case ColumnType::Memo:
        return text(column, b);
    case ColumnType::Binary:
    case ColumnType::OLE:
    case ColumnType::Unknown:
        return StoredValue::ofBlob(b);
    case ColumnType::Guid:
        out.clear();
        appendGuidText(b.substr(0, 16), out);
        return StoredValue::ofText(out);
    case ColumnType::Decimal:
        out.clear();
        if (!appendDecimalText(b.substr(0, 17), columns_[column].scale, out))
            return damaged();
        return StoredValue::ofText(out);
    case ColumnType::DateTimeExtended:
        out.clear();
        if (!appendDateTimeExtendedText(b, out))
            return damaged();
        return StoredValue::ofText(out);
    case ColumnType::Complex: {
        // Without summaries the column's hidden table could not be found or read.
        const ComplexSummaries* summaries = complex_[column];
        if (!summaries)
            return damaged();
        const auto it = summaries->find(little<std::int32_t>(b));
        return it == summaries->end() ? StoredValue::null() : StoredValue::ofText(it->second);
    }
    }
    return StoredValue::null();
}

} // namespace quarix::engine
