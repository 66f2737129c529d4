#include "engine/queries/SqlNames.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace quarix::engine {

namespace {

// Words of Access SQL that cannot stand as a bare name.
constexpr std::string_view ReservedWords[] = {
    "ADD",     "ALL",      "ALTER",    "AND",         "ANY",        "AS",          "ASC",
    "BETWEEN", "BY",       "COLUMN",   "CONSTRAINT",  "CREATE",     "DATABASE",    "DELETE",
    "DESC",    "DISALLOW", "DISTINCT", "DISTINCTROW", "DROP",       "EQV",         "EXISTS",
    "FALSE",   "FOREIGN",  "FROM",     "FULL",        "GROUP",      "HAVING",      "IGNORE",
    "IMP",     "IN",       "INDEX",    "INNER",       "INSERT",     "INTO",        "IS",
    "JOIN",    "KEY",      "LEFT",     "LIKE",        "MOD",        "NOT",         "NULL",
    "ON",      "OPTION",   "OR",       "ORDER",       "OUTER",      "OWNERACCESS", "PARAMETERS",
    "PERCENT", "PIVOT",    "PRIMARY",  "PROCEDURE",   "REFERENCES", "RIGHT",       "SELECT",
    "SET",     "SOME",     "TABLE",    "TOP",         "TRANSFORM",  "TRUE",        "UNION",
    "UNIQUE",  "UPDATE",   "VALUES",   "WHERE",       "WITH",       "XOR",         "NO",
    "YES",
};

char upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return upper(x) == upper(y); });
}

bool isBracketed(std::string_view name) {
    return name.size() >= 2 && name.front() == '[' && name.back() == ']' &&
           name.substr(1, name.size() - 2).find(']') == std::string_view::npos;
}

} // namespace

bool needsBrackets(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name.front())))
        return true;
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x80 && (std::isalnum(byte) || c == '_');
    });
    if (!plain)
        return true;
    return std::any_of(std::begin(ReservedWords), std::end(ReservedWords),
                       [name](std::string_view word) { return equalsIgnoringCase(name, word); });
}

std::string sqlName(std::string_view name) {
    if (isBracketed(name) || !needsBrackets(name))
        return std::string(name);
    return "[" + std::string(name) + "]";
}

std::string_view unbracketed(std::string_view name) {
    return isBracketed(name) ? name.substr(1, name.size() - 2) : name;
}

bool sameName(std::string_view a, std::string_view b) {
    return equalsIgnoringCase(unbracketed(a), unbracketed(b));
}

} // namespace quarix::engine
