#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarix::engine::sql {

// One token of Access SQL. Keywords are plain words: the parser tells them
// apart, so that a bracketed [Order] is always a name.
struct Token {
    enum class Kind {
        End,
        Word,    // plain name or keyword, as written
        Bracket, // [name]: text is the name inside the brackets
        Number,  // text as written
        Text,    // 'x' or "x": text is the value, doubled quotes undone
        Date,    // #...#: text is what stands between the #
        Symbol,  // ( ) , . ! ; * + - / \ ^ & = <> < > <= >=
        BadText, // a quote without its closing quote
        BadName, // a [ without its ]
        BadDate, // a # without its closing #
        BadChar, // a character that starts no token
    };
    Kind kind = Kind::End;
    std::string text;
    std::size_t begin = 0; // byte offsets in the statement
    std::size_t end = 0;

    bool isWord(std::string_view keyword) const; // case-insensitive, plain words only
    bool isSymbol(std::string_view symbol) const { return kind == Kind::Symbol && text == symbol; }
};

// Splits a statement into tokens; the list always ends with an End token.
// Malformed pieces become Bad* tokens that the parser reports in context.
std::vector<Token> tokenize(std::string_view sql);

} // namespace quarix::engine::sql
