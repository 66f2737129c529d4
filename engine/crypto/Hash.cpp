#include "engine/crypto/Hash.h"

#include <nettle/nettle-meta.h>

namespace quarix::engine {
namespace {

const nettle_hash* kindOf(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Sha1:
        return &nettle_sha1;
    case HashAlgorithm::Sha256:
        return &nettle_sha256;
    case HashAlgorithm::Sha384:
        return &nettle_sha384;
    case HashAlgorithm::Sha512:
        break;
    }
    return &nettle_sha512;
}

} // namespace

std::size_t digestSize(HashAlgorithm algorithm) {
    return kindOf(algorithm)->digest_size;
}

Hash::Hash(HashAlgorithm algorithm)
    : kind_(kindOf(algorithm)), state_(std::make_unique<std::uint8_t[]>(kind_->context_size)) {
    kind_->init(state_.get());
}

Hash::~Hash() {
    wipeBytes(state_.get(), kind_->context_size);
}

std::size_t Hash::size() const {
    return kind_->digest_size;
}

Hash& Hash::add(std::span<const std::uint8_t> bytes) {
    kind_->update(state_.get(), bytes.size(), bytes.data());
    return *this;
}

void Hash::finish(std::uint8_t* out) {
    kind_->digest(state_.get(), kind_->digest_size, out);
    kind_->init(state_.get());
}

Secret Hash::finish() {
    Secret out = Secret::zeros(size());
    finish(out.data());
    return out;
}

Secret digest(HashAlgorithm algorithm, std::initializer_list<std::span<const std::uint8_t>> parts) {
    Hash hash(algorithm);
    for (const auto& part : parts)
        hash.add(part);
    return hash.finish();
}

} // namespace quarix::engine
