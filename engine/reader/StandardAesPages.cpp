#include "engine/crypto/Aes.h"
#include "engine/crypto/Hash.h"
#include "engine/reader/PageCipher.h"

#include <algorithm>
#include <array>

namespace quarix::engine {
namespace {

class StandardAesPages : public PageCipher {
public:
    StandardAesPages(Secret hashed, std::size_t keyBytes, std::uint32_t encodingKey)
        : hashed_(std::move(hashed)), keyBytes_(keyBytes), encodingKey_(encodingKey) {}

    // SHA-1 of the hashed password and the block key, then widened by
    // hashing it under the two HMAC pads, cut to the key size.
    Secret keyFor(std::span<const std::uint8_t, 4> block) const {
        const Secret final = digest(HashAlgorithm::Sha1, {hashed_.bytes(), block});
        Secret wide = Secret::zeros(2 * final.size());
        Hash sha1(HashAlgorithm::Sha1);
        std::uint8_t* out = wide.data();
        for (const std::uint8_t fill : {0x36, 0x5c}) {
            std::array<std::uint8_t, 64> pad;
            pad.fill(fill);
            for (std::size_t i = 0; i < final.size(); ++i)
                pad[i] ^= final.data()[i];
            sha1.add(pad).finish(out);
            out += final.size();
            wipeBytes(pad.data(), pad.size());
        }
        return wide.prefix(keyBytes_);
    }

    void decrypt(std::uint32_t number, std::span<std::uint8_t> page) const override {
        AesDecryption(keyFor(blockKey(encodingKey_, number)).bytes()).decryptBlocks(page);
    }

private:
    Secret hashed_;
    std::size_t keyBytes_;
    std::uint32_t encodingKey_;
};

} // namespace

std::unique_ptr<PageCipher> unlockStandardAes(const BinaryEncryption& form,
                                              std::uint32_t encodingKey, const Secret& hashed) {
    auto cipher = std::make_unique<StandardAesPages>(hashed, form.keyBytes, encodingKey);
    const AesDecryption aes(cipher->keyFor(blockKey(0, 0)).bytes());
    Secret verifier(form.encryptedVerifier);
    Secret verifierHash(form.encryptedVerifierHash);
    aes.decryptBlocks({verifier.data(), verifier.size()});
    aes.decryptBlocks({verifierHash.data(), verifierHash.size()});
    const Secret expected = digest(HashAlgorithm::Sha1, {verifier.bytes()});
    if (!(expected.prefix(form.verifierHashSize) == verifierHash.prefix(form.verifierHashSize)))
        return nullptr;
    return cipher;
}

} // namespace quarix::engine
