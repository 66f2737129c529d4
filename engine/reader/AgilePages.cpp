#include "engine/crypto/Aes.h"
#include "engine/crypto/Hash.h"
#include "engine/reader/PageCipher.h"

#include <algorithm>
#include <array>
#include <string>

namespace quarix::engine {
namespace {

// The block keys of the password key encryptor's three secrets.
constexpr std::array<std::uint8_t, 8> verifierInputBlock{0xfe, 0xa7, 0xd2, 0x76,
                                                         0x3b, 0x4b, 0x9e, 0x79};
constexpr std::array<std::uint8_t, 8> verifierValueBlock{0xd7, 0xaa, 0x0f, 0x6d,
                                                         0x30, 0x61, 0x34, 0x4e};
constexpr std::array<std::uint8_t, 8> keyValueBlock{0x14, 0x6e, 0x0b, 0xe7, 0xab, 0xac, 0xd0, 0xd6};
constexpr std::uint8_t padding = 0x36;

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Cut to size, or lengthened with the format's padding byte.
Secret fitted(const Secret& bytes, std::size_t size) {
    Secret out = Secret::zeros(size);
    std::fill_n(out.data(), size, padding);
    std::copy_n(bytes.data(), std::min(size, bytes.size()), out.data());
    return out;
}

// One of the password key encryptor's secrets, decrypted with the key made
// from the hashed password and its block key.
Secret decryptedSecret(const AgileCipher& cipher, const Secret& hashed,
                       std::span<const std::uint8_t> block, const std::string& encrypted) {
    const Secret key = fitted(digest(cipher.hash, {hashed.bytes(), block}), cipher.keyBytes);
    Secret out(encrypted);
    AesDecryption(key.bytes())
        .decryptChained(std::span<const std::uint8_t, 16>(bytesOf(cipher.salt).first<16>()),
                        {out.data(), out.size()});
    return out;
}

class AgilePages : public PageCipher {
public:
    AgilePages(const AgileCipher& cipher, const Secret& fileKey, std::uint32_t encodingKey)
        : cipher_(cipher), aes_(fileKey.bytes()), encodingKey_(encodingKey) {}

    void decrypt(std::uint32_t number, std::span<std::uint8_t> page) const override {
        // Each page's vector: the hash of the salt and its block key, fitted.
        Hash hash(cipher_.hash);
        std::array<std::uint8_t, 64> full{};
        hash.add(bytesOf(cipher_.salt)).add(blockKey(encodingKey_, number)).finish(full.data());
        std::array<std::uint8_t, AesDecryption::blockSize> iv;
        iv.fill(padding);
        std::copy_n(full.data(), std::min(iv.size(), hash.size()), iv.data());
        aes_.decryptChained(iv, page);
    }

private:
    AgileCipher cipher_;
    AesDecryption aes_;
    std::uint32_t encodingKey_;
};

} // namespace

std::unique_ptr<PageCipher> unlockAgile(const AgileEncryption& form, std::uint32_t encodingKey,
                                        const Secret& hashed) {
    const AgileCipher& password = form.password;
    const Secret input =
        decryptedSecret(password, hashed, verifierInputBlock, form.encryptedVerifierInput);
    const Secret value =
        decryptedSecret(password, hashed, verifierValueBlock, form.encryptedVerifierValue);
    const Secret expected = digest(password.hash, {input.bytes().first(password.salt.size())});
    if (!(expected == value.prefix(expected.size())))
        return nullptr;
    const Secret fileKey = decryptedSecret(password, hashed, keyValueBlock, form.encryptedKey)
                               .prefix(form.pages.keyBytes);
    return std::make_unique<AgilePages>(form.pages, fileKey, encodingKey);
}

} // namespace quarix::engine
