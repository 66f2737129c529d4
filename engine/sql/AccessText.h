#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quarix::engine::sql {

// Text rules of the Access engine: case-insensitive comparison (also for
// non-ASCII letters), the text order of ORDER BY, and how numbers read from
// and turn into text. Everything here runs per row, so nothing allocates
// except the formatting helpers.

constexpr std::array<unsigned char, 256> makeAsciiLowerTable() {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    return table;
}
inline constexpr std::array<unsigned char, 256> kAsciiLower = makeAsciiLowerTable();

// A name as the function and keyword tables hold it: ASCII letters lowered.
inline std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(kAsciiLower[static_cast<unsigned char>(c)]);
    return out;
}

// Reads one code point from UTF-8 and advances p; malformed bytes read as
// themselves so that comparison stays total.
inline char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end) {
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra == 0 || end - p < extra)
        return c;
    char32_t cp = c & (0x3F >> extra);
    for (; extra > 0; --extra) {
        if ((*p & 0xC0) != 0x80)
            return c;
        cp = (cp << 6) | (*p++ & 0x3F);
    }
    return cp;
}

void appendUtf8(std::string& out, char32_t cp);

// Simple Unicode case folding of one code point.
char32_t foldCase(char32_t cp);

// The folded letter without its accents: the first key of the text order.
char32_t primaryKey(char32_t cp);

// Access's text order: letters compare without regard to case, accented
// letters sort beside their base letter and differ from it only when the
// texts are otherwise equal. Returns <0, 0 or >0; 0 means equal ignoring case.
int compareText(std::string_view a, std::string_view b);

inline bool equalText(std::string_view a, std::string_view b) {
    return compareText(a, b) == 0;
}

// Upper and lower case of a whole text (UCase, LCase).
std::string upperText(std::string_view text);
std::string lowerText(std::string_view text);

// Number of characters (code points) of UTF-8 text.
std::int64_t characterCount(std::string_view text);

// Byte offset of the character with the given 0-based index (clamped to the end).
std::size_t byteOffsetOfCharacter(std::string_view text, std::int64_t index);

// Reads text as Access reads a number: surrounding blanks, sign, digits with
// optional thousands commas, decimal point, exponent. False if it is not one.
bool parseNumber(std::string_view text, double& out);

// A number as Access writes it: integers plainly, other values with up to
// 15 significant digits and no trailing zeros ("0.3", "1.5E+20"), in the
// exponent form when that would take more than 15 decimals
// ("-1.63048347266756E-02").
std::string formatNumber(double value);

// A Single as Access writes it: its seven significant digits only, since the
// further digits of its widened double are noise ("0.1", not "0.100000001").
std::string formatSingle(double value);

} // namespace quarix::engine::sql
