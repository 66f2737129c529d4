// Expressions of Access SQL, from the loosest operator (Imp) to the tightest.
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessErrors.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/Limits.h"
#include "engine/sql/Parser.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace quarix::engine::sql {

namespace {

ExprPtr node(Expr::Kind kind, std::size_t begin, std::size_t end) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->begin = begin;
    e->end = end;
    return e;
}

ExprPtr negated(std::size_t begin, ExprPtr operand) {
    auto e = node(Expr::Kind::Unary, begin, operand->end);
    e->op = "-";
    e->args.push_back(std::move(operand));
    return e;
}

} // namespace

double numberValue(const Token& token) {
    const double value = std::strtod(token.text.c_str(), nullptr);
    if (!std::isfinite(value))
        throw errors::overflow();
    return value;
}

Parser::Nested::Nested(Parser& parser) : parser_(parser) {
    if (++parser_.nesting_ > kMaxNesting) {
        --parser_.nesting_;
        throw errors::tooComplex();
    }
}

void Parser::fail(Failure::Kind kind) const {
    throw Failure{kind};
}

ExprPtr Parser::clauseExpression(bool stopAtComma) {
    const std::size_t first = pos_;
    expressionStart_ = first;
    expressionStopsAtComma_ = stopAtComma;
    try {
        ExprPtr e = parseImp();
        if (!atClauseEnd(stopAtComma))
            fail();
        return e;
    } catch (const Failure& f) {
        const std::string text = clauseText(first, stopAtComma);
        switch (f.kind) {
        case Failure::Kind::String:
            throw errors::badString(text);
        case Failure::Kind::Date:
            throw errors::badDate(text);
        case Failure::Kind::Operator:
            break;
        }
        throw errors::missingOperator(text);
    }
}

ExprPtr Parser::binary(std::string op, ExprPtr left, ExprPtr right) {
    auto e = node(Expr::Kind::Binary, left->begin, right->end);
    e->op = std::move(op);
    e->args.push_back(std::move(left));
    e->args.push_back(std::move(right));
    return e;
}

// One precedence level of left-associative operators: operands of the next
// level joined while one of the operators (a keyword or a symbol) follows.
ExprPtr Parser::leftAssociative(ExprPtr (Parser::*operand)(),
                                std::initializer_list<std::string_view> operators) {
    ExprPtr e = (this->*operand)();
    for (;;) {
        std::string op;
        for (std::string_view candidate : operators) {
            const bool keyword = std::isalpha(static_cast<unsigned char>(candidate.front())) != 0;
            if (keyword ? acceptWord(candidate) : acceptSymbol(candidate)) {
                op = candidate;
                break;
            }
        }
        if (op.empty())
            return e;
        e = binary(op, std::move(e), (this->*operand)());
    }
}

ExprPtr Parser::parseImp() {
    Nested nested(*this);
    return leftAssociative(&Parser::parseEqv, {"imp"});
}

ExprPtr Parser::parseEqv() {
    return leftAssociative(&Parser::parseXor, {"eqv"});
}

ExprPtr Parser::parseXor() {
    return leftAssociative(&Parser::parseOr, {"xor"});
}

ExprPtr Parser::parseOr() {
    return leftAssociative(&Parser::parseAnd, {"or"});
}

ExprPtr Parser::parseAnd() {
    return leftAssociative(&Parser::parseNot, {"and"});
}

ExprPtr Parser::parseNot() {
    if (peek().isWord("not")) {
        Nested nested(*this);
        const std::size_t begin = take().begin;
        ExprPtr operand = parseNot();
        auto e = node(Expr::Kind::Unary, begin, operand->end);
        e->op = "not";
        e->args.push_back(std::move(operand));
        return e;
    }
    return parseComparison();
}

