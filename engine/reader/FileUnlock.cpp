#include "engine/reader/FileUnlock.h"

#include "engine/reader/JetPassword.h"
#include "engine/reader/OfficeEncryption.h"
#include "engine/reader/ReaderErrors.h"

#include <variant>

namespace quarix::engine {
namespace {

// The hashed password for these parameters: the one the caller made when
// it fits (it does unless the file changed since), else made here.
Secret hashedFor(const Credentials& credentials, HashAlgorithm hash, const std::string& salt,
                 std::uint32_t rounds) {
    if (credentials.hashed && credentials.hashed->fits(hash, salt, rounds))
        return credentials.hashed->value;
    const Secret office = officePassword(credentials.password);
    if (office.empty())
        throw reader_errors::wrongPasswordError();
    return hashPassword(hash, salt, rounds, office).value;
}

std::unique_ptr<PageCipher> unlockOffice(const FileHeader& header, const Credentials& credentials,
                                         const std::string& path) {
    const OfficeEncryption encryption = parseOfficeEncryption(header.encryptionInfo);
    if (std::holds_alternative<UnreadableEncryption>(encryption.form))
        throw reader_errors::unsupportedEncryptionError(path, encryption.scheme);
    if (credentials.empty())
        throw reader_errors::wrongPasswordError();
    std::unique_ptr<PageCipher> cipher;
    if (const auto* agile = std::get_if<AgileEncryption>(&encryption.form)) {
        cipher = unlockAgile(
            *agile, header.encodingKey,
            hashedFor(credentials, agile->password.hash, agile->password.salt, agile->hashRounds));
    } else {
        const auto& binary = std::get<BinaryEncryption>(encryption.form);
        const Secret hashed =
            hashedFor(credentials, HashAlgorithm::Sha1, binary.salt, binary.hashRounds);
        cipher = binary.aes ? unlockStandardAes(binary, header.encodingKey, hashed)
                            : unlockRc4CryptoApi(binary, header.encodingKey, hashed);
    }
    if (!cipher)
        throw reader_errors::wrongPasswordError();
    return cipher;
}

} // namespace

std::unique_ptr<PageCipher> unlockFile(const FileHeader& header, const Credentials& credentials,
                                       const std::string& path) {
    if (header.format == FileFormat::Ace)
        return header.encodingKey == 0 ? nullptr : unlockOffice(header, credentials, path);
    const Secret stored = jetPassword(header);
    if (!stored.empty() && !(stored == credentials.password))
        throw reader_errors::wrongPasswordError();
    return nullptr;
}

} // namespace quarix::engine
