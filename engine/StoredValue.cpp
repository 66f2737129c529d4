#include "engine/StoredValue.h"

#include "engine/reader/CivilDate.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quarix::engine {
namespace {

// Shortest round-trip digits in the layout Java's Double.toString and
// Float.toString use, which the fixtures follow: plain "123.45" / "7.0" for
// magnitudes from 10^-3 up to 10^7, otherwise "1.0E300" / "-3.0E38".
template <typename T> std::string shortestNumber(T value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0)
        return std::signbit(value) ? "-0.0" : "0.0";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            digits.push_back(c);
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    std::string out = value < 0 ? "-" : "";
    if (exponent >= -3 && exponent < 7) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const auto intDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() < intDigits)
                digits.append(intDigits - digits.size(), '0');
            out.append(digits, 0, intDigits);
            out += '.';
            out += digits.size() > intDigits ? digits.substr(intDigits) : "0";
        }
        return out;
    }
    out += digits[0];
    out += '.';
    out += digits.size() > 1 ? digits.substr(1) : "0";
    out += 'E';
    out += std::to_string(exponent);
    return out;
}

// Access's serial date: the integer part counts days from 1899-12-30 (back
// for negative values), the fraction is the time of day in either case.
std::string dateText(double serial) {
    if (!std::isfinite(serial))
        return {};
    double whole = std::trunc(serial);
    auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(serial - whole) * 86400.0));
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += 1;
    }
    if (std::fabs(whole) > 4'000'000)
        return {};
    const CivilDate date = civilFromDays(accessEpochDays + static_cast<std::int64_t>(whole));
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u %02d:%02d:%02d", date.year, date.month,
                  date.day, static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
    return buffer;
}

// Currency shows at least two decimals and at most the four it stores.
std::string currencyText(std::int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const auto magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                    : static_cast<std::uint64_t>(tenThousandths);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (fraction.size() > 2 && fraction.back() == '0')
        fraction.pop_back();
    return (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
}

// Decimals are stored with their full scale; the display drops trailing zeros.
std::string decimalText(std::string_view stored) {
    std::string text(stored);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::string hexText(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xf]);
    }
    return out;
}

} // namespace

std::string displayText(ColumnType type, const StoredValue& value) {
    const Shown shown = traitsOf(type).shown;
    switch (value.kind) {
    case StoredValue::Kind::Null:
        return {};
    case StoredValue::Kind::Blob:
        return hexText(value.bytes);
    case StoredValue::Kind::Text:
        return shown == Shown::Decimal ? decimalText(value.bytes) : std::string(value.bytes);
    case StoredValue::Kind::Real:
        if (shown == Shown::Date)
            return dateText(value.real);
        if (shown == Shown::Single)
            return shortestNumber(static_cast<float>(value.real));
        return shortestNumber(value.real);
    case StoredValue::Kind::Integer:
        if (shown == Shown::YesNo)
            return value.integer != 0 ? "True" : "False";
        if (shown == Shown::Currency)
            return currencyText(value.integer);
        return std::to_string(value.integer);
    }
    return {};
}

} // namespace quarix::engine