ExprPtr Parser::parseComparison() {
    ExprPtr e = parseConcat();
    for (;;) {
        const Token& t = peek();
        if (t.kind == Token::Kind::Symbol && (t.text == "=" || t.text == "<>" || t.text == "<" ||
                                              t.text == ">" || t.text == "<=" || t.text == ">=")) {
            const std::string op = take().text;
            e = binary(op, std::move(e), parseConcat());
            continue;
        }
        if (t.isWord("is")) {
            take();
            const bool negated = acceptWord("not");
            if (!peek().isWord("null"))
                fail();
            const std::size_t end = take().end;
            auto is = node(Expr::Kind::IsNull, e->begin, end);
            is->negated = negated;
            is->args.push_back(std::move(e));
            e = std::move(is);
            continue;
        }
        const bool negated = t.isWord("not") && (peek(1).isWord("like") ||
                                                 peek(1).isWord("between") || peek(1).isWord("in"));
        const Token& k = negated ? peek(1) : t;
        if (k.isWord("like")) {
            take();
            if (negated)
                take();
            ExprPtr pattern = parseConcat();
            auto like = node(Expr::Kind::Like, e->begin, pattern->end);
            like->negated = negated;
            like->args.push_back(std::move(e));
            like->args.push_back(std::move(pattern));
            e = std::move(like);
        } else if (k.isWord("between")) {
            take();
            if (negated)
                take();
            ExprPtr low = parseConcat();
            if (!acceptWord("and"))
                fail();
            ExprPtr high = parseConcat();
            auto between = node(Expr::Kind::Between, e->begin, high->end);
            between->negated = negated;
            between->args.push_back(std::move(e));
            between->args.push_back(std::move(low));
            between->args.push_back(std::move(high));
            e = std::move(between);
        } else if (k.isWord("in")) {
            take();
            if (negated)
                take();
            if (!acceptSymbol("("))
                fail();
            auto in = node(Expr::Kind::In, e->begin, e->end);
            in->negated = negated;
            in->args.push_back(std::move(e));
            if (peek().isWord("select")) {
                in->query = parseQuery();
            } else {
                do
                    in->args.push_back(parseImp());
                while (acceptSymbol(","));
            }
            if (!peek().isSymbol(")"))
                fail();
            in->end = take().end;
            e = std::move(in);
        } else {
            return e;
        }
    }
}

ExprPtr Parser::parseConcat() {
    return leftAssociative(&Parser::parseAdditive, {"&"});
}
ExprPtr Parser::parseAdditive() {
    return leftAssociative(&Parser::parseMod, {"+", "-"});
}
ExprPtr Parser::parseMod() {
    return leftAssociative(&Parser::parseIntDiv, {"mod"});
}
ExprPtr Parser::parseIntDiv() {
    return leftAssociative(&Parser::parseMultiplicative, {"\\"});
}
ExprPtr Parser::parseMultiplicative() {
    return leftAssociative(&Parser::parseNegation, {"*", "/"});
}

// Negation binds looser than ^ (-[x]^2 is -([x]^2)), except straight before
// a number, which it makes negative first: -10^2 is 100, -(10)^2 is -100.
ExprPtr Parser::parseNegation() {
    const bool plus = peek().isSymbol("+");
    if (!plus && !(peek().isSymbol("-") && peek(1).kind != Token::Kind::Number))
        return parsePower();
    Nested nested(*this);
    const std::size_t begin = take().begin;
    ExprPtr operand = parseNegation();
    return plus ? std::move(operand) : negated(begin, std::move(operand));
}

ExprPtr Parser::parsePower() {
    return leftAssociative(&Parser::parsePowerOperand, {"^"});
}

// A negative number, or after ^ any negated operand: 2^-[x].
ExprPtr Parser::parsePowerOperand() {
    if (!peek().isSymbol("-") && !peek().isSymbol("+"))
        return parsePrimary();
    Nested nested(*this);
    const Token& sign = take();
    const bool minus = sign.text == "-";
    const std::size_t begin = sign.begin;
    ExprPtr operand = parsePowerOperand();
    return minus ? negated(begin, std::move(operand)) : std::move(operand);
}

