#pragma once

#include <string>
#include <string_view>

namespace quarix::engine {

// True when an Access name (table, column, alias, parameter) has to be
// written in square brackets to read back as one name: blanks, anything
// but letters, digits and underscores, a leading digit, a reserved word.
bool needsBrackets(std::string_view name);

// The name as Access SQL writes it; a name already in brackets is kept.
std::string sqlName(std::string_view name);

// The name without enclosing brackets ("[Which City]" gives "Which City").
std::string_view unbracketed(std::string_view name);

// Compares two names as Access does: ignoring ASCII case and brackets.
bool sameName(std::string_view a, std::string_view b);

} // namespace quarix::engine
