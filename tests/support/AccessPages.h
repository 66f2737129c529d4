#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarix::test {

// The pages of an Access file held in memory, for tests that damage a
// table's rows where they lie.
class AccessPages {
public:
    explicit AccessPages(std::string bytes)
        : bytes_(std::move(bytes)),
          pageSize_(bytes_.size() > 0x14 && bytes_[0x14] == 0 ? 2048 : 4096),
          rowCountOffset_(pageSize_ == 2048 ? 8 : 12) {}

    std::string& bytes() { return bytes_; }
    std::size_t pageSize() const { return pageSize_; }

    // The data pages holding rows of the table defined on definitionPage
    // (its MSysObjects Id & 0xffffff), in file order.
    std::vector<std::size_t> dataPagesOf(std::uint32_t definitionPage) const {
        std::vector<std::size_t> pages;
        for (std::size_t p = 1; (p + 1) * pageSize_ <= bytes_.size(); ++p)
            if (bytes_[p * pageSize_] == 0x01 && u32(p * pageSize_ + 4) == definitionPage)
                pages.push_back(p);
        return pages;
    }

    // The page holding the first copy of the bytes.
    std::size_t pageHolding(std::string_view bytes) const { return bytes_.find(bytes) / pageSize_; }

    unsigned rowCount(std::size_t page) const { return u16(page * pageSize_ + rowCountOffset_); }
    // Where row index starts in the file (flags removed).
    std::size_t rowStart(std::size_t page, unsigned index) const {
        return page * pageSize_ +
               (u16(page * pageSize_ + rowCountOffset_ + 2 + 2 * index) & 0x1fff);
    }
    void setRowCount(std::size_t page, unsigned count) {
        bytes_[page * pageSize_ + rowCountOffset_] = static_cast<char>(count & 0xff);
        bytes_[page * pageSize_ + rowCountOffset_ + 1] = static_cast<char>(count >> 8);
    }
    void zero(std::size_t page) { bytes_.replace(page * pageSize_, pageSize_, pageSize_, '\0'); }

private:
    unsigned u16(std::size_t at) const {
        return static_cast<unsigned char>(bytes_[at]) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes_[at + 1])) << 8;
    }
    std::uint32_t u32(std::size_t at) const {
        return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
    }

    std::string bytes_;
    std::size_t pageSize_;
    std::size_t rowCountOffset_;
};

} // namespace quarix::test
