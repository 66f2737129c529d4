// Access's text functions. Positions and lengths count characters, not
// bytes; searches ignore case, as queries compare text.
#include "engine/sql/AccessText.h"
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>
#include <string>
#include <vector>

namespace quarix::engine::sql::fn {

namespace {

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (isNull(argv[i]))
            return true;
    return false;
}

// A whole-number argument (rounded to even); false after raising an error.
bool wholeArg(sqlite3_context* ctx, sqlite3_value* v, long long& out) {
    double d = 0;
    if (!toNumber(ctx, v, d))
        return false;
    out = static_cast<long long>(bankersRound(d));
    return true;
}

// Folded code points of a text, with the byte offset where each starts.
struct Folded {
    std::u32string chars;
    std::vector<std::size_t> offsets;
};

Folded fold(std::string_view text) {
    Folded f;
    auto p = reinterpret_cast<const unsigned char*>(text.data());
    const auto begin = p, end = p + text.size();
    while (p < end) {
        f.offsets.push_back(static_cast<std::size_t>(p - begin));
        f.chars.push_back(foldCase(nextCodePoint(p, end)));
    }
    f.offsets.push_back(text.size());
    return f;
}

// Character index (0-based) of needle in haystack from character start; npos if absent.
std::size_t findText(std::string_view haystack, std::string_view needle, std::size_t start,
                     bool ignoreCase, Folded* foldedHaystack = nullptr) {
    if (!ignoreCase) {
        const std::size_t from = byteOffsetOfCharacter(haystack, static_cast<std::int64_t>(start));
        const std::size_t at = haystack.find(needle, from);
        return at == std::string_view::npos
                   ? at
                   : static_cast<std::size_t>(characterCount(haystack.substr(0, at)));
    }
    const Folded h = foldedHaystack ? *foldedHaystack : fold(haystack);
    const Folded n = fold(needle);
    return h.chars.find(n.chars, start);
}

void lenFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, characterCount(textOf(argv[0])));
}

// The character count of Left and Right: false when the result is already
// given (Null for a Null argument, or an error).
bool characterCountArgument(sqlite3_context* ctx, int argc, sqlite3_value** argv, long long& n) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return false;
    }
    if (!wholeArg(ctx, argv[1], n))
        return false;
    if (n < 0) {
        invalidArgument(ctx);
        return false;
    }
    return true;
}

void leftFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long n = 0;
    if (!characterCountArgument(ctx, argc, argv, n))
        return;
    const std::string_view t = textOf(argv[0]);
    resultText(ctx, t.substr(0, byteOffsetOfCharacter(t, n)));
}

void rightFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long n = 0;
    if (!characterCountArgument(ctx, argc, argv, n))
        return;
    const std::string_view t = textOf(argv[0]);
    const long long count = characterCount(t);
    resultText(ctx, t.substr(byteOffsetOfCharacter(t, std::max(0LL, count - n))));
}

void midFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long start = 0, length = -1;
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (!wholeArg(ctx, argv[1], start) ||
        (argc > 2 && !isNull(argv[2]) && !wholeArg(ctx, argv[2], length)))
        return;
    if (start < 1 || (argc > 2 && !isNull(argv[2]) && length < 0))
        return invalidArgument(ctx);
    const std::string_view t = textOf(argv[0]);
    const std::size_t from = byteOffsetOfCharacter(t, start - 1);
    const std::size_t to = length < 0 ? t.size() : byteOffsetOfCharacter(t, start - 1 + length);
    resultText(ctx, t.substr(from, to - from));
}

// InStr([start,] text, find [, compare]): 1-based position or 0.
void instrFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long start = 1, compare = 1;
    int first = 0;
    if (argc >= 3) {
        if (isNull(argv[0]))
            return invalidArgument(ctx);
        if (!wholeArg(ctx, argv[0], start))
            return;
        first = 1;
        if (start < 1)
            return invalidArgument(ctx);
    }
    if (argc == 4 && !isNull(argv[3]) && !wholeArg(ctx, argv[3], compare))
        return;
    if (isNull(argv[first]) || isNull(argv[first + 1]))
        return sqlite3_result_null(ctx);
    const std::string_view text = textOf(argv[first]), find = textOf(argv[first + 1]);
    if (start > characterCount(text))
        return sqlite3_result_int(ctx, 0);
    const std::size_t at = findText(text, find, static_cast<std::size_t>(start - 1), compare != 0);
    sqlite3_result_int64(ctx, at == std::u32string::npos ? 0 : static_cast<long long>(at) + 1);
}

void ucaseFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, upperText(textOf(argv[0])));
}

void lcaseFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, lowerText(textOf(argv[0])));
}

void trimmed(sqlite3_context* ctx, sqlite3_value* v, bool left, bool right) {
    if (isNull(v))
        return sqlite3_result_null(ctx);
    std::string_view t = textOf(v);
    while (left && !t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (right && !t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    resultText(ctx, t);
}
void trimFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    trimmed(ctx, argv[0], true, true);
}
void ltrimFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    trimmed(ctx, argv[0], true, false);
}
void rtrimFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    trimmed(ctx, argv[0], false, true);
}

void repeated(sqlite3_context* ctx, long long n, std::string_view piece) {
    if (n < 0 || n > 100000000)
        return invalidArgument(ctx);
    std::string out;
    out.reserve(static_cast<std::size_t>(n) * piece.size());
    for (long long i = 0; i < n; ++i)
        out += piece;
    resultText(ctx, out);
}

void spaceFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long n = 0;
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (wholeArg(ctx, argv[0], n))
        repeated(ctx, n, " ");
}

// String(n, c): c is a character code or a text whose first character repeats.
void stringFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long n = 0;
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (!wholeArg(ctx, argv[0], n))
        return;
    std::string piece;
    if (isNumber(argv[1])) {
        appendUtf8(piece, static_cast<char32_t>(sqlite3_value_int64(argv[1])));
    } else {
        const std::string_view t = textOf(argv[1]);
        if (t.empty())
            return invalidArgument(ctx);
        piece = std::string(t.substr(0, byteOffsetOfCharacter(t, 1)));
    }
    repeated(ctx, n, piece);
}

// Replace(text, find, with [, start [, count [, compare]]]); the result
// starts at start, as in Access.
void replaceFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long start = 1, count = -1, compare = 1;
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if ((argc > 3 && !wholeArg(ctx, argv[3], start)) ||
        (argc > 4 && !wholeArg(ctx, argv[4], count)) ||
        (argc > 5 && !wholeArg(ctx, argv[5], compare)))
        return;
    if (start < 1 || count < -1)
        return invalidArgument(ctx);
    const std::string_view whole = textOf(argv[0]);
    const std::string_view text = whole.substr(byteOffsetOfCharacter(whole, start - 1));
    const std::string_view find = textOf(argv[1]), with = textOf(argv[2]);
    if (find.empty() || count == 0)
        return resultText(ctx, text);
    Folded folded = fold(text);
    const std::size_t findLength = static_cast<std::size_t>(characterCount(find));
    std::string out;
    std::size_t from = 0; // characters
    for (long long done = 0; count < 0 || done < count; ++done) {
        const std::size_t at = findText(text, find, from, compare != 0, &folded);
        if (at == std::u32string::npos)
            break;
        out += text.substr(folded.offsets[from], folded.offsets[at] - folded.offsets[from]);
        out += with;
        from = at + findLength;
    }
    out += text.substr(folded.offsets[std::min(from, folded.offsets.size() - 1)]);
    resultText(ctx, out);
}

void strcompFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long compare = 1;
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    if (argc > 2 && !isNull(argv[2]) && !wholeArg(ctx, argv[2], compare))
        return;
    const int c = compare == 0 ? textOf(argv[0]).compare(textOf(argv[1]))
                               : compareText(textOf(argv[0]), textOf(argv[1]));
    sqlite3_result_int(ctx, (c > 0) - (c < 0));
}

void strreverseFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const Folded f = fold(textOf(argv[0]));
    const std::string_view t = textOf(argv[0]);
    std::string out;
    for (std::size_t i = f.chars.size(); i-- > 0;)
        out += t.substr(f.offsets[i], f.offsets[i + 1] - f.offsets[i]);
    resultText(ctx, out);
}

