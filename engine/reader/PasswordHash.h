#pragma once

#include "engine/crypto/Hash.h"
#include "engine/crypto/Secret.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quarix::engine {

// A password as Office encryption hashes it: UTF-16LE, at most 255
// characters. Empty when the UTF-8 given is not valid.
Secret officePassword(const Secret& utf8);

// The costly part of making a key from a password: the hash of salt and
// password, hashed again `rounds` times with the round number in front. It
// depends on nothing else, so it is made once per file and handed to every
// read of it.
struct HashedPassword {
    HashAlgorithm hash = HashAlgorithm::Sha1;
    std::string salt;
    std::uint32_t rounds = 0;
    Secret value;

    bool fits(HashAlgorithm h, std::string_view s, std::uint32_t r) const {
        return hash == h && salt == s && rounds == r && !value.empty();
    }
};

HashedPassword hashPassword(HashAlgorithm hash, std::string_view salt, std::uint32_t rounds,
                            const Secret& officePassword);

} // namespace quarix::engine
