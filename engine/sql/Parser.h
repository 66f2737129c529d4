#pragma once

#include "engine/sql/Ast.h"
#include "engine/sql/Lexer.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace quarix::engine::sql {

// Recursive-descent parser of Access SQL with Access's operator precedence
// (^, unary -, * /, \, Mod, + -, &, comparisons, Not, And, Or, Xor, Eqv, Imp;
// a minus straight before a number binds tighter than ^). Throws EngineError
// with Access's numbers for malformed input, and 3360 for constructs nested
// deeper than kMaxNesting.
class Parser {
public:
    explicit Parser(std::string_view sql);

    // A whole statement: [PARAMETERS ...;] [TRANSFORM ...] SELECT ... [UNION [ALL]
    // SELECT ...] [ORDER BY ...] [PIVOT ...] [;]
    Query parseStatement();

    // The whole input as one expression (a WHERE criterion or a Filter).
    ExprPtr parseCriterion();

    const std::string& source() const { return sql_; }

private:
    struct Failure {
        enum class Kind { Operator, String, Date } kind;
    };

    // Held by every construct that parses what it holds by recursion.
    class Nested {
    public:
        explicit Nested(Parser& parser);
        ~Nested() { --parser_.nesting_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        Parser& parser_;
    };

    const Token& peek(std::size_t ahead = 0) const;
    const Token& take();
    bool acceptWord(std::string_view keyword);
    bool acceptSymbol(std::string_view symbol);
    bool atClauseEnd(bool stopAtComma) const;
    std::string textBetween(std::size_t begin, std::size_t end) const;
    std::string clauseText(std::size_t firstToken, bool stopAtComma) const;

    ExprPtr clauseExpression(bool stopAtComma);
    [[noreturn]] void fail(Failure::Kind kind = Failure::Kind::Operator) const;

    ExprPtr leftAssociative(ExprPtr (Parser::*operand)(),
                            std::initializer_list<std::string_view> operators);
    ExprPtr parseImp();
    ExprPtr parseEqv();
    ExprPtr parseXor();
    ExprPtr parseOr();
    ExprPtr parseAnd();
    ExprPtr parseNot();
    ExprPtr parseComparison();
    ExprPtr parseConcat();
    ExprPtr parseAdditive();
    ExprPtr parseMod();
    ExprPtr parseIntDiv();
    ExprPtr parseMultiplicative();
    ExprPtr parseNegation();
    ExprPtr parsePower();
    ExprPtr parsePowerOperand();
    ExprPtr parsePrimary();
    ExprPtr parseName();
    ExprPtr parseCall(const Token& name);
    ExprPtr binary(std::string op, ExprPtr left, ExprPtr right);

    std::shared_ptr<Query> parseQuery();
    SelectCore parseSelectCore();
    void parseSelectList(SelectCore& core);
    std::unique_ptr<FromNode> parseFromSource();
    std::unique_ptr<FromNode> parseFromPrimary();
    std::string parseAlias(bool requireAs);
    void parseOrderBy(Query& query);
    Crosstab parseTransform();
    void parsePivot(Crosstab& crosstab);
    void parseParameters(Query& query);

    std::string sql_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::size_t expressionStart_ = 0; // first token of the clause expression being read
    bool expressionStopsAtComma_ = false;
    int nesting_ = 0;
    int joins_ = 0;
};

bool isReservedWord(const Token& token);

// The value of a number token; 6 "Overflow" for one beyond a Double (1E999).
double numberValue(const Token& token);

} // namespace quarix::engine::sql
