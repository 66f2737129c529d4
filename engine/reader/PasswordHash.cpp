#include "engine/reader/PasswordHash.h"

#include <glib.h>

#include <cstring>
#include <span>

namespace quarix::engine {

Secret officePassword(const Secret& utf8) {
    constexpr glong maxCharacters = 255;
    glong units = 0;
    gunichar2* utf16 = g_utf8_to_utf16(reinterpret_cast<const gchar*>(utf8.data()),
                                       static_cast<glong>(utf8.size()), nullptr, &units, nullptr);
    if (!utf16)
        return {};
    const glong kept = units < maxCharacters ? units : maxCharacters;
    Secret out = Secret::zeros(static_cast<std::size_t>(kept) * 2);
    for (glong i = 0; i < kept; ++i) {
        out.data()[2 * i] = static_cast<std::uint8_t>(utf16[i] & 0xff);
        out.data()[2 * i + 1] = static_cast<std::uint8_t>(utf16[i] >> 8);
    }
    wipeBytes(utf16, static_cast<std::size_t>(units) * sizeof(gunichar2));
    g_free(utf16);
    return out;
}

HashedPassword hashPassword(HashAlgorithm hash, std::string_view salt, std::uint32_t rounds,
                            const Secret& officePassword) {
    Hash h(hash);
    Secret value = Secret::zeros(h.size());
    h.add({reinterpret_cast<const std::uint8_t*>(salt.data()), salt.size()})
        .add(officePassword.bytes())
        .finish(value.data());
    for (std::uint32_t round = 0; round < rounds; ++round) {
        std::uint8_t roundBytes[4];
        std::memcpy(roundBytes, &round, 4); // little endian, as the format has it
        h.add(roundBytes).add(value.bytes()).finish(value.data());
    }
    return {hash, std::string(salt), rounds, std::move(value)};
}

} // namespace quarix::engine
