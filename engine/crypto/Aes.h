#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace quarix::engine {

// AES decryption under one key of 16, 24 or 32 bytes (anything else throws
// std::invalid_argument). The key schedule is wiped when it goes. Data is
// decrypted in place and must be whole 16-byte blocks.
class AesDecryption {
public:
    static constexpr std::size_t blockSize = 16;

    explicit AesDecryption(std::span<const std::uint8_t> key);
    ~AesDecryption();
    AesDecryption(const AesDecryption&) = delete;
    AesDecryption& operator=(const AesDecryption&) = delete;

    // Each block on its own (ECB).
    void decryptBlocks(std::span<std::uint8_t> data) const;
    // Cipher block chaining from the given initialisation vector.
    void decryptChained(std::span<const std::uint8_t, blockSize> iv,
                        std::span<std::uint8_t> data) const;

private:
    struct Schedule;
    std::unique_ptr<Schedule> schedule_;
};

} // namespace quarix::engine
