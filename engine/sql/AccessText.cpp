#include "engine/sql/AccessText.h"

#include <QChar>
#include <QString>

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quarix::engine::sql {

namespace {

// Primary keys of the Latin blocks, where accented letters live; built once
// from Qt's decomposition data.
constexpr char32_t kPrimaryTableSize = 0x250;

const std::array<char32_t, kPrimaryTableSize>& primaryTable() {
    static const auto table = [] {
        std::array<char32_t, kPrimaryTableSize> t{};
        for (char32_t cp = 0; cp < kPrimaryTableSize; ++cp) {
            char32_t base = cp;
            const QString decomposed = QChar::decomposition(cp);
            if (!decomposed.isEmpty() && QChar::decompositionTag(cp) == QChar::Canonical)
                base = decomposed.at(0).unicode();
            t[cp] = QChar::toCaseFolded(base);
        }
        // Letters without a decomposition that Access still sorts with a base letter.
        t[0xD8] = t[0xF8] = U'o';   // Ø ø
        t[0x141] = t[0x142] = U'l'; // Ł ł
        t[0x110] = t[0x111] = U'd'; // Đ đ
        return t;
    }();
    return table;
}

} // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t foldCase(char32_t cp) {
    if (cp < 0x80)
        return kAsciiLower[cp];
    return QChar::toCaseFolded(cp);
}

char32_t primaryKey(char32_t cp) {
    if (cp < 0x80)
        return kAsciiLower[cp];
    if (cp < kPrimaryTableSize)
        return primaryTable()[cp];
    return QChar::toCaseFolded(cp);
}

int compareText(std::string_view a, std::string_view b) {
    auto pa = reinterpret_cast<const unsigned char*>(a.data());
    auto pb = reinterpret_cast<const unsigned char*>(b.data());
    const auto ea = pa + a.size();
    const auto eb = pb + b.size();
    int secondary = 0;
    while (pa < ea && pb < eb) {
        if (*pa < 0x80 && *pb < 0x80) {
            const int d = int(kAsciiLower[*pa]) - int(kAsciiLower[*pb]);
            if (d != 0)
                return d;
            ++pa;
            ++pb;
            continue;
        }
        const char32_t ca = nextCodePoint(pa, ea);
        const char32_t cb = nextCodePoint(pb, eb);
        const char32_t ka = primaryKey(ca);
        const char32_t kb = primaryKey(cb);
        if (ka != kb)
            return ka < kb ? -1 : 1;
        if (secondary == 0) {
            const char32_t fa = foldCase(ca);
            const char32_t fb = foldCase(cb);
            if (fa != fb)
                secondary = fa < fb ? -1 : 1;
        }
    }
    if (pa < ea)
        return 1;
    if (pb < eb)
        return -1;
    return secondary;
}

static std::string mapCase(std::string_view text, bool upper) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QByteArray bytes = (upper ? s.toUpper() : s.toLower()).toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string upperText(std::string_view text) {
    return mapCase(text, true);
}
std::string lowerText(std::string_view text) {
    return mapCase(text, false);
}

std::int64_t characterCount(std::string_view text) {
    std::int64_t n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80;
    return n;
}

std::size_t byteOffsetOfCharacter(std::string_view text, std::int64_t index) {
    std::size_t i = 0;
    for (std::int64_t seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == index)
                return i;
            ++seen;
        }
    }
    return text.size();
}

bool parseNumber(std::string_view text, double& out) {
    std::size_t i = 0, n = text.size();
    auto blank = [&](std::size_t k) { return text[k] == ' ' || text[k] == '\t'; };
    while (i < n && blank(i))
        ++i;
    while (n > i && blank(n - 1))
        --n;
    std::string digits;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        digits += text[i++];
    bool any = false;
    for (; i < n && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == ','); ++i) {
        if (text[i] != ',') {
            digits += text[i];
            any = true;
        }
    }
    if (i < n && text[i] == '.') {
        digits += text[i++];
        for (; i < n && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            digits += text[i];
            any = true;
        }
    }
    if (!any)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        digits += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            digits += text[i++];
        bool exponent = false;
        for (; i < n && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            digits += text[i];
            exponent = true;
        }
        if (!exponent)
            return false;
    }
    if (i != n)
        return false;
    out = std::strtod(digits.c_str(), nullptr);
    return std::isfinite(out);
}

namespace {

// printf's %.<precision>f, %.<precision>G or %.<precision>E, without the
// locale and stream machinery: every double shown goes through here.
std::string printed(double value, std::chars_format style, int precision) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, style, precision).ptr;
    std::string s(buf, end);
    for (char& c : s)
        if (c == 'e')
            c = 'E';
    return s;
}

} // namespace

std::string formatNumber(double value) {
    if (std::isnan(value))
        return "NaN";
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return printed(value == 0 ? 0.0 : value, std::chars_format::fixed, 0);
    std::string s = printed(value, std::chars_format::general, 15);
    // More than 15 decimals (0.0163048347266756) take the exponent form.
    const auto point = s.find('.');
    if (s.find('E') == std::string::npos && point != std::string::npos &&
        s.find_last_not_of('0') - point > 15)
        s = printed(value, std::chars_format::scientific, 14);
    const auto e = s.find('E');
    std::string mantissa = s.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (e == std::string::npos)
        return mantissa;
    std::string exponent = s.substr(e + 1); // "+20" or "-07"
    const char sign = exponent[0];
    exponent.erase(0, 1);
    while (exponent.size() > 2 && exponent[0] == '0')
        exponent.erase(0, 1);
    return mantissa + "E" + sign + exponent;
}

std::string formatSingle(double value) {
    const std::string digits = printed(value, std::chars_format::general, 7);
    return formatNumber(std::strtod(digits.c_str(), nullptr));
}

} // namespace quarix::engine::sql
