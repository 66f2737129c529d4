#include "engine/crypto/Hash.h"
#include "engine/crypto/Rc4.h"
#include "engine/reader/PageCipher.h"

#include <algorithm>

namespace quarix::engine {
namespace {

class Rc4CryptoApiPages : public PageCipher {
public:
    Rc4CryptoApiPages(Secret hashed, std::size_t keyBytes, std::uint32_t encodingKey)
        : hashed_(std::move(hashed)), keyBytes_(keyBytes), encodingKey_(encodingKey) {}

    // SHA-1 of the hashed password and the block key, cut to the key size;
    // a 40-bit key is used as 128 bits with zeros after it.
    Secret keyFor(std::span<const std::uint8_t, 4> block) const {
        const Secret full = digest(HashAlgorithm::Sha1, {hashed_.bytes(), block});
        Secret key = Secret::zeros(keyBytes_ == 5 ? 16 : keyBytes_);
        std::copy_n(full.data(), keyBytes_, key.data());
        return key;
    }

    void decrypt(std::uint32_t number, std::span<std::uint8_t> page) const override {
        rc4(keyFor(blockKey(encodingKey_, number)).bytes(), page);
    }

private:
    Secret hashed_;
    std::size_t keyBytes_;
    std::uint32_t encodingKey_;
};

} // namespace

std::unique_ptr<PageCipher> unlockRc4CryptoApi(const BinaryEncryption& form,
                                               std::uint32_t encodingKey, const Secret& hashed) {
    auto cipher = std::make_unique<Rc4CryptoApiPages>(hashed, form.keyBytes, encodingKey);
    // The verifier and its hash are one RC4 stream under the key of block 0.
    Secret verifier(form.encryptedVerifier + form.encryptedVerifierHash);
    rc4(cipher->keyFor(blockKey(0, 0)).bytes(), std::span(verifier.data(), verifier.size()));
    const std::size_t size = form.encryptedVerifier.size();
    const Secret expected = digest(HashAlgorithm::Sha1, {verifier.bytes().first(size)});
    const Secret stored(verifier.bytes().subspan(size, form.verifierHashSize));
    if (!(expected.prefix(form.verifierHashSize) == stored))
        return nullptr;
    return cipher;
}

} // namespace quarix::engine
