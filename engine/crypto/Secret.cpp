#include "engine/crypto/Secret.h"

#include <cstring>

namespace quarix::engine {

void wipeBytes(void* bytes, std::size_t size) {
    ::explicit_bzero(bytes, size);
}

Secret::Secret(std::string_view bytes)
    : Secret(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) {}

Secret::Secret(std::span<const std::uint8_t> bytes) : size_(bytes.size()) {
    if (size_ > 0) {
        bytes_ = std::make_unique<std::uint8_t[]>(size_);
        std::memcpy(bytes_.get(), bytes.data(), size_);
    }
}

Secret Secret::zeros(std::size_t size) {
    Secret s;
    if (size > 0) {
        s.bytes_ = std::make_unique<std::uint8_t[]>(size);
        s.size_ = size;
    }
    return s;
}

Secret::~Secret() {
    wipe();
}

Secret::Secret(const Secret& other) : Secret(other.bytes()) {}

Secret& Secret::operator=(const Secret& other) {
    if (this != &other)
        *this = Secret(other);
    return *this;
}

Secret::Secret(Secret&& other) noexcept : bytes_(std::move(other.bytes_)), size_(other.size_) {
    other.size_ = 0;
}

Secret& Secret::operator=(Secret&& other) noexcept {
    if (this != &other) {
        wipe();
        bytes_ = std::move(other.bytes_);
        size_ = other.size_;
        other.size_ = 0;
    }
    return *this;
}

Secret Secret::prefix(std::size_t n) const {
    return Secret(bytes().first(n < size_ ? n : size_));
}

void Secret::wipe() {
    if (bytes_)
        wipeBytes(bytes_.get(), size_);
    bytes_.reset();
    size_ = 0;
}

bool Secret::operator==(const Secret& other) const {
    if (size_ != other.size_)
        return false;
    std::uint8_t difference = 0;
    for (std::size_t i = 0; i < size_; ++i)
        difference |= static_cast<std::uint8_t>(bytes_[i] ^ other.bytes_[i]);
    return difference == 0;
}

} // namespace quarix::engine
