// Text in text formats: @ (a character or a blank), & (a character or
// nothing), < and > (lower and upper case), ! (fill from the left).
#include "engine/sql/AccessText.h"
#include "engine/sql/format/AccessFormat.h"

namespace quarix::engine::sql::format {

namespace {

struct TextPattern {
    struct Piece {
        bool placeholder;
        std::string text; // placeholder: "@" or "&"; else the literal
    };
    std::vector<Piece> pieces;
    int placeholders = 0;
    bool fromLeft = false;
    char caseChange = 0; // '<', '>' or none
};

TextPattern readPattern(std::string_view section) {
    TextPattern p;
    for (std::size_t i = 0; i < section.size();) {
        if (auto literal = literalAt(section, i)) {
            p.pieces.push_back({false, std::move(*literal)});
            continue;
        }
        const char c = section[i];
        if (c == '@' || c == '&') {
            p.pieces.push_back({true, std::string(1, c)});
            ++p.placeholders;
        } else if (c == '<' || c == '>') {
            p.caseChange = c;
        } else if (c == '!') {
            p.fromLeft = true;
        } else {
            const std::size_t next = byteOffsetOfCharacter(section.substr(i), 1) + i;
            p.pieces.push_back({false, std::string(section.substr(i, next - i))});
            i = next;
            continue;
        }
        ++i;
    }
    return p;
}

// The characters of a text, each as its UTF-8 bytes.
std::vector<std::string> charactersOf(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t next = byteOffsetOfCharacter(text.substr(i), 1) + i;
        out.emplace_back(text.substr(i, next - i));
        i = next;
    }
    return out;
}

} // namespace

std::string formatTextValue(std::string_view text, std::string_view format) {
    const auto sections = sectionsOf(format);
    const TextPattern p =
        readPattern(text.empty() && sections.size() > 1 ? sections[1] : sections[0]);
    const std::string cased = p.caseChange == '>'   ? upperText(text)
                              : p.caseChange == '<' ? lowerText(text)
                                                    : std::string(text);
    const std::vector<std::string> chars = charactersOf(cased);
    const auto count = static_cast<int>(chars.size());
    // Placeholders without a character of their own: the first ones when
    // filling from the right, the last ones when filling from the left.
    const int empty = std::max(0, p.placeholders - count);
    const int extra = std::max(0, count - p.placeholders); // characters beyond the placeholders
    std::string out;
    int slot = 0, next = 0;
    for (const auto& piece : p.pieces) {
        if (!piece.placeholder) {
            out += piece.text;
            continue;
        }
        const bool blank = p.fromLeft ? slot >= p.placeholders - empty : slot < empty;
        if (!p.fromLeft && slot == empty)
            for (; next < extra; ++next)
                out += chars[static_cast<std::size_t>(next)];
        if (blank)
            out += piece.text == "@" ? " " : "";
        else
            out += chars[static_cast<std::size_t>(next++)];
        if (p.fromLeft && slot == p.placeholders - 1)
            for (; next < count; ++next)
                out += chars[static_cast<std::size_t>(next)];
        ++slot;
    }
    if (p.placeholders == 0)
        out += cased;
    return out;
}

} // namespace quarix::engine::sql::format
