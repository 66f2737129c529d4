#include "engine/reader/OfficeEncryption.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace quarix::engine {
namespace {

constexpr std::uint32_t cryptoApiFlag = 0x04;
constexpr std::uint32_t externalFlag = 0x10;
constexpr std::uint32_t aesFlag = 0x20;
constexpr std::uint32_t algorithmFromFlags = 0;
constexpr std::uint32_t rc4Algorithm = 0x6801;
constexpr std::uint32_t aes128Algorithm = 0x660e;
constexpr std::uint32_t aes256Algorithm = 0x6610;
constexpr std::uint32_t sha1Algorithm = 0x8004;
constexpr std::uint32_t standardHashRounds = 50000;
constexpr std::uint32_t agileReserved = 0x40;

// Little-endian fields in order; nothing once one runs past the end.
class Fields {
public:
    explicit Fields(std::string_view bytes) : bytes_(bytes) {}
    std::optional<std::uint32_t> u32() {
        const auto b = take(4);
        if (!b)
            return std::nullopt;
        std::uint32_t v = 0;
        std::memcpy(&v, b->data(), 4);
        return v;
    }
    std::optional<std::uint16_t> u16() {
        const auto b = take(2);
        if (!b)
            return std::nullopt;
        std::uint16_t v = 0;
        std::memcpy(&v, b->data(), 2);
        return v;
    }
    std::optional<std::string_view> take(std::size_t n) {
        if (n > bytes_.size())
            return std::nullopt;
        const auto part = bytes_.substr(0, n);
        bytes_.remove_prefix(n);
        return part;
    }
    std::string_view rest() const { return bytes_; }

private:
    std::string_view bytes_;
};

OfficeEncryption unreadable(std::string scheme) {
    return {UnreadableEncryption{}, std::move(scheme)};
}

// The provider's name (UTF-16LE) in lower case ASCII, enough to find " base ".
std::string providerName(std::string_view utf16) {
    std::string name;
    for (std::size_t i = 0; i + 1 < utf16.size() && utf16[i] != '\0'; i += 2)
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(utf16[i])));
    return name;
}

OfficeEncryption parseBinary(Fields in) {
    const auto flags = in.u32();
    const auto headerSize = in.u32();
    if (!flags || !headerSize)
        return unreadable("a damaged Office encryption header");
    if ((*flags & externalFlag) != 0)
        return unreadable("Office extensible encryption");
    if ((*flags & cryptoApiFlag) == 0)
        return unreadable("an unknown Office encryption");
    const auto headerBytes = in.take(*headerSize);
    if (!headerBytes)
        return unreadable("a damaged Office encryption header");
    Fields header(*headerBytes);
    const auto headerFlags = header.u32();
    const auto sizeExtra = header.u32();
    auto algorithm = header.u32();
    const auto hash = header.u32();
    auto keyBits = header.u32();
    const auto provider = header.u32();
    const auto reserved1 = header.u32();
    const auto reserved2 = header.u32();
    if (!headerFlags || !sizeExtra || !algorithm || !hash || !keyBits || !provider || !reserved1 ||
        !reserved2)
        return unreadable("a damaged Office encryption header");
    if (*hash != algorithmFromFlags && *hash != sha1Algorithm)
        return unreadable("Office encryption with an unknown hash");
    if (*algorithm == algorithmFromFlags)
        algorithm = (*headerFlags & aesFlag) != 0 ? aes128Algorithm : rc4Algorithm;

    BinaryEncryption form;
    std::string scheme;
    if (*algorithm == rc4Algorithm) {
        if ((*flags & aesFlag) != 0)
            return unreadable("a damaged Office encryption header");
        if (*keyBits == 0) {
            const std::string name = providerName(header.rest());
            *keyBits = name.empty() || name.find(" base ") != std::string::npos ? 40 : 128;
        }
        if (*keyBits < 40 || *keyBits > 128 || *keyBits % 8 != 0)
            return unreadable("Office RC4 CryptoAPI encryption with a " + std::to_string(*keyBits) +
                              "-bit key");
        scheme = "Office RC4 CryptoAPI encryption (" + std::to_string(*keyBits) + "-bit)";
    } else if (*algorithm >= aes128Algorithm && *algorithm <= aes256Algorithm) {
        const std::uint32_t bits = 128 + 64 * (*algorithm - aes128Algorithm);
        if (*keyBits != 0 && *keyBits != bits)
            return unreadable("a damaged Office encryption header");
        *keyBits = bits;
        form.aes = true;
        // Written without the AES flag, the password is hashed once only.
        form.hashRounds = (*flags & aesFlag) != 0 ? standardHashRounds : 0;
        scheme = "Office standard encryption (AES-" + std::to_string(bits) + ")";
    } else {
        return unreadable("Office encryption with an unknown cipher");
    }
    form.keyBytes = *keyBits / 8;

    const auto saltSize = in.u32();
    const auto salt = saltSize && *saltSize == 16 ? in.take(*saltSize) : std::nullopt;
    const auto verifier = in.take(16);
    const auto verifierHashSize = in.u32();
    const auto verifierHash = in.take(form.aes ? 32 : 20);
    if (!salt || !verifier || !verifierHashSize || !verifierHash || *verifierHashSize > 20)
        return unreadable("a damaged Office encryption header");
    form.salt = *salt;
    form.encryptedVerifier = *verifier;
    form.encryptedVerifierHash = *verifierHash;
    form.verifierHashSize = *verifierHashSize;
    return {form, scheme};
}

} // namespace

std::string hashName(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1:
        return "SHA-1";
    case HashAlgorithm::Sha256:
        return "SHA-256";
    case HashAlgorithm::Sha384:
        return "SHA-384";
    case HashAlgorithm::Sha512:
        break;
    }
    return "SHA-512";
}

OfficeEncryption parseOfficeEncryption(std::string_view info) {
    Fields in(info);
    const auto major = in.u16();
    const auto minor = in.u16();
    if (!major || !minor)
        return unreadable("a damaged Office encryption header");
    if (*major == 4 && *minor == 4) {
        const auto reserved = in.u32();
        if (!reserved || *reserved != agileReserved)
            return unreadable("a damaged Office encryption header");
        return parseAgileDescriptor(in.rest());
    }
    if ((*major == 3 || *major == 4) && *minor == 3)
        return unreadable("Office extensible encryption");
    if (*major == 1 && *minor == 1)
        return unreadable("Office binary RC4 encryption");
    if (*major >= 2 && *major <= 4 && *minor == 2)
        return parseBinary(in);
    return unreadable("an unknown Office encryption (version " + std::to_string(*major) + "." +
                      std::to_string(*minor) + ")");
}

} // namespace quarix::engine
