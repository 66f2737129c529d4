#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quarix::engine {

// Appends the UTF-8 form of Jet 4 / ACE text: UTF-16LE, or "compressed"
// (starts FF FE, then one-byte characters until a 0x00 byte switches to
// two-byte units and back). Surrogate pairs are kept; a lone surrogate
// becomes U+FFFD.
void appendUtf8FromAccessText(std::string_view raw, std::string& out);

// Appends the UTF-8 form of Jet 3 text stored in the given Windows code page.
void appendUtf8FromCodePage(std::string_view raw, std::uint16_t codePage, std::string& out);

} // namespace quarix::engine
