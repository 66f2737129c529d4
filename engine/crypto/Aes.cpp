#include "engine/crypto/Aes.h"

#include "engine/crypto/Secret.h"

#include <nettle/aes.h>
#include <nettle/cbc.h>

#include <array>
#include <cstring>
#include <stdexcept>

namespace quarix::engine {

namespace {

// nettle's block functions in the form its chaining modes call.
template <typename Context,
          void (*decrypt)(const Context*, std::size_t, std::uint8_t*, const std::uint8_t*)>
void decryptWith(const void* context, std::size_t length, std::uint8_t* dst,
                 const std::uint8_t* src) {
    decrypt(static_cast<const Context*>(context), length, dst, src);
}

} // namespace

struct AesDecryption::Schedule {
    union {
        aes128_ctx aes128;
        aes192_ctx aes192;
        aes256_ctx aes256;
    } context;
    nettle_cipher_func* decrypt = nullptr;
};

AesDecryption::AesDecryption(std::span<const std::uint8_t> key)
    : schedule_(std::make_unique<Schedule>()) {
    auto& c = schedule_->context;
    switch (key.size()) {
    case AES128_KEY_SIZE:
        aes128_set_decrypt_key(&c.aes128, key.data());
        schedule_->decrypt = &decryptWith<aes128_ctx, aes128_decrypt>;
        break;
    case AES192_KEY_SIZE:
        aes192_set_decrypt_key(&c.aes192, key.data());
        schedule_->decrypt = &decryptWith<aes192_ctx, aes192_decrypt>;
        break;
    case AES256_KEY_SIZE:
        aes256_set_decrypt_key(&c.aes256, key.data());
        schedule_->decrypt = &decryptWith<aes256_ctx, aes256_decrypt>;
        break;
    default:
        throw std::invalid_argument("AES keys are 16, 24 or 32 bytes");
    }
}

AesDecryption::~AesDecryption() {
    wipeBytes(schedule_.get(), sizeof(Schedule));
}

namespace {
void requireBlocks(std::size_t size) {
    if (size % AesDecryption::blockSize != 0)
        throw std::invalid_argument("AES decrypts whole 16-byte blocks");
}
} // namespace

void AesDecryption::decryptBlocks(std::span<std::uint8_t> data) const {
    requireBlocks(data.size());
    schedule_->decrypt(&schedule_->context, data.size(), data.data(), data.data());
}

void AesDecryption::decryptChained(std::span<const std::uint8_t, blockSize> iv,
                                   std::span<std::uint8_t> data) const {
    requireBlocks(data.size());
    std::array<std::uint8_t, blockSize> chain;
    std::memcpy(chain.data(), iv.data(), blockSize);
    cbc_decrypt(&schedule_->context, schedule_->decrypt, blockSize, chain.data(), data.size(),
                data.data(), data.data());
    wipeBytes(chain.data(), chain.size());
}

} // namespace quarix::engine
