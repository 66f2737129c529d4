#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quarix::engine {

// The largest attachment Quarix unpacks; Access itself stops at 256 MB.
inline constexpr std::size_t kLargestAttachment = 256u * 1024u * 1024u;

// The file an attachment holds, from its stored FileData: a header (a flag
// saying whether the rest is deflated, and the unpacked length), then a
// second header (its own length and the file's extension) and the file's
// bytes. Nothing when the stored value does not hold together.
std::optional<std::string> attachmentFileBytes(std::string_view stored);

} // namespace quarix::engine
