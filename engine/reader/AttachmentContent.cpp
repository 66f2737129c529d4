#include "engine/reader/AttachmentContent.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

namespace quarix::engine {
namespace {

constexpr std::uint32_t kStoredAsIs = 0;
constexpr std::uint32_t kDeflated = 1;

std::uint32_t u32At(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, sizeof v);
    return v;
}

// Exactly `size` bytes inflated from a zlib stream, or nothing.
std::optional<std::string> inflated(std::string_view stream, std::size_t size) {
    std::string out(size, '\0');
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return std::nullopt;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&z, Z_FINISH);
    const std::size_t produced = z.total_out;
    inflateEnd(&z);
    if (result != Z_STREAM_END || produced != size)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::string> attachmentFileBytes(std::string_view stored) {
    if (stored.size() < 8)
        return std::nullopt;
    const std::uint32_t kind = u32At(stored, 0);
    const std::uint32_t length = u32At(stored, 4);
    if (length > kLargestAttachment)
        return std::nullopt;
    std::optional<std::string> content;
    if (kind == kDeflated)
        content = inflated(stored.substr(8), length);
    else if (kind == kStoredAsIs && stored.size() - 8 >= length)
        content = std::string(stored.substr(8, length));
    if (!content || content->size() < 12)
        return std::nullopt;
    const std::uint32_t headerLength = u32At(*content, 0);
    if (headerLength < 12 || headerLength > content->size())
        return std::nullopt;
    return content->substr(headerLength);
}

} // namespace quarix::engine
