#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarix::test {

// One damaged version of a file and how it was made, for the failure text.
struct DamagedCopy {
    std::string how; // "truncated at 4096", "page 3 zeroed", "7 bytes flipped (seed 12)"
    std::string bytes;
    int flippedBytes = 0; // bytes changed in place (not cut or zeroed)
};

// Damaged versions of a file, the same on every run: cut at page
// boundaries, inside pages and within the header; whole pages zeroed
// (the header page and catalogue pages included); and bytes flipped,
// mostly in the first pages where the catalogue and table definitions live.
std::vector<DamagedCopy> damagedCopies(const std::string& original, std::uint32_t seed,
                                       int truncations, int zeroedPages, int flips);

} // namespace quarix::test