// InStrRev(text, find [, start [, compare]]): the 1-based position of the
// last find that ends at or before start (-1 or past the end: the end), or 0.
void instrrevFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    long long start = -1, compare = 1;
    if (argc > 2 && isNull(argv[2]))
        return invalidUseOfNull(ctx);
    if ((argc > 2 && !wholeArg(ctx, argv[2], start)) ||
        (argc > 3 && !isNull(argv[3]) && !wholeArg(ctx, argv[3], compare)))
        return;
    if (start == 0 || start < -1)
        return invalidArgument(ctx);
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    const std::string_view text = textOf(argv[0]), find = textOf(argv[1]);
    const long long length = characterCount(text);
    if (start == -1 || start > length) // a start past the end searches the whole text
        start = length;
    const long long findLength = characterCount(find);
    if (findLength == 0)
        return sqlite3_result_int64(ctx, start);
    if (findLength > start)
        return sqlite3_result_int(ctx, 0);
    const auto last = static_cast<std::size_t>(start - findLength); // 0-based latest beginning
    std::size_t at = std::u32string::npos;
    if (compare == 0) {
        const std::size_t byte =
            text.rfind(find, byteOffsetOfCharacter(text, static_cast<std::int64_t>(last)));
        if (byte != std::string_view::npos)
            at = static_cast<std::size_t>(characterCount(text.substr(0, byte)));
    } else {
        at = fold(text).chars.rfind(fold(find).chars, last);
    }
    sqlite3_result_int64(ctx, at == std::u32string::npos ? 0 : static_cast<long long>(at) + 1);
}

// Characters that end a word for StrConv's proper case.
bool separatesWords(char32_t cp) {
    return cp == 0 || (cp >= 9 && cp <= 13) || cp == ' ';
}

std::string properCase(std::string_view text) {
    const std::string lower = lowerText(text);
    std::string out;
    bool wordStart = true;
    auto p = reinterpret_cast<const unsigned char*>(lower.data());
    const auto end = p + lower.size();
    while (p < end) {
        const auto begin = p;
        const char32_t cp = nextCodePoint(p, end);
        const std::string_view piece(reinterpret_cast<const char*>(begin),
                                     static_cast<std::size_t>(p - begin));
        out += wordStart ? upperText(piece) : std::string(piece);
        wordStart = separatesWords(cp);
    }
    return out;
}

// StrConv(text, conversion [, lcid]): upper (1), lower (2) and proper case
// (3). The East Asian and ANSI conversions have no meaning for these texts
// and are invalid, as on a Western Windows.
void strconvFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    long long conversion = 0;
    if (isNull(argv[1]))
        return invalidUseOfNull(ctx);
    if (!wholeArg(ctx, argv[1], conversion))
        return;
    if (conversion < 1 || conversion > 3)
        return invalidArgument(ctx);
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const std::string_view text = textOf(argv[0]);
    resultText(ctx, conversion == 1   ? upperText(text)
                    : conversion == 2 ? lowerText(text)
                                      : properCase(text));
}

} // namespace

void registerTextFunctions(sqlite3* db) {
    define(db, "acc_len", 1, lenFn);
    define(db, "acc_left", 2, leftFn);
    define(db, "acc_right", 2, rightFn);
    define(db, "acc_mid", -1, midFn);
    define(db, "acc_instr", -1, instrFn);
    define(db, "acc_ucase", 1, ucaseFn);
    define(db, "acc_lcase", 1, lcaseFn);
    define(db, "acc_trim", 1, trimFn);
    define(db, "acc_ltrim", 1, ltrimFn);
    define(db, "acc_rtrim", 1, rtrimFn);
    define(db, "acc_space", 1, spaceFn);
    define(db, "acc_string", 2, stringFn);
    define(db, "acc_replace", -1, replaceFn);
    define(db, "acc_strcomp", -1, strcompFn);
    define(db, "acc_strreverse", 1, strreverseFn);
    define(db, "acc_instrrev", -1, instrrevFn);
    define(db, "acc_strconv", -1, strconvFn);
}

} // namespace quarix::engine::sql::fn
