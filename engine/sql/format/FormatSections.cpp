// Reading custom formats: sections, literals, and which kind of value a
// format is for.
#include "engine/sql/AccessText.h"
#include "engine/sql/format/AccessFormat.h"

namespace quarix::engine::sql::format {

namespace {

bool isColorName(std::string_view name) {
    const std::string lower = lowerText(name);
    for (const char* color :
         {"black", "blue", "cyan", "green", "magenta", "red", "white", "yellow"})
        if (lower == color)
            return true;
    return false;
}

bool namedFormat(std::string_view lower, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (lower == name)
            return true;
    return false;
}

} // namespace

std::optional<std::string> literalAt(std::string_view f, std::size_t& i) {
    if (f[i] == '"') {
        const std::size_t close = f.find('"', i + 1);
        const std::size_t end = close == std::string_view::npos ? f.size() : close;
        std::string text(f.substr(i + 1, end - i - 1));
        i = end == f.size() ? end : end + 1;
        return text;
    }
    if (f[i] == '\\' && i + 1 < f.size()) {
        const std::size_t start = i + 1;
        i = byteOffsetOfCharacter(f.substr(start), 1) + start;
        return std::string(f.substr(start, i - start));
    }
    if (f[i] == '[') {
        const std::size_t close = f.find(']', i + 1);
        if (close != std::string_view::npos && isColorName(f.substr(i + 1, close - i - 1))) {
            i = close + 1;
            return std::string();
        }
    }
    if (f[i] == '*' && i + 1 < f.size()) { // a fill has no width to fill in a text
        i = byteOffsetOfCharacter(f.substr(i + 1), 1) + i + 1;
        return std::string();
    }
    return std::nullopt;
}

std::vector<std::string_view> sectionsOf(std::string_view f) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < f.size();) {
        if (literalAt(f, i))
            continue;
        if (f[i] == ';') {
            out.push_back(f.substr(start, i - start));
            start = i + 1;
        }
        ++i;
    }
    out.push_back(f.substr(start));
    return out;
}

Style styleOf(std::string_view format) {
    const std::string lower = lowerText(format);
    if (namedFormat(lower, {"general number", "currency", "euro", "fixed", "standard", "percent",
                            "scientific", "yes/no", "true/false", "on/off"}))
        return Style::Number;
    if (namedFormat(lower, {"general date", "long date", "medium date", "short date", "long time",
                            "medium time", "short time"}))
        return Style::Date;
    bool digits = false, dateParts = false, textPlaceholders = false;
    for (std::size_t i = 0; i < lower.size();) {
        if (literalAt(lower, i))
            continue;
        const char c = lower[i++];
        digits = digits || c == '0' || c == '#';
        dateParts = dateParts || std::string_view("dmyhnsqwct").find(c) != std::string_view::npos ||
                    (c == 'a' && (lower.compare(i - 1, 5, "am/pm") == 0 ||
                                  lower.compare(i - 1, 3, "a/p") == 0));
        textPlaceholders = textPlaceholders || c == '@' || c == '&';
    }
    if (digits)
        return Style::Number;
    if (dateParts)
        return Style::Date;
    return textPlaceholders ? Style::Text : Style::Literal;
}

} // namespace quarix::engine::sql::format
