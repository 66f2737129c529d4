#include "engine/reader/LongValueReader.h"

#include "engine/reader/DataPage.h"

#include <cstring>

namespace quarix::engine {
namespace {

constexpr std::size_t headerSize = 12;
constexpr std::uint32_t inlineFlag = 0x80000000u;
constexpr std::uint32_t onePageFlag = 0x40000000u;
constexpr std::uint32_t lengthMask = 0x3fffffffu;

std::uint32_t u32At(const void* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

bool LongValueReader::rowAt(std::uint32_t pageRow, std::string_view& row) {
    MdbHandle* mdb = file_.handle();
    const std::uint32_t page = pageRow >> 8;
    const unsigned index = pageRow & 0xff;
    // A value continued past the end of the file was cut off with it.
    file_.requirePage(page);
    if (page == 0 || mdb_read_alt_pg(mdb, page) != mdb->fmt->pg_size)
        return false;
    const auto rows =
        DataPage::read(std::string_view(reinterpret_cast<const char*>(mdb->alt_pg_buf),
                                        static_cast<std::size_t>(mdb->fmt->pg_size)),
                       mdb->fmt->row_count_offset);
    if (!rows || rows->owner() != DataPage::longValueOwner || index >= rows->rowCount())
        return false;
    const DataPage::Row found = rows->row(index);
    row = found.bytes;
    return found.live;
}

// Every length is checked against the bytes that hold the value, so a
// damaged header or chain never gives a value cut short or run long.
LongValueResult LongValueReader::read(std::string_view field, std::string& out) {
    out.clear();
    if (field.size() < headerSize)
        return LongValueResult::Damaged;
    const std::uint32_t word = u32At(field.data());
    const std::size_t length = word & lengthMask;
    if (length > maxSize_)
        throw LongValueTooLarge("value of " + std::to_string(length) + " bytes");
    if ((word & inlineFlag) != 0) {
        if (length != field.size() - headerSize)
            return LongValueResult::Damaged;
        out.assign(field.substr(headerSize, length));
        return LongValueResult::Ok;
    }
    std::uint32_t pageRow = u32At(field.data() + 4);
    std::string_view row;
    if ((word & onePageFlag) != 0) {
        if (!rowAt(pageRow, row) || row.size() != length)
            return LongValueResult::Damaged;
        out.assign(row);
        return LongValueResult::Ok;
    }
    // A chain: each row starts with the place of the next, 0 after the last.
    out.reserve(length);
    while (pageRow != 0) {
        if (!rowAt(pageRow, row) || row.size() <= 4 || row.size() - 4 > length - out.size())
            return LongValueResult::Damaged;
        pageRow = u32At(row.data());
        out.append(row.substr(4));
    }
    return out.size() == length ? LongValueResult::Ok : LongValueResult::Damaged;
}

} // namespace quarix::engine
