#include "engine/reader/FileHeader.h"

#include <array>
#include <cstdio>
#include <memory>

namespace quarix::engine {
namespace {

constexpr std::size_t magicOffset = 4;
constexpr std::size_t versionOffset = 0x14;
constexpr std::size_t maskStart = 0x18;
constexpr std::size_t maskLength = 128;
constexpr std::size_t codePageOffset = 0x3c;
constexpr std::size_t encodingKeyOffset = 0x3e;

// The part of the header after maskStart is hidden under a fixed RC4 key
// stream; only the fields Quarix needs are unmasked.
std::array<std::uint8_t, maskLength> headerMask() {
    const std::array<std::uint8_t, 4> key{0xc7, 0xda, 0x39, 0x6b};
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i)
        state[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::array<std::uint8_t, maskLength> mask{};
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (auto& m : mask) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + state[a]);
        std::swap(state[a], state[b]);
        m = state[static_cast<std::uint8_t>(state[a] + state[b])];
    }
    return mask;
}

std::uint8_t unmaskedByte(std::string_view page, std::size_t offset) {
    static const auto mask = headerMask();
    return static_cast<std::uint8_t>(static_cast<std::uint8_t>(page[offset]) ^
                                     mask[offset - maskStart]);
}

} // namespace

std::optional<FileHeader> parseFileHeader(std::string_view page) {
    if (page.size() < maskStart + maskLength)
        return std::nullopt;
    const std::string_view magic = page.substr(magicOffset, 15);
    const bool jet = magic == "Standard Jet DB";
    const bool ace = magic == "Standard ACE DB";
    if (!jet && !ace)
        return std::nullopt;

    FileHeader header;
    const auto version = static_cast<std::uint8_t>(page[versionOffset]);
    header.format = ace || version >= 2 ? FileFormat::Ace
                    : version == 0      ? FileFormat::Jet3
                                        : FileFormat::Jet4;
    header.codePage = static_cast<std::uint16_t>(unmaskedByte(page, codePageOffset) |
                                                 unmaskedByte(page, codePageOffset + 1) << 8);
    // Jet 4 files with a key are RC4-encoded, which libmdb undoes; an ACCDB
    // with a key is encrypted with its password.
    bool hasKey = false;
    for (std::size_t i = 0; i < 4; ++i)
        hasKey = hasKey || unmaskedByte(page, encodingKeyOffset + i) != 0;
    header.encrypted = header.format == FileFormat::Ace && hasKey;
    return header;
}

std::optional<FileHeader> readFileHeader(const char* path) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), &std::fclose);
    if (!file)
        return std::nullopt;
    std::array<char, 4096> page{};
    const std::size_t got = std::fread(page.data(), 1, page.size(), file.get());
    return parseFileHeader(std::string_view(page.data(), got));
}

} // namespace quarix::engine
