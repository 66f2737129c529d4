#include "engine/reader/FileLock.h"

#include "engine/reader/JetPassword.h"
#include "engine/reader/OfficeEncryption.h"

#include <variant>

namespace quarix::engine {

FileLock lockOf(const FileHeader& header) {
    if (header.format != FileFormat::Ace) {
        const std::string encoding = "Jet RC4 page encoding";
        if (!jetPassword(header).empty())
            return {LockKind::DatabasePassword, header.encodingKey != 0
                                                    ? "a database password and " + encoding
                                                    : "a database password"};
        if (header.encodingKey != 0)
            return {LockKind::JetEncoding, encoding};
        return {};
    }
    if (header.encodingKey == 0)
        return {};
    const OfficeEncryption encryption = parseOfficeEncryption(header.encryptionInfo);
    if (std::holds_alternative<AgileEncryption>(encryption.form))
        return {LockKind::OfficeAgile, encryption.scheme};
    if (const auto* binary = std::get_if<BinaryEncryption>(&encryption.form))
        return {binary->aes ? LockKind::OfficeStandard : LockKind::OfficeRc4CryptoApi,
                encryption.scheme};
    return {LockKind::Unsupported, encryption.scheme};
}

FileLock probeFileLock(const std::string& path) {
    const auto header = readFileHeader(path.c_str());
    return header ? lockOf(*header) : FileLock{};
}

} // namespace quarix::engine
