#pragma once

#include "engine/crypto/Secret.h"
#include "engine/reader/OfficeEncryption.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace quarix::engine {

// Decrypts the pages of an encrypted ACE file, a whole page at a time. Each
// page has its own key or vector, made from the file's encoding key and the
// page number.
class PageCipher {
public:
    virtual ~PageCipher() = default;
    // Page `number` (1 and up; page 0 is never encrypted) in place.
    virtual void decrypt(std::uint32_t number, std::span<std::uint8_t> page) const = 0;
};

// The four bytes that make a page's key: the encoding key XOR the page
// number, little endian.
inline std::array<std::uint8_t, 4> blockKey(std::uint32_t encodingKey, std::uint32_t number) {
    const std::uint32_t key = encodingKey ^ number;
    return {static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
            static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 24)};
}

// Each checks the hashed password (see PasswordHash.h) against the file's
// verifier and returns the cipher of its pages; nullptr when the password
// is wrong.
std::unique_ptr<PageCipher> unlockRc4CryptoApi(const BinaryEncryption& form,
                                               std::uint32_t encodingKey, const Secret& hashed);
std::unique_ptr<PageCipher> unlockStandardAes(const BinaryEncryption& form,
                                              std::uint32_t encodingKey, const Secret& hashed);
std::unique_ptr<PageCipher> unlockAgile(const AgileEncryption& form, std::uint32_t encodingKey,
                                        const Secret& hashed);

} // namespace quarix::engine