ExprPtr Parser::parsePrimary() {
    const Token& t = peek();
    switch (t.kind) {
    case Token::Kind::Number: {
        take();
        auto e = node(Expr::Kind::Number, t.begin, t.end);
        e->text = t.text;
        e->number = numberValue(t);
        e->isInteger =
            t.text.find_first_of(".eE") == std::string::npos && e->number <= 2147483647.0;
        return e;
    }
    case Token::Kind::Text: {
        take();
        auto e = node(Expr::Kind::Text, t.begin, t.end);
        e->text = t.text;
        return e;
    }
    case Token::Kind::Date: {
        take();
        const auto serial = parseDateText(t.text);
        if (!serial)
            fail(Failure::Kind::Date);
        auto e = node(Expr::Kind::Date, t.begin, t.end);
        e->number = *serial;
        return e;
    }
    case Token::Kind::BadText:
        fail(Failure::Kind::String);
    case Token::Kind::BadDate:
        fail(Failure::Kind::Date);
    case Token::Kind::Bracket:
        return parseName();
    case Token::Kind::Word:
        break;
    case Token::Kind::Symbol:
        if (t.text == "(") {
            const std::size_t begin = take().begin;
            ExprPtr e;
            if (peek().isWord("select")) {
                e = node(Expr::Kind::Subquery, begin, begin);
                e->query = parseQuery();
            } else {
                e = parseImp();
            }
            if (!peek().isSymbol(")"))
                fail();
            const std::size_t end = take().end;
            e->begin = begin;
            e->end = end;
            return e;
        }
        if (t.text == "*") { // a bare * only stands as a select item
            take();
            return node(Expr::Kind::Star, t.begin, t.end);
        }
        fail();
    default:
        fail();
    }
    for (const char* word : {"true", "yes", "on", "false", "no", "off"}) {
        if (t.isWord(word)) {
            take();
            auto e = node(Expr::Kind::Boolean, t.begin, t.end);
            e->number = (t.isWord("true") || t.isWord("yes") || t.isWord("on")) ? -1 : 0;
            return e;
        }
    }
    if (t.isWord("null")) {
        take();
        return node(Expr::Kind::Null, t.begin, t.end);
    }
    if (t.isWord("exists") && peek(1).isSymbol("(")) {
        const std::size_t begin = take().begin;
        take();
        if (!peek().isWord("select"))
            fail();
        auto e = node(Expr::Kind::Exists, begin, begin);
        e->query = parseQuery();
        if (!peek().isSymbol(")"))
            fail();
        e->end = take().end;
        return e;
    }
    if (isReservedWord(t))
        fail();
    if (peek(1).isSymbol("(")) {
        const Token& name = take();
        return parseCall(name);
    }
    return parseName();
}

ExprPtr Parser::parseName() {
    const Token& first = take();
    auto e = node(Expr::Kind::Name, first.begin, first.end);
    e->parts.push_back(first.text);
    while (peek().isSymbol(".") || peek().isSymbol("!")) {
        const Token& next = peek(1);
        if (next.isSymbol("*")) {
            take();
            e->kind = Expr::Kind::Star;
            e->end = take().end;
            return e;
        }
        if (next.kind != Token::Kind::Word && next.kind != Token::Kind::Bracket)
            fail();
        take();
        e->parts.push_back(take().text);
        e->end = next.end;
    }
    e->text = e->parts.back();
    return e;
}

ExprPtr Parser::parseCall(const Token& name) {
    take(); // (
    auto e = node(Expr::Kind::Call, name.begin, name.end);
    e->text = name.text;
    if (peek().isSymbol("*") && peek(1).isSymbol(")")) {
        take();
        e->starArgument = true;
    } else if (!peek().isSymbol(")")) {
        do
            e->args.push_back(parseImp());
        while (acceptSymbol(","));
    }
    if (!peek().isSymbol(")"))
        fail();
    e->end = take().end;
    return e;
}

} // namespace quarix::engine::sql
