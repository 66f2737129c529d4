#include "engine/reader/DataPage.h"

namespace quarix::engine {
namespace {

constexpr std::uint8_t dataPageType = 0x01;
constexpr unsigned freeSpaceOffset = 2;
constexpr unsigned ownerOffset = 4;
constexpr unsigned offsetMask = 0x1fff;
constexpr unsigned notLiveFlag = 0x4000;

unsigned u16At(std::string_view page, std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(page[at]) |
                                 static_cast<unsigned char>(page[at + 1]) << 8);
}

} // namespace

std::optional<DataPage> DataPage::read(std::string_view page, unsigned rowCountOffset) {
    if (page.size() < rowCountOffset + 2 || page.size() < ownerOffset + 4 ||
        static_cast<std::uint8_t>(page[0]) != dataPageType)
        return std::nullopt;
    const DataPage candidate(page, rowCountOffset, u16At(page, rowCountOffset));
    const std::size_t tableEnd = rowCountOffset + 2 + 2 * std::size_t{candidate.rows_};
    if (tableEnd > page.size())
        return std::nullopt;
    // Each row ends where the one before it starts, the first at the end
    // of the page; none reaches into the row table.
    std::size_t end = page.size();
    for (unsigned i = 0; i < candidate.rows_; ++i) {
        const unsigned start = candidate.entry(i) & offsetMask;
        if (start < tableEnd || start > end)
            return std::nullopt;
        end = start;
    }
    if (u16At(page, freeSpaceOffset) != end - tableEnd)
        return std::nullopt;
    return candidate;
}

std::uint32_t DataPage::owner() const {
    std::uint32_t owner = 0;
    for (int i = 3; i >= 0; --i)
        owner = owner << 8 | static_cast<unsigned char>(page_[ownerOffset + i]);
    return owner;
}

unsigned DataPage::entry(unsigned index) const {
    return u16At(page_, rowCountOffset_ + 2 + 2 * std::size_t{index});
}

DataPage::Row DataPage::row(unsigned index) const {
    const unsigned start = entry(index) & offsetMask;
    const unsigned end =
        index == 0 ? static_cast<unsigned>(page_.size()) : entry(index - 1) & offsetMask;
    return {page_.substr(start, end - start), start, (entry(index) & notLiveFlag) == 0};
}

} // namespace quarix::engine
