#include "engine/sql/NumericText.h"

#include "engine/sql/AccessText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace quarix::engine::sql {

namespace {

std::string withoutBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out += c;
    return out;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c, int radix) {
    int v = -1;
    if (isDigit(c))
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < radix ? v : -1;
}

struct RadixNumber {
    ValResult result;
    std::size_t end = 0; // where the number stops
    bool anyDigit = false;
};

// An &H or &O number at the start of s; nullopt when s starts with neither.
std::optional<RadixNumber> readRadix(std::string_view s) {
    if (s.size() < 2 || s[0] != '&')
        return std::nullopt;
    const char prefix = static_cast<char>(kAsciiLower[static_cast<unsigned char>(s[1])]);
    const int radix = prefix == 'h' ? 16 : prefix == 'o' ? 8 : 0;
    if (radix == 0)
        return std::nullopt;
    RadixNumber n;
    std::uint64_t value = 0;
    std::size_t i = 2;
    for (; i < s.size() && digitValue(s[i], radix) >= 0; ++i) {
        value = value * static_cast<std::uint64_t>(radix) +
                static_cast<std::uint64_t>(digitValue(s[i], radix));
        n.anyDigit = true;
        if (value > 0xFFFFFFFFull) {
            n.result.status = ValResult::Status::Overflow;
            return n;
        }
    }
    const bool longSuffix = i < s.size() && s[i] == '&';
    if (longSuffix)
        ++i;
    n.end = i;
    if (value <= 0xFFFF && !longSuffix)
        n.result.value = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    else
        n.result.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return n;
}

struct DecimalNumber {
    ValResult result;
    std::size_t end = 0; // where the number stops
    bool anyDigit = false;
};

// The longest decimal number at the start of s. A whole-number type suffix
// after a fraction makes it a type mismatch, as in VBA.
DecimalNumber readDecimal(std::string_view s) {
    DecimalNumber n;
    std::string digits;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        digits += s[i++];
    bool fraction = false, exponent = false;
    for (; i < s.size() && isDigit(s[i]); ++i, n.anyDigit = true)
        digits += s[i];
    if (i < s.size() && s[i] == '.') {
        digits += s[i++];
        for (; i < s.size() && isDigit(s[i]); ++i, n.anyDigit = true, fraction = true)
            digits += s[i];
    }
    if (n.anyDigit && i < s.size() &&
        std::string_view("eEdD").find(s[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        std::string part = "e";
        if (j < s.size() && (s[j] == '-' || s[j] == '+'))
            part += s[j++];
        if (j < s.size() && isDigit(s[j])) {
            for (; j < s.size() && isDigit(s[j]); ++j)
                part += s[j];
            digits += part;
            exponent = true;
            i = j;
        }
    }
    n.end = i;
    if (!n.anyDigit)
        return n;
    n.result.value = std::strtod(digits.c_str(), nullptr);
    if (!std::isfinite(n.result.value))
        n.result.status = ValResult::Status::Overflow;
    if (i < s.size() && (s[i] == '%' || s[i] == '&') && (fraction || exponent))
        n.result.status = ValResult::Status::TypeMismatch;
    return n;
}

} // namespace

ValResult valOfText(std::string_view text) {
    const std::string s = withoutBlanks(text);
    if (const auto radix = readRadix(s))
        return radix->result;
    return readDecimal(s).result;
}

bool isNumericText(std::string_view text) {
    const std::string s = withoutBlanks(text);
    if (const auto radix = readRadix(s))
        return radix->anyDigit && radix->end == s.size() &&
               radix->result.status == ValResult::Status::Ok;
    double ignored = 0;
    if (parseNumber(s, ignored))
        return true;
    const DecimalNumber n = readDecimal(s); // also the D exponent
    return n.anyDigit && n.end == s.size() && n.result.status == ValResult::Status::Ok;
}

} // namespace quarix::engine::sql
