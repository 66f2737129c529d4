#include "tests/reliability/DamagedCopies.h"

#include <algorithm>
#include <random>

namespace quarix::test {
namespace {

// Jet 3 files use 2 KB pages, Jet 4 and ACE 4 KB; the version byte says which.
std::size_t pageSizeOf(const std::string& bytes) {
    return bytes.size() > 0x14 && bytes[0x14] == 0 ? 2048 : 4096;
}

} // namespace

std::vector<DamagedCopy> damagedCopies(const std::string& original, std::uint32_t seed,
                                       int truncations, int zeroedPages, int flips) {
    std::mt19937 random(seed);
    const std::size_t pageSize = pageSizeOf(original);
    const std::size_t pages = std::max<std::size_t>(1, original.size() / pageSize);
    const auto below = [&](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
    };
    std::vector<DamagedCopy> copies;

    for (int i = 0; i < truncations; ++i) {
        std::size_t at = 0;
        switch (i % 4) {
        case 0:
            at = below(pages) * pageSize;
            break; // a page boundary
        case 1:
            at = below(original.size());
            break; // anywhere
        case 2:
            at = below(std::min<std::size_t>(original.size(), 3 * pageSize));
            break; // header and catalogue
        default:
            at = original.size() - 1 - below(pageSize);
            break; // the last page cut short
        }
        copies.push_back({"truncated at " + std::to_string(at), original.substr(0, at)});
    }

    for (int i = 0; i < zeroedPages; ++i) {
        // The first copies hit the header page and the pages right after it.
        const std::size_t page = i < 3 ? std::min<std::size_t>(i, pages - 1) : below(pages);
        std::string bytes = original;
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(page * pageSize),
                    std::min(pageSize, bytes.size() - page * pageSize), '\0');
        copies.push_back({"page " + std::to_string(page) + " zeroed", std::move(bytes)});
    }

    for (int i = 0; i < flips; ++i) {
        std::string bytes = original;
        const int count = 1 + static_cast<int>(below(24));
        const std::size_t region = i % 2 ? bytes.size() : std::min(bytes.size(), 16 * pageSize);
        for (int f = 0; f < count; ++f)
            bytes[below(region)] ^= static_cast<char>(1 + below(255));
        copies.push_back({std::to_string(count) + " bytes flipped (copy " + std::to_string(i) + ")",
                          std::move(bytes), count});
    }
    return copies;
}

} // namespace quarix::test
