#pragma once

#include "engine/crypto/Secret.h"
#include "engine/reader/FileHeader.h"
#include "engine/reader/PasswordHash.h"

#include <optional>
#include <span>

namespace quarix::engine {

// What opens a locked file: the password as typed (UTF-8) and, for Office
// encryption, the password hashed once for the file so that each read need
// not repeat the costly rounds. The reader receives it on its standard
// input, never in its arguments or environment.
struct Credentials {
    Secret password;
    std::optional<HashedPassword> hashed;

    bool empty() const { return password.empty(); }
};

// The credentials for the file with this header: the password, hashed when
// the file has Office encryption.
Credentials credentialsFor(const FileHeader& header, Secret password);

Secret encodeCredentials(const Credentials& credentials);
// Empty credentials when the bytes are not what encodeCredentials makes.
Credentials decodeCredentials(std::span<const std::uint8_t> bytes);

} // namespace quarix::engine
