#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarix::engine {

// Decoders for the stored forms that are neither numbers nor text. Each
// appends its text form and returns false when the bytes do not fit.

// 16 bytes -> "{8-4-4-4-12}" upper case (first three groups little endian).
bool appendGuidText(std::string_view raw, std::string& out);

// 17 bytes (sign byte, four 32-bit words most significant first) ->
// plain decimal text with exactly `scale` decimals.
bool appendDecimalText(std::string_view raw, int scale, std::string& out);

// A calculated column's decimal result: 16 bytes laid out as precision,
// scale (byte 2), sign (byte 3, 0x80 negative), then the 96-bit magnitude as
// high, low and middle 32-bit words.
bool appendCalculatedDecimalText(std::string_view raw, std::string& out);

// Date/Time Extended: ASCII "days:ticks:..." counted from 0001-01-01 in
// 100 ns ticks -> "yyyy-MM-dd HH:mm:ss.fffffff".
bool appendDateTimeExtendedText(std::string_view raw, std::string& out);

// Calculated columns wrap their value: a 20-byte header whose length field
// (offset 16) gives the size of the value that follows.
std::optional<std::string_view> unwrapCalculatedValue(std::string_view raw);

} // namespace quarix::engine
