#pragma once

#include "engine/crypto/Secret.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>

struct nettle_hash;

namespace quarix::engine {

enum class HashAlgorithm { Sha1, Sha256, Sha384, Sha512 };

std::size_t digestSize(HashAlgorithm algorithm);

// A digest of parts added in turn. Finishing starts it afresh, so one Hash
// serves a loop; its state is wiped when it goes.
class Hash {
public:
    explicit Hash(HashAlgorithm algorithm);
    ~Hash();
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;

    std::size_t size() const;
    Hash& add(std::span<const std::uint8_t> bytes);
    // Writes size() bytes to out.
    void finish(std::uint8_t* out);
    Secret finish();

private:
    const nettle_hash* kind_;
    std::unique_ptr<std::uint8_t[]> state_;
};

// The digest of the parts one after the other.
Secret digest(HashAlgorithm algorithm, std::initializer_list<std::span<const std::uint8_t>> parts);

} // namespace quarix::engine
