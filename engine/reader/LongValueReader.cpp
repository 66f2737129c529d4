#include "engine/reader/LongValueReader.h"

#include <cstring>

namespace quarix::engine {
namespace {

constexpr std::size_t headerSize = 12;
constexpr std::uint32_t inlineFlag = 0x80000000u;
constexpr std::uint32_t onePageFlag = 0x40000000u;
constexpr std::uint32_t lengthMask = 0x3fffffffu;
constexpr int rowOffsetMask = 0x1fff;
constexpr std::uint8_t dataPageType = 0x01;

std::uint32_t u32At(const void* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

unsigned u16At(const unsigned char* p) {
    return static_cast<unsigned>(p[0] | p[1] << 8);
}

} // namespace

bool LongValueReader::rowAt(std::uint32_t pageRow, std::string_view& row) {
    MdbHandle* mdb = file_.handle();
    const std::uint32_t page = pageRow >> 8;
    const unsigned index = pageRow & 0xff;
    const auto pageSize = static_cast<unsigned>(mdb->fmt->pg_size);
    // A value continued past the end of the file was cut off with it.
    file_.requirePage(page);
    if (page == 0 || mdb_read_alt_pg(mdb, page) != mdb->fmt->pg_size)
        return false;
    const unsigned char* buf = mdb->alt_pg_buf;
    if (buf[0] != dataPageType)
        return false;
    const unsigned countOffset = mdb->fmt->row_count_offset;
    const unsigned rows = u16At(buf + countOffset);
    const unsigned tableEnd = countOffset + 2 + rows * 2;
    if (index >= rows || tableEnd > pageSize)
        return false;
    const unsigned start = u16At(buf + countOffset + 2 + index * 2) & rowOffsetMask;
    const unsigned end =
        index == 0 ? pageSize : u16At(buf + countOffset + index * 2) & rowOffsetMask;
    if (start < tableEnd || start > end || end > pageSize)
        return false;
    row = std::string_view(reinterpret_cast<const char*>(buf) + start, end - start);
    return true;
}

LongValueResult LongValueReader::read(std::string_view field, std::string& out) {
    out.clear();
    if (field.size() < headerSize)
        return LongValueResult::Damaged;
    const std::uint32_t word = u32At(field.data());
    const std::size_t length = word & lengthMask;
    if (length > maxSize_)
        throw LongValueTooLarge("value of " + std::to_string(length) + " bytes");
    if ((word & inlineFlag) != 0) {
        if (length > field.size() - headerSize)
            return LongValueResult::Damaged;
        out.assign(field.substr(headerSize, length));
        return LongValueResult::Ok;
    }
    std::uint32_t pageRow = u32At(field.data() + 4);
    std::string_view row;
    if ((word & onePageFlag) != 0) {
        if (!rowAt(pageRow, row) || row.size() < length)
            return LongValueResult::Damaged;
        out.assign(row.substr(0, length));
        return LongValueResult::Ok;
    }
    out.reserve(length);
    while (out.size() < length) {
        if (!rowAt(pageRow, row) || row.size() <= 4)
            return LongValueResult::Damaged;
        pageRow = u32At(row.data());
        out.append(row.substr(4, length - out.size()));
        if (pageRow == 0)
            break;
    }
    return out.size() == length ? LongValueResult::Ok : LongValueResult::Damaged;
}

} // namespace quarix::engine
