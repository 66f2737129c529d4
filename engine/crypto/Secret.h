#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace quarix::engine {

// Overwrites memory that held a secret, in a way the compiler keeps.
void wipeBytes(void* bytes, std::size_t size);

// A password or key in memory: its bytes are overwritten with zeros when it
// is wiped, reassigned or destroyed, so that they do not linger in freed
// memory. Copies are secrets of their own. Empty means none.
class Secret {
public:
    Secret() = default;
    explicit Secret(std::string_view bytes);
    explicit Secret(std::span<const std::uint8_t> bytes);
    // size zero bytes, to be filled through data().
    static Secret zeros(std::size_t size);
    ~Secret();
    Secret(const Secret& other);
    Secret& operator=(const Secret& other);
    Secret(Secret&& other) noexcept;
    Secret& operator=(Secret&& other) noexcept;

    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    std::uint8_t* data() { return bytes_.get(); }
    const std::uint8_t* data() const { return bytes_.get(); }
    std::span<const std::uint8_t> bytes() const { return {bytes_.get(), size_}; }
    std::string_view text() const { return {reinterpret_cast<const char*>(bytes_.get()), size_}; }

    // The first n bytes (all of them when n is larger).
    Secret prefix(std::size_t n) const;
    // Overwrites the bytes and becomes empty.
    void wipe();

    // Compares in a time that does not depend on where the bytes differ.
    bool operator==(const Secret& other) const;

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
    std::size_t size_ = 0;
};

} // namespace quarix::engine
