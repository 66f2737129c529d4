#pragma once

#include <string_view>

namespace quarix::engine::sql {

// How Val and IsNumeric read numbers out of text, as VBA does: blanks
// (spaces, tabs, line feeds) anywhere in the text are skipped, an exponent
// is written with E or D, and &H (hexadecimal) and &O (octal) numbers are
// signed 16-bit when they fit in 16 bits, else signed 32-bit.
struct ValResult {
    enum class Status {
        Ok,
        Overflow,     // a radix number wider than 32 bits, or beyond Double
        TypeMismatch, // a whole-number type suffix (% or &) after a fraction: "50.5%"
    } status = Status::Ok;
    double value = 0;
};

// The number the text starts with; 0 when it starts with none.
ValResult valOfText(std::string_view text);

// Whether the whole text reads as a number.
bool isNumericText(std::string_view text);

} // namespace quarix::engine::sql
