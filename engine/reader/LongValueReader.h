#pragma once

#include "engine/reader/MdbDatabase.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quarix::engine {

// A Memo or OLE value larger than the reader accepts.
struct LongValueTooLarge : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class LongValueResult { Ok, Damaged };

// Follows a Memo/OLE field's 12-byte header to its data: inline, on one
// other page, or along a chain of pages. Every hop must add data and the
// total may not exceed the length in the header, so a looping chain ends;
// a header claiming more than maxSize throws LongValueTooLarge.
class LongValueReader {
public:
    static constexpr std::size_t defaultMaxSize = 256u << 20;

    explicit LongValueReader(MdbDatabase& file, std::size_t maxSize = defaultMaxSize)
        : file_(file), maxSize_(maxSize) {}

    // Replaces out with the value's bytes. Throws the damaged-file error
    // when the value continues past the end of the file.
    LongValueResult read(std::string_view field, std::string& out);

private:
    // The bytes of one row on another page (read into libmdb's spare page buffer).
    bool rowAt(std::uint32_t pageRow, std::string_view& row);

    MdbDatabase& file_;
    std::size_t maxSize_;
};

} // namespace quarix::engine
