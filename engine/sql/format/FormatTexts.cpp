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
    if (text.empty() && sections.size() < 2)
        return {};
    const TextPattern p = readPattern(text.empty() ? sections[1] : sections[0]);
    const std::string cased = p.caseChange == '>'   ? upperText(text)
                              : p.caseChange == '<' ? lowerText(text)
                                                    : std::string(text);
    const std::vector<std::string> chars = charactersOf(cased);
    const auto count = static_cast<int>(chars.size());
    // A short text leaves the first placeholders empty, or with ! the last.
    // A long one fills them from its start and adds the rest at the end, or
    // with ! fills them from its end and drops the rest.
    const int empty = std::max(0, p.placeholders - count);
    // Without placeholders the text follows the literals.
    const bool dropsStart = p.fromLeft && p.placeholders > 0;
    int next = dropsStart ? std::max(0, count - p.placeholders) : 0;
    std::string out;
    int slot = 0;
    for (const auto& piece : p.pieces) {
        if (!piece.placeholder) {
            out += piece.text;
            continue;
        }
        const bool blank = p.fromLeft ? slot >= p.placeholders - empty : slot < empty;
        if (blank)
            out += piece.text == "@" ? " " : "";
        else
            out += chars[static_cast<std::size_t>(next++)];
        ++slot;
    }
    if (!dropsStart)
        for (; next < count; ++next)
            out += chars[static_cast<std::size_t>(next)];
    return out;
}

} // namespace quarix::engine::sql::format
