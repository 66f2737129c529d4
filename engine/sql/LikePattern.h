#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarix::engine::sql {

// An Access Like pattern, compiled once and matched against many texts:
// * any run of characters, ? one character, # one digit, [abc] [a-z] [!abc]
// one character of (or not of) a set; letters match without regard to case.
// Plain ASCII patterns of the common shapes (exact, "lit*", "*lit", "*lit*")
// are matched on the UTF-8 bytes directly.
class LikePattern {
public:
    explicit LikePattern(std::string_view pattern);

    // A pattern with an unclosed "[" matches nothing.
    bool matches(std::string_view text) const;

private:
    enum class Shape { All, Exact, Prefix, Suffix, Contains, General };
    struct Element {
        enum class Kind { Star, Any, Digit, Char, Set } kind;
        char32_t cp = 0;      // Char: folded
        bool negated = false; // Set
        std::size_t firstRange = 0, rangeCount = 0;
    };

    bool elementMatches(const Element& e, char32_t cp) const;
    bool matchGeneral(std::string_view text) const;
    void chooseShape();

    bool valid_ = true;
    Shape shape_ = Shape::General;
    std::string literal_; // lower-case ASCII, for the byte shapes
    std::vector<Element> elements_;
    std::vector<std::pair<char32_t, char32_t>> ranges_; // folded, inclusive
};

} // namespace quarix::engine::sql
