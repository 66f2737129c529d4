#pragma once

#include "engine/crypto/Secret.h"
#include "engine/reader/Catalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarix::engine {

// What the first page of an Access file says about it, read without libmdb
// (which accepts an empty or all-zero file as Jet 3).
struct FileHeader {
    FileFormat format = FileFormat::Jet4;
    std::uint16_t codePage = 0; // Jet 3 text encoding
    // Every page after the first is encrypted under a key made from this
    // one and the page number; 0 when pages are stored as they are.
    std::uint32_t encodingKey = 0;
    // Jet 3/4: the database password as stored (unmasked; zeros when none).
    Secret storedPassword;
    // ACE with an encoding key: the Office EncryptionInfo that says how.
    std::string encryptionInfo;
};

// Reads the header from the file's first bytes; nothing when the bytes do not
// start like an Access database.
std::optional<FileHeader> parseFileHeader(std::string_view firstPage);

// The header as the file at path holds it; nothing when it cannot be read or
// is not an Access file.
std::optional<FileHeader> readFileHeader(const char* path);

// The bytes of a file's first page with the encoding key read as 0, for a
// reader to which the pages are handed already decrypted.
std::string withoutEncodingKey(std::string_view firstPage, const FileHeader& header);

} // namespace quarix::engine
