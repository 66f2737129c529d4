#include "engine/reader/PageReferences.h"

#include "engine/reader/DataPage.h"
#include "engine/reader/ReaderErrors.h"

#include <bit>
#include <optional>

namespace quarix::engine {
namespace {

constexpr std::uint8_t definitionPageType = 0x02;
constexpr std::size_t nextPageOffset = 4;
constexpr std::uint8_t inlineMap = 0;
constexpr std::uint8_t pagedMap = 1;
constexpr std::size_t inlineMapHeader = 5; // type byte, first page
constexpr std::size_t mapPageHeader = 4;
constexpr std::uint8_t usageMapPageType = 0x05;

std::uint32_t u32At(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The position of the last set bit of a bitmap.
std::optional<std::uint64_t> lastSetBit(const unsigned char* bits, std::size_t size) {
    for (std::size_t i = size; i-- > 0;)
        if (bits[i] != 0)
            return std::uint64_t{i} * 8 +
                   static_cast<unsigned>(std::bit_width(static_cast<unsigned>(bits[i]))) - 1;
    return std::nullopt;
}

void requireLastPage(const MdbDatabase& file, std::uint64_t base,
                     std::optional<std::uint64_t> lastBit) {
    if (lastBit && base + *lastBit >= file.pageCount())
        throw reader_errors::incompleteFileError(file.path());
}

} // namespace

void requireDefinitionPages(const MdbDatabase& file, std::uint32_t definitionPage) {
    MdbHandle* mdb = file.handle();
    const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    bool first = true;
    // A chain can visit each page once at most; a longer one loops, which
    // libmdb reports as damage by itself.
    for (std::uint32_t page = definitionPage, hops = 0; page != 0 && hops < file.pageCount();
         ++hops) {
        file.requirePage(page);
        if (mdb_read_alt_pg(mdb, page) != mdb->fmt->pg_size ||
            mdb->alt_pg_buf[0] != definitionPageType)
            return;
        const unsigned char* buf = mdb->alt_pg_buf;
        if (first) {
            for (const std::size_t offset :
                 {mdb->fmt->tab_usage_map_offset, mdb->fmt->tab_free_map_offset})
                if (offset + 4 <= pageSize)
                    file.requirePage(u32At(buf + offset) >> 8);
            first = false;
        }
        page = u32At(buf + nextPageOffset);
    }
}

bool usageMapRowIsSound(const MdbDatabase& file, std::uint32_t definitionPage) {
    MdbHandle* mdb = file.handle();
    const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    const std::size_t offset = mdb->fmt->tab_usage_map_offset;
    if (offset + 4 > pageSize || mdb_read_alt_pg(mdb, definitionPage) != mdb->fmt->pg_size)
        return false;
    const std::uint32_t pageRow = u32At(mdb->alt_pg_buf + offset);
    if (!file.holdsPage(pageRow >> 8) || mdb_read_alt_pg(mdb, pageRow >> 8) != mdb->fmt->pg_size)
        return false;
    const auto page =
        DataPage::read(std::string_view(reinterpret_cast<const char*>(mdb->alt_pg_buf), pageSize),
                       mdb->fmt->row_count_offset);
    const unsigned row = pageRow & 0xff;
    return page && row < page->rowCount() && page->row(row).live && !page->row(row).bytes.empty();
}

bool requireUsageMapPages(const MdbDatabase& file, const unsigned char* map, std::size_t size) {
    if (size < 1)
        return true;
    if (map[0] == inlineMap) {
        if (size >= inlineMapHeader)
            requireLastPage(file, u32At(map + 1),
                            lastSetBit(map + inlineMapHeader, size - inlineMapHeader));
        return true;
    }
    if (map[0] != pagedMap)
        return true; // the table's reader counts a map of unknown kind as damage
    MdbHandle* mdb = file.handle();
    const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    const std::uint64_t pagesPerMapPage = (pageSize - mapPageHeader) * 8;
    for (std::size_t entry = 0; 1 + 4 * entry + 4 <= size; ++entry) {
        const std::uint32_t mapPage = u32At(map + 1 + 4 * entry);
        if (mapPage == 0)
            continue;
        file.requirePage(mapPage);
        if (mdb_read_alt_pg(mdb, mapPage) != mdb->fmt->pg_size)
            throw reader_errors::incompleteFileError(file.path());
        if (mdb->alt_pg_buf[0] != usageMapPageType)
            return false;
        requireLastPage(file, entry * pagesPerMapPage,
                        lastSetBit(mdb->alt_pg_buf + mapPageHeader, pageSize - mapPageHeader));
    }
    return true;
}

} // namespace quarix::engine
