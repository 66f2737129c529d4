#pragma once

#include <cstdint>
#include <span>

namespace quarix::engine {

// RC4 over data in place (a stream cipher: the same call encrypts). The key
// is 1 to 256 bytes, else std::invalid_argument.
void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

} // namespace quarix::engine
