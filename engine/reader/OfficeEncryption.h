#pragma once

#include "engine/crypto/Hash.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace quarix::engine {

// How an ACE file is encrypted, as its EncryptionInfo says (the Office
// document encryption format). Only what is public sits here: salts and
// encrypted verifiers, never a key.

// The binary forms (versions 2.2, 3.2 and 4.2): RC4 CryptoAPI, and
// standard encryption with AES.
struct BinaryEncryption {
    bool aes = false; // AES block by block, else RC4
    std::size_t keyBytes = 0;
    // Rounds of hashing the password: 50,000 for standard AES, none for RC4
    // and for AES written without the standard flag.
    std::uint32_t hashRounds = 0;
    std::string salt;
    std::string encryptedVerifier;
    std::string encryptedVerifierHash;
    std::size_t verifierHashSize = 0;
};

// One AES cipher (CBC) of the Agile form.
struct AgileCipher {
    HashAlgorithm hash = HashAlgorithm::Sha1;
    std::size_t keyBytes = 0;
    std::size_t blockSize = 16;
    std::string salt;
};

// The Agile form (version 4.4, XML): the pages are encrypted with the file's
// own key, which is stored encrypted under a key made from the password.
struct AgileEncryption {
    AgileCipher pages;
    AgileCipher password;
    std::uint32_t hashRounds = 0;
    std::string encryptedVerifierInput;
    std::string encryptedVerifierValue;
    std::string encryptedKey;
};

struct UnreadableEncryption {};

struct OfficeEncryption {
    std::variant<UnreadableEncryption, BinaryEncryption, AgileEncryption> form;
    // In words, for messages: "Office Agile encryption (AES-256, SHA-512)",
    // or for a form Quarix cannot read, which one it is.
    std::string scheme;
};

OfficeEncryption parseOfficeEncryption(std::string_view info);

// The Agile form from its XML descriptor.
OfficeEncryption parseAgileDescriptor(std::string_view xml);

std::string hashName(HashAlgorithm algorithm);

} // namespace quarix::engine
