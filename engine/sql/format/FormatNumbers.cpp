// Numbers in named and custom number formats.
#include "engine/sql/AccessText.h"
#include "engine/sql/format/AccessFormat.h"
#include "engine/sql/functions/FunctionSupport.h"

#include <cmath>
#include <cstdlib>

namespace quarix::engine::sql::format {

namespace {

// One section of a number format, read into its pieces.
struct NumberPattern {
    struct Piece {
        enum class Kind { Literal, Digit, Point, Exponent } kind;
        std::string text; // Literal: the text; Digit: "0" or "#"; Exponent: "E" or "e"
        bool plusSign = false;
    };
    std::vector<Piece> pieces;
    bool grouping = false;
    int scaleThousands = 0; // commas left of the point divide by 1000 each
    int percents = 0;
};

using Kind = NumberPattern::Piece::Kind;

NumberPattern readPattern(std::string_view section) {
    NumberPattern p;
    int pendingCommas = 0; // commas after the last integer digit placeholder
    bool afterPoint = false, inExponent = false, anyDigit = false;
    auto closeCommas = [&](bool digitFollows) {
        if (pendingCommas > 0 && digitFollows && anyDigit)
            p.grouping = true;
        else if (!digitFollows)
            p.scaleThousands += pendingCommas;
        pendingCommas = 0;
    };
    for (std::size_t i = 0; i < section.size();) {
        if (auto literal = literalAt(section, i)) {
            p.pieces.push_back({Kind::Literal, std::move(*literal)});
            continue;
        }
        const char c = section[i];
        if (c == '0' || c == '#') {
            if (!afterPoint && !inExponent)
                closeCommas(true);
            anyDigit = true;
            p.pieces.push_back({Kind::Digit, std::string(1, c)});
            ++i;
        } else if (c == ',' && !afterPoint && !inExponent) {
            ++pendingCommas;
            ++i;
        } else if (c == '.' && !afterPoint && !inExponent) {
            closeCommas(false);
            afterPoint = true;
            p.pieces.push_back({Kind::Point, "."});
            ++i;
        } else if ((c == 'E' || c == 'e') && i + 1 < section.size() &&
                   (section[i + 1] == '+' || section[i + 1] == '-') && !inExponent) {
            if (!afterPoint)
                closeCommas(false);
            inExponent = true;
            p.pieces.push_back({Kind::Exponent, std::string(1, c), section[i + 1] == '+'});
            i += 2;
        } else if (c == '!') { // fills text from the left: nothing to do in a number
            ++i;
        } else {
            if (c == '%')
                ++p.percents;
            const std::size_t next = byteOffsetOfCharacter(section.substr(i), 1) + i;
            p.pieces.push_back({Kind::Literal, std::string(section.substr(i, next - i))});
            i = next;
        }
    }
    if (!afterPoint && !inExponent)
        closeCommas(false);
    return p;
}

std::string group(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

// The value as the pattern shows it: percents multiply, scaling commas divide.
double scaled(const NumberPattern& p, double value) {
    return value * std::pow(100.0, p.percents) / std::pow(1000.0, p.scaleThousands);
}

// Whether the pattern shows a non-negative value as zero: every digit 0.
bool showsZero(const NumberPattern& p, double value) {
    int fractionSlots = 0;
    bool afterPoint = false;
    for (const auto& piece : p.pieces) {
        if (piece.kind == Kind::Exponent)
            return value == 0;
        afterPoint = afterPoint || piece.kind == Kind::Point;
        fractionSlots += afterPoint && piece.kind == Kind::Digit;
    }
    const RoundedDigits digits = roundDecimal(scaled(p, value), fractionSlots);
    return digits.whole.empty() && digits.fraction.find_first_not_of('0') == std::string::npos;
}

// The pattern applied to a non-negative value.
std::string render(const NumberPattern& p, double value) {
    value = scaled(p, value);
    std::size_t pointAt = p.pieces.size(), exponentAt = p.pieces.size();
    int wholeSlots = 0, fractionSlots = 0, lastZeroSlot = 0, forcedWhole = 0;
    for (std::size_t i = 0; i < p.pieces.size(); ++i) {
        const auto& piece = p.pieces[i];
        if (piece.kind == Kind::Point)
            pointAt = i;
        else if (piece.kind == Kind::Exponent && exponentAt == p.pieces.size())
            exponentAt = i;
        else if (piece.kind == Kind::Digit && i < exponentAt) {
            if (pointAt < i) {
                ++fractionSlots;
                if (piece.text == "0")
                    lastZeroSlot = fractionSlots;
            } else {
                ++wholeSlots;
                if (piece.text == "0" && forcedWhole == 0)
                    forcedWhole = -wholeSlots; // fixed up below once the slots are counted
            }
        }
    }
    const std::size_t wholeEnd = std::min(pointAt, exponentAt);
    int exponent = 0;
    RoundedDigits digits = roundDecimal(value, fractionSlots);
    if (exponentAt < p.pieces.size() && value > 0) {
        exponent = static_cast<int>(std::floor(std::log10(value))) - (wholeSlots - 1);
        digits = roundDecimal(value / std::pow(10.0, exponent), fractionSlots);
        if (static_cast<int>(digits.whole.size()) > std::max(wholeSlots, 0)) {
            ++exponent;
            digits = roundDecimal(value / std::pow(10.0, exponent), fractionSlots);
        }
    }
    while (static_cast<int>(digits.fraction.size()) > lastZeroSlot && digits.fraction.back() == '0')
        digits.fraction.pop_back();

    // The whole part, padded to its 0 slots and filled from the right; the
    // leftmost slot takes the digits left over.
    if (forcedWhole < 0)
        forcedWhole = wholeSlots + forcedWhole + 1;
    std::string whole = digits.whole;
    if (static_cast<int>(whole.size()) < forcedWhole)
        whole.insert(0, static_cast<std::size_t>(forcedWhole) - whole.size(), '0');
    if (p.grouping)
        whole = group(whole);
    std::string wholeText;
    int slotsLeft = wholeSlots;
    for (std::size_t i = wholeEnd; i-- > 0;) {
        const auto& piece = p.pieces[i];
        if (piece.kind == Kind::Literal) {
            wholeText.insert(0, piece.text);
            continue;
        }
        --slotsLeft;
        std::string taken;
        if (slotsLeft == 0) {
            taken = whole;
            whole.clear();
        } else if (!whole.empty()) {
            const std::size_t cut = whole.size() >= 2 && whole[whole.size() - 2] == ',' ? 2 : 1;
            taken = whole.substr(whole.size() - cut);
            whole.resize(whole.size() - cut);
        }
        wholeText.insert(0, taken);
    }
    // Without whole slots the digits stand before the point; a section of
    // literals alone shows no number.
    const bool showsNumber = wholeSlots > 0 || fractionSlots > 0 || pointAt < p.pieces.size();
    std::string out = wholeSlots == 0 && showsNumber ? whole + wholeText : wholeText;
    std::size_t fractionIndex = 0;
    for (std::size_t i = wholeEnd; i < p.pieces.size(); ++i) {
        const auto& piece = p.pieces[i];
        if (piece.kind == Kind::Literal) {
            out += piece.text;
        } else if (piece.kind == Kind::Point) {
            out += '.';
        } else if (piece.kind == Kind::Digit && i < exponentAt) {
            if (fractionIndex < digits.fraction.size())
                out += digits.fraction[fractionIndex];
            ++fractionIndex;
        } else if (piece.kind == Kind::Exponent) {
            int minimum = 0;
            for (std::size_t j = i + 1; j < p.pieces.size() && p.pieces[j].kind == Kind::Digit; ++j)
                minimum += p.pieces[j].text == "0";
            std::string text = std::to_string(std::abs(exponent));
            text.insert(
                0, static_cast<std::size_t>(std::max(0, minimum - static_cast<int>(text.size()))),
                '0');
            out += piece.text + (exponent < 0 ? "-" : piece.plusSign ? "+" : "") + text;
        }
    }
    return out;
}

std::optional<std::string> namedNumber(double value, std::string_view format) {
    const std::string lower = lowerText(format);
    if (lower == "general number")
        return sql::formatNumber(value);
    if (lower == "currency")
        return formatNumberValue(value, "$#,##0.00;($#,##0.00)");
    if (lower == "euro")
        return formatNumberValue(value, "€#,##0.00;(€#,##0.00)");
    if (lower == "fixed")
        return formatNumberValue(value, "0.00");
    if (lower == "standard")
        return formatNumberValue(value, "#,##0.00");
    if (lower == "percent") // rounds half to even, as FormatPercent does
        return formatNumberValue(fn::bankersRound(value * 100, 2), "0.00\\%");
    if (lower == "scientific")
        return formatNumberValue(value, "0.00E+0");
    if (lower == "yes/no")
        return std::string(value != 0 ? "Yes" : "No");
    if (lower == "true/false")
        return std::string(value != 0 ? "True" : "False");
    if (lower == "on/off")
        return std::string(value != 0 ? "On" : "Off");
    return std::nullopt;
}

} // namespace

std::string formatNumberValue(double value, std::string_view format) {
    if (auto named = namedNumber(value, format))
        return *named;
    const auto sections = sectionsOf(format);
    const bool negativeSection = value < 0 && sections.size() > 1 && !sections[1].empty();
    const NumberPattern pattern = readPattern(sections[negativeSection ? 1 : 0]);
    if (showsZero(pattern, std::fabs(value))) {
        const bool zeroSection = sections.size() > 2 && !sections[2].empty();
        return render(readPattern(sections[zeroSection ? 2 : 0]), 0);
    }
    const std::string text = render(pattern, std::fabs(value));
    return value < 0 && !negativeSection ? "-" + text : text;
}

std::optional<std::string> formatNullValue(std::string_view format) {
    const auto sections = sectionsOf(format);
    const Style style = styleOf(format);
    if (sections.size() < 4 || (style != Style::Number && style != Style::Literal))
        return std::nullopt;
    return render(readPattern(sections[3]), 0);
}

} // namespace quarix::engine::sql::format
