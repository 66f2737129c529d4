#include "engine/reader/FileHeader.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace quarix::engine {
namespace {

constexpr std::size_t magicOffset = 4;
constexpr std::size_t versionOffset = 0x14;
constexpr std::size_t maskStart = 0x18;
constexpr std::size_t maskLength = 128; // 126 in Jet 3: the fields read here are within both
constexpr std::size_t codePageOffset = 0x3c;
constexpr std::size_t encodingKeyOffset = 0x3e;
constexpr std::size_t passwordOffset = 0x42;
constexpr std::size_t jet3PasswordLength = 20;
constexpr std::size_t jet4PasswordLength = 40;
constexpr std::size_t creationDateOffset = 0x72;
constexpr std::size_t encryptionInfoOffset = 0x299;

// The part of the header after maskStart is hidden under a fixed RC4 key
// stream.
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

// The masked part of the header, unmasked.
std::array<std::uint8_t, maskLength> unmasked(std::string_view page) {
    static const auto mask = headerMask();
    std::array<std::uint8_t, maskLength> out{};
    for (std::size_t i = 0; i < maskLength; ++i)
        out[i] =
            static_cast<std::uint8_t>(static_cast<std::uint8_t>(page[maskStart + i]) ^ mask[i]);
    return out;
}

template <typename T>
T fieldAt(const std::array<std::uint8_t, maskLength>& header, std::size_t offset) {
    T value;
    std::memcpy(&value, header.data() + offset - maskStart, sizeof value);
    return value;
}

// Jet 4 hides the password once more under the whole days of the file's
// creation date, repeated.
Secret jet4Password(const std::array<std::uint8_t, maskLength>& header) {
    const double created = fieldAt<double>(header, creationDateOffset);
    const auto days =
        created > -2.0e9 && created < 2.0e9 ? static_cast<std::int32_t>(std::floor(created)) : 0;
    std::uint8_t dayBytes[4];
    std::memcpy(dayBytes, &days, 4);
    Secret password = Secret::zeros(jet4PasswordLength);
    for (std::size_t i = 0; i < jet4PasswordLength; ++i)
        password.data()[i] = header[passwordOffset - maskStart + i] ^ dayBytes[i % 4];
    return password;
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
    auto fields = unmasked(page);
    header.codePage = fieldAt<std::uint16_t>(fields, codePageOffset);
    header.encodingKey = fieldAt<std::uint32_t>(fields, encodingKeyOffset);
    if (header.format == FileFormat::Jet3)
        header.storedPassword =
            Secret(std::span(fields).subspan(passwordOffset - maskStart, jet3PasswordLength));
    else if (header.format == FileFormat::Jet4)
        header.storedPassword = jet4Password(fields);
    wipeBytes(fields.data(), fields.size());

    if (header.format == FileFormat::Ace && header.encodingKey != 0 &&
        page.size() >= encryptionInfoOffset + 2) {
        std::uint16_t length = 0;
        std::memcpy(&length, page.data() + encryptionInfoOffset, 2);
        header.encryptionInfo = std::string(page.substr(encryptionInfoOffset + 2, length));
    }
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

std::string withoutEncodingKey(std::string_view firstPage, const FileHeader& header) {
    std::string page(firstPage);
    // The stored bytes are the key under the mask: taking the key out of
    // them leaves the mask alone, which reads as 0.
    for (std::size_t i = 0; i < 4 && encodingKeyOffset + i < page.size(); ++i)
        page[encodingKeyOffset + i] =
            static_cast<char>(static_cast<std::uint8_t>(page[encodingKeyOffset + i]) ^
                              ((header.encodingKey >> (8 * i)) & 0xff));
    return page;
}

} // namespace quarix::engine
