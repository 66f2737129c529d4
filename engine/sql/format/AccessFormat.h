#pragma once

#include "engine/sql/Weeks.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Access's Format, in US conventions: named formats ("Currency", "Long
// Date", ...) and custom formats of up to four ;-separated sections with
// number placeholders (0 # . , % E+), date parts (yyyy mm dd hh nn ss
// AM/PM ttttt ...) and text placeholders (@ & < > !), "quoted" literals
// and backslash escapes, [Color] names (no colour in text) and *c fills
// (no width to fill in text, so they show nothing).
namespace quarix::engine::sql::format {

// What a format (named or custom) formats: numbers, dates or text; Literal
// for a format of literals and modifiers (< > !) alone, which formats a
// number, or a text that reads as one, as a number and anything else as text.
enum class Style { Number, Date, Text, Literal };
Style styleOf(std::string_view format);

// The ;-separated sections of a custom format; quoted and escaped ; stay.
std::vector<std::string_view> sectionsOf(std::string_view format);

// A number in a number format, named or custom: the positive, negative,
// zero section, or the first one with a minus sign when there is no other.
// A number that rounds to zero in its section takes the zero section, and
// shows no sign.
std::string formatNumberValue(double value, std::string_view format);

// The Null section (the fourth) of a number format; nullopt when it has none.
std::optional<std::string> formatNullValue(std::string_view format);

// A date serial in a date format, named or custom (in range: the caller checks).
std::string formatDateValue(double serial, std::string_view format, const WeekRule& rule);

// A text in a text format: the first section, or for "" (and Null) the
// second, or nothing when there is no second.
std::string formatTextValue(std::string_view text, std::string_view format);

// Digits of a non-negative number rounded half away from zero at the given
// decimals, on its 15-significant-digit decimal value (2.675 -> 2.68): the
// whole part without leading zeros ("" for 0) and exactly `decimals`
// fraction digits.
struct RoundedDigits {
    std::string whole;
    std::string fraction;
};
RoundedDigits roundDecimal(double value, int decimals);

// A literal piece of a format at i: "quoted text", \x, or a [Color] name;
// advances i past it. nullopt when none starts at i.
std::optional<std::string> literalAt(std::string_view format, std::size_t& i);

} // namespace quarix::engine::sql::format
