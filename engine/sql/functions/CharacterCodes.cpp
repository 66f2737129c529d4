// Character codes and numbers as code text: Asc and Chr (Windows-1252, as
// Access on a Western system), AscW and ChrW (UTF-16 units), Hex and Oct.
#include "engine/ColumnType.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cstdint>
#include <string>

namespace quarix::engine::sql::fn {

namespace {

// Windows-1252 codes 0x80..0x9F; the five unassigned ones stand for themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromCp1252(int code) {
    return code >= 0x80 && code < 0xA0 ? kCp1252High[code - 0x80] : static_cast<char32_t>(code);
}

// The Windows-1252 code of a character; '?' for one the code page lacks.
int toCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == cp)
            return 0x80 + i;
    return '?';
}

// The first character of a text argument; false after raising an error.
bool firstCharacter(sqlite3_context* ctx, sqlite3_value* v, char32_t& cp) {
    if (isNull(v)) {
        invalidUseOfNull(ctx);
        return false;
    }
    const std::string_view t = textOf(v);
    if (t.empty()) {
        invalidArgument(ctx);
        return false;
    }
    auto p = reinterpret_cast<const unsigned char*>(t.data());
    cp = nextCodePoint(p, p + t.size());
    return true;
}

// A whole-number code in [lo, hi]; false after raising an error.
bool codeArgument(sqlite3_context* ctx, sqlite3_value* v, double lo, double hi, long long& code) {
    if (isNull(v)) {
        invalidUseOfNull(ctx);
        return false;
    }
    double r = 0;
    if (!roundedInRange(ctx, v, lo, hi, invalidArgument, r))
        return false;
    code = static_cast<long long>(r);
    return true;
}

void resultCharacter(sqlite3_context* ctx, char32_t cp) {
    std::string out;
    appendUtf8(out, cp);
    resultText(ctx, out);
}

void ascFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    char32_t cp = 0;
    if (firstCharacter(ctx, argv[0], cp))
        sqlite3_result_int(ctx, toCp1252(cp));
}

// AscW gives the first UTF-16 unit as an Integer: from U+8000 on it is negative.
void ascwFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    char32_t cp = 0;
    if (!firstCharacter(ctx, argv[0], cp))
        return;
    const char32_t unit = cp >= 0x10000 ? 0xD800 + ((cp - 0x10000) >> 10) : cp;
    sqlite3_result_int(ctx, static_cast<std::int16_t>(static_cast<std::uint16_t>(unit)));
}

void chrFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long code = 0;
    if (codeArgument(ctx, argv[0], 0, 255, code))
        resultCharacter(ctx, fromCp1252(static_cast<int>(code)));
}

// ChrW takes a UTF-16 unit, negative ones counting from 65536; a lone
// surrogate has no UTF-8 form and becomes the replacement character.
void chrwFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long code = 0;
    if (!codeArgument(ctx, argv[0], -32768, 65535, code))
        return;
    const auto unit = static_cast<char32_t>(code < 0 ? code + 65536 : code);
    resultCharacter(ctx, unit >= 0xD800 && unit <= 0xDFFF ? U'\uFFFD' : unit);
}

// Hex and Oct write negative numbers in two's complement: 16 bits for the
// 16-bit types, 32 bits otherwise; beyond a Long is an overflow.
void radixText(sqlite3_context* ctx, sqlite3_value** argv, int bitsPerDigit) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    double r = 0;
    if (!roundedInRange(ctx, argv[0], -2147483648.0, 2147483647.0, overflow, r))
        return;
    const auto type = static_cast<ColumnType>(sqlite3_value_int(argv[1]));
    const bool sixteenBits =
        (type == ColumnType::Integer || type == ColumnType::Byte || type == ColumnType::Boolean) &&
        r >= -32768;
    const auto value = static_cast<std::int64_t>(r);
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    if (sixteenBits)
        bits &= 0xFFFF;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), kDigits[bits & ((1u << bitsPerDigit) - 1)]);
        bits >>= bitsPerDigit;
    } while (bits != 0);
    resultText(ctx, out);
}

void hexFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    radixText(ctx, argv, 4);
}
void octFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    radixText(ctx, argv, 3);
}

} // namespace

void registerCharacterCodes(sqlite3* db) {
    define(db, "acc_asc", 1, ascFn);
    define(db, "acc_ascw", 1, ascwFn);
    define(db, "acc_chr", 1, chrFn);
    define(db, "acc_chrw", 1, chrwFn);
    define(db, "acc_hex", 2, hexFn);
    define(db, "acc_oct", 2, octFn);
}

} // namespace quarix::engine::sql::fn
