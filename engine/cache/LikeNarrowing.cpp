#include "engine/cache/LikeNarrowing.h"

#include "engine/cache/SqliteHelpers.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/TypedSql.h"

#include <algorithm>

namespace quarix::engine {

namespace {

std::string hexOf(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

// The candidates of a folded prefix: every key from it up to the prefix
// followed by a byte no UTF-8 text holds.
std::string keyRange(const std::string& index, const std::string& prefix) {
    return "SELECT id FROM " + index + " WHERE k >= CAST(X'" + hexOf(prefix) +
           "' AS TEXT) AND k < CAST(X'" + hexOf(prefix) + "FF' AS TEXT)";
}

std::string keyEquals(const std::string& index, const std::string& key) {
    return "SELECT id FROM " + index + " WHERE k = CAST(X'" + hexOf(key) + "' AS TEXT)";
}

// Every trigram of every run, each a term of its own (the index keeps no
// positions, so it answers terms, not phrases).
std::string trigramQuery(const std::vector<std::string>& runs) {
    std::vector<std::string> terms;
    for (const std::string& run : runs) {
        std::vector<std::size_t> starts;
        for (std::size_t i = 0; i < run.size(); ++i)
            if ((static_cast<unsigned char>(run[i]) & 0xC0) != 0x80)
                starts.push_back(i);
        starts.push_back(run.size());
        for (std::size_t i = 0; i + 3 < starts.size(); ++i) {
            std::string term = run.substr(starts[i], starts[i + 3] - starts[i]);
            std::string quoted = "\"";
            for (const char c : term)
                quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
            quoted += '"';
            if (std::find(terms.begin(), terms.end(), quoted) == terms.end())
                terms.push_back(quoted);
        }
    }
    std::string query;
    for (const auto& term : terms)
        query += (query.empty() ? "" : " ") + term;
    return query;
}

} // namespace

PatternLiterals literalsOf(std::string_view pattern) {
    PatternLiterals literals;
    literals.exact = true;
    bool leading = true;
    std::string run;
    std::size_t runLength = 0;
    auto endRun = [&] {
        if (runLength >= 3)
            literals.runs.push_back(run);
        run.clear();
        runLength = 0;
    };
    auto p = reinterpret_cast<const unsigned char*>(pattern.data());
    const auto end = p + pattern.size();
    while (p < end) {
        const char32_t cp = sql::nextCodePoint(p, end);
        if (cp == '*' || cp == '?' || cp == '#' || cp == '[') {
            literals.exact = false;
            leading = false;
            endRun();
            bool closed = cp != '[';
            while (p < end && !closed)
                closed = sql::nextCodePoint(p, end) == ']';
            if (!closed) {
                literals.matchesNothing = true;
                return literals;
            }
            continue;
        }
        std::string folded;
        sql::appendUtf8(folded, sql::foldCase(cp));
        run += folded;
        ++runLength;
        if (leading)
            literals.prefix += folded;
    }
    endRun();
    return literals;
}

IndexNarrowing narrowLike(sqlite3* db, const std::string& table, const std::string& column,
                          std::uint64_t rows, const std::string& rowid, std::string_view pattern) {
    IndexNarrowing narrowing;
    const PatternLiterals literals = literalsOf(pattern);
    if (rows < kLeastRowsIndexed || literals.matchesNothing)
        return narrowing;
    const ColumnIndex key{table, column, IndexKind::FoldedKey};
    const ColumnIndex trigrams{table, column, IndexKind::Trigram};
    std::string candidates;
    if (!literals.prefix.empty()) {
        if (indexExists(db, key))
            candidates = literals.exact ? keyEquals(key.name(), literals.prefix)
                                        : keyRange(key.name(), literals.prefix);
        else
            narrowing.missing = key;
    } else if (!literals.runs.empty()) {
        if (indexExists(db, trigrams))
            candidates = "SELECT rowid FROM " + trigrams.name() + " WHERE " + trigrams.name() +
                         " MATCH " + sql::quoteText(trigramQuery(literals.runs));
        else
            narrowing.missing = trigrams;
    }
    if (!candidates.empty())
        narrowing.condition = keepingCandidates(db, candidates, rows, rowid);
    return narrowing;
}

} // namespace quarix::engine
