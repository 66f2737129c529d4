#include "engine/sql/LikePattern.h"

#include "engine/sql/AccessText.h"

#include <cstring>

namespace quarix::engine::sql {

LikePattern::LikePattern(std::string_view pattern) {
    auto p = reinterpret_cast<const unsigned char*>(pattern.data());
    const auto end = p + pattern.size();
    while (p < end) {
        const char32_t cp = nextCodePoint(p, end);
        Element e{Element::Kind::Char};
        if (cp == '*') {
            if (!elements_.empty() && elements_.back().kind == Element::Kind::Star)
                continue;
            e.kind = Element::Kind::Star;
        } else if (cp == '?') {
            e.kind = Element::Kind::Any;
        } else if (cp == '#') {
            e.kind = Element::Kind::Digit;
        } else if (cp == '[') {
            e.kind = Element::Kind::Set;
            e.firstRange = ranges_.size();
            bool first = true;
            bool closed = false;
            while (p < end) {
                char32_t c = nextCodePoint(p, end);
                if (c == ']') {
                    closed = true;
                    break;
                }
                if (first && c == '!') {
                    e.negated = true;
                    first = false;
                    continue;
                }
                first = false;
                char32_t last = c;
                if (p + 1 < end && *p == '-' && p[1] != ']') {
                    ++p;
                    last = nextCodePoint(p, end);
                }
                const char32_t lo = foldCase(c), hi = foldCase(last);
                ranges_.emplace_back(lo <= hi ? lo : hi, lo <= hi ? hi : lo);
            }
            if (!closed) {
                valid_ = false;
                return;
            }
            e.rangeCount = ranges_.size() - e.firstRange;
        } else {
            e.cp = foldCase(cp);
        }
        elements_.push_back(e);
    }
    chooseShape();
}

void LikePattern::chooseShape() {
    const std::size_t n = elements_.size();
    const bool leadingStar = n > 0 && elements_.front().kind == Element::Kind::Star;
    const bool trailingStar = n > 0 && elements_.back().kind == Element::Kind::Star;
    const std::size_t from = leadingStar ? 1 : 0;
    const std::size_t to = trailingStar && n > from ? n - 1 : n;
    for (std::size_t i = from; i < to; ++i) {
        const Element& e = elements_[i];
        if (e.kind != Element::Kind::Char || e.cp >= 0x80)
            return; // shape stays General
        literal_ += static_cast<char>(e.cp);
    }
    if (literal_.empty())
        shape_ = leadingStar || trailingStar ? Shape::All : Shape::Exact;
    else if (leadingStar && trailingStar)
        shape_ = Shape::Contains;
    else if (leadingStar)
        shape_ = Shape::Suffix;
    else if (trailingStar)
        shape_ = Shape::Prefix;
    else
        shape_ = Shape::Exact;
}

namespace {

inline bool equalsLowerAscii(const unsigned char* text, const std::string& lower) {
    for (std::size_t i = 0; i < lower.size(); ++i)
        if (kAsciiLower[text[i]] != static_cast<unsigned char>(lower[i]))
            return false;
    return true;
}

} // namespace

bool LikePattern::matches(std::string_view text) const {
    if (!valid_)
        return false;
    const auto t = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size(), m = literal_.size();
    switch (shape_) {
    case Shape::All:
        return true;
    case Shape::Exact:
        return n == m && equalsLowerAscii(t, literal_);
    case Shape::Prefix:
        return n >= m && equalsLowerAscii(t, literal_);
    case Shape::Suffix:
        return n >= m && equalsLowerAscii(t + (n - m), literal_);
    case Shape::Contains: {
        if (n < m)
            return false;
        const unsigned char first = static_cast<unsigned char>(literal_[0]);
        for (std::size_t i = 0, last = n - m; i <= last; ++i)
            if (kAsciiLower[t[i]] == first && equalsLowerAscii(t + i, literal_))
                return true;
        return false;
    }
    case Shape::General:
        break;
    }
    return matchGeneral(text);
}

bool LikePattern::elementMatches(const Element& e, char32_t cp) const {
    switch (e.kind) {
    case Element::Kind::Any:
        return true;
    case Element::Kind::Digit:
        return cp >= '0' && cp <= '9';
    case Element::Kind::Char:
        return foldCase(cp) == e.cp;
    case Element::Kind::Set: {
        const char32_t f = foldCase(cp);
        bool in = false;
        for (std::size_t i = 0; i < e.rangeCount && !in; ++i) {
            const auto& r = ranges_[e.firstRange + i];
            in = f >= r.first && f <= r.second;
        }
        return in != e.negated;
    }
    case Element::Kind::Star:
        break;
    }
    return false;
}

// Greedy match with one backtrack point: enough because every element other
// than * consumes exactly one character.
bool LikePattern::matchGeneral(std::string_view text) const {
    const auto begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto end = begin + text.size();
    const auto* t = begin;
    std::size_t pi = 0;
    const std::size_t m = elements_.size();
    std::size_t starPattern = m; // none
    const unsigned char* starText = nullptr;
    while (t < end) {
        if (pi < m && elements_[pi].kind == Element::Kind::Star) {
            starPattern = pi++;
            starText = t;
            continue;
        }
        if (pi < m) {
            const unsigned char* next = t;
            const char32_t cp = nextCodePoint(next, end);
            if (elementMatches(elements_[pi], cp)) {
                t = next;
                ++pi;
                continue;
            }
        }
        if (starPattern == m)
            return false;
        pi = starPattern + 1;
        nextCodePoint(starText, end);
        t = starText;
    }
    while (pi < m && elements_[pi].kind == Element::Kind::Star)
        ++pi;
    return pi == m;
}

} // namespace quarix::engine::sql
