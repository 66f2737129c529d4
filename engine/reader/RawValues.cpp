#include "engine/reader/RawValues.h"

#include "engine/reader/CivilDate.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace quarix::engine {
namespace {

std::uint32_t u32At(std::string_view raw, std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(raw[i])) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(raw[i + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(raw[i + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(raw[i + 3])) << 24;
}

void appendHexByte(std::uint8_t b, std::string& out) {
    constexpr char digits[] = "0123456789ABCDEF";
    out.push_back(digits[b >> 4]);
    out.push_back(digits[b & 0xf]);
}

} // namespace

bool appendGuidText(std::string_view raw, std::string& out) {
    if (raw.size() != 16)
        return false;
    static constexpr int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    out.push_back('{');
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out.push_back('-');
        appendHexByte(static_cast<std::uint8_t>(raw[static_cast<std::size_t>(order[i])]), out);
    }
    out.push_back('}');
    return true;
}

namespace {

// words: the magnitude, most significant first. Long division by 10 on the
// words keeps this exact without a 128-bit type.
void appendScaledWords(std::uint32_t (&words)[4], bool negative, int scale, std::string& out) {
    std::string digits;
    bool nonZero = true;
    while (nonZero) {
        std::uint64_t remainder = 0;
        nonZero = false;
        for (auto& word : words) {
            const std::uint64_t current = remainder << 32 | word;
            word = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
            nonZero = nonZero || word != 0;
        }
        digits.push_back(static_cast<char>('0' + remainder));
    }
    while (digits.size() <= static_cast<std::size_t>(scale))
        digits.push_back('0');
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (negative && !zero)
        out.push_back('-');
    for (std::size_t i = digits.size(); i-- > 0;) {
        out.push_back(digits[i]);
        if (i == static_cast<std::size_t>(scale) && scale > 0)
            out.push_back('.');
    }
}

} // namespace

bool appendDecimalText(std::string_view raw, int scale, std::string& out) {
    if (raw.size() != 17 || scale < 0 || scale > 38)
        return false;
    std::uint32_t words[4];
    for (std::size_t w = 0; w < 4; ++w)
        words[w] = u32At(raw, 1 + 4 * w);
    appendScaledWords(words, (static_cast<std::uint8_t>(raw[0]) & 0x80) != 0, scale, out);
    return true;
}

bool appendCalculatedDecimalText(std::string_view raw, std::string& out) {
    if (raw.size() != 16)
        return false;
    const int scale = static_cast<std::uint8_t>(raw[2]);
    if (scale > 28)
        return false;
    std::uint32_t words[4] = {0, u32At(raw, 4), u32At(raw, 12), u32At(raw, 8)};
    appendScaledWords(words, (static_cast<std::uint8_t>(raw[3]) & 0x80) != 0, scale, out);
    return true;
}

bool appendDateTimeExtendedText(std::string_view raw, std::string& out) {
    // Fields separated by ':'; trailing NULs or spaces are padding.
    std::vector<std::uint64_t> fields;
    std::size_t i = 0;
    while (i < raw.size() && fields.size() < 2) {
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(raw.data() + i, raw.data() + raw.size(), value);
        if (ec != std::errc())
            return false;
        fields.push_back(value);
        i = static_cast<std::size_t>(end - raw.data());
        if (i < raw.size() && raw[i] == ':')
            ++i;
        else
            break;
    }
    if (fields.size() != 2)
        return false;
    constexpr std::uint64_t ticksPerDay = 864'000'000'000ULL;
    const std::uint64_t days = fields[0];
    const std::uint64_t ticks = fields[1];
    if (days > 3'652'058 || ticks >= ticksPerDay)
        return false;
    const CivilDate date = civilFromDays(daysFromCivil(1, 1, 1) + static_cast<std::int64_t>(days));
    const std::uint64_t seconds = ticks / 10'000'000;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02u:%02u:%02u.%07u", date.year,
                  date.month, date.day, static_cast<unsigned>(seconds / 3600),
                  static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60),
                  static_cast<unsigned>(ticks % 10'000'000));
    out += buffer;
    return true;
}

std::optional<std::string_view> unwrapCalculatedValue(std::string_view raw) {
    constexpr std::size_t headerSize = 20;
    if (raw.size() < headerSize)
        return std::nullopt;
    const std::uint32_t length = u32At(raw, 16);
    if (length > raw.size() - headerSize)
        return std::nullopt;
    return raw.substr(headerSize, length);
}

} // namespace quarix::engine
