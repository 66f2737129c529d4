#include "engine/sql/Lexer.h"

#include "engine/sql/AccessText.h"

#include <cctype>

namespace quarix::engine::sql {

bool Token::isWord(std::string_view keyword) const {
    if (kind != Kind::Word || text.size() != keyword.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (kAsciiLower[static_cast<unsigned char>(text[i])] !=
            kAsciiLower[static_cast<unsigned char>(keyword[i])])
            return false;
    return true;
}

namespace {

bool isNameChar(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::vector<Token> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    auto push = [&](Token::Kind kind, std::string text, std::size_t begin, std::size_t end) {
        tokens.push_back({kind, std::move(text), begin, end});
    };
    while (i < n) {
        const char c = sql[i];
        const std::size_t start = i;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (c == '\'' || c == '"') {
            std::string value;
            ++i;
            bool closed = false;
            while (i < n) {
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += sql[i++];
            }
            push(closed ? Token::Kind::Text : Token::Kind::BadText, std::move(value), start, i);
        } else if (c == '[') {
            const auto close = sql.find(']', i + 1);
            if (close == std::string_view::npos) {
                push(Token::Kind::BadName, std::string(sql.substr(i + 1)), start, n);
                i = n;
            } else {
                push(Token::Kind::Bracket, std::string(sql.substr(i + 1, close - i - 1)), start,
                     close + 1);
                i = close + 1;
            }
        } else if (c == '#') {
            const auto close = sql.find('#', i + 1);
            if (close == std::string_view::npos) {
                push(Token::Kind::BadDate, std::string(sql.substr(i + 1)), start, n);
                i = n;
            } else {
                push(Token::Kind::Date, std::string(sql.substr(i + 1, close - i - 1)), start,
                     close + 1);
                i = close + 1;
            }
        } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(sql[i + 1]) &&
                                  (tokens.empty() || (tokens.back().kind != Token::Kind::Word &&
                                                      tokens.back().kind != Token::Kind::Bracket &&
                                                      !tokens.back().isSymbol(")"))))) {
            while (i < n && isDigit(sql[i]))
                ++i;
            if (i < n && sql[i] == '.') {
                ++i;
                while (i < n && isDigit(sql[i]))
                    ++i;
            }
            if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < n && (sql[j] == '+' || sql[j] == '-'))
                    ++j;
                if (j < n && isDigit(sql[j])) {
                    i = j;
                    while (i < n && isDigit(sql[i]))
                        ++i;
                }
            }
            push(Token::Kind::Number, std::string(sql.substr(start, i - start)), start, i);
        } else if (isNameChar(static_cast<unsigned char>(c))) {
            while (i < n && isNameChar(static_cast<unsigned char>(sql[i])))
                ++i;
            if (i < n && sql[i] == '$') // Left$, Format$: the text-only forms of functions
                ++i;
            push(Token::Kind::Word, std::string(sql.substr(start, i - start)), start, i);
        } else if ((c == '<' || c == '>') && i + 1 < n &&
                   (sql[i + 1] == '=' || (c == '<' && sql[i + 1] == '>'))) {
            push(Token::Kind::Symbol, std::string(sql.substr(i, 2)), start, i + 2);
            i += 2;
        } else if (std::string_view("(),.!;*+-/\\^&=<>").find(c) != std::string_view::npos) {
            push(Token::Kind::Symbol, std::string(1, c), start, i + 1);
            ++i;
        } else {
            push(Token::Kind::BadChar, std::string(1, c), start, i + 1);
            ++i;
        }
    }
    push(Token::Kind::End, {}, n, n);
    return tokens;
}

} // namespace quarix::engine::sql
