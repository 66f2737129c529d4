#pragma once

#include "engine/reader/Catalogue.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quarix::engine {

// What the first page of an Access file says about it, read without libmdb
// (which accepts an empty or all-zero file as Jet 3).
struct FileHeader {
    FileFormat format = FileFormat::Jet4;
    std::uint16_t codePage = 0; // Jet 3 text encoding
    bool encrypted = false;     // ACCDB with a database password
};

// Reads the header from the file's first bytes; nothing when the bytes do not
// start like an Access database.
std::optional<FileHeader> parseFileHeader(std::string_view firstPage);

// The header as the file at path holds it; nothing when it cannot be read or
// is not an Access file.
std::optional<FileHeader> readFileHeader(const char* path);

} // namespace quarix::engine
