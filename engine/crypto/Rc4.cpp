#include "engine/crypto/Rc4.h"

#include "engine/crypto/Secret.h"

#include <nettle/arcfour.h>

#include <stdexcept>

namespace quarix::engine {

void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data) {
    if (key.empty() || key.size() > ARCFOUR_MAX_KEY_SIZE)
        throw std::invalid_argument("RC4 keys are 1 to 256 bytes");
    arcfour_ctx state;
    arcfour_set_key(&state, key.size(), key.data());
    arcfour_crypt(&state, data.size(), data.data(), data.data());
    wipeBytes(&state, sizeof state);
}

} // namespace quarix::engine
