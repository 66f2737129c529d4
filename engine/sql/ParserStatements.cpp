// Statements of Access SQL: PARAMETERS, SELECT with its clauses, UNION,
// TRANSFORM ... PIVOT.
#include "engine/sql/AccessErrors.h"
#include "engine/sql/Limits.h"
#include "engine/sql/Parser.h"

namespace quarix::engine::sql {

namespace {

const char* const kReserved[] = {
    "and", "or",   "not",   "xor",      "eqv",   "imp",   "mod",    "like",     "between",
    "in",  "is",   "from",  "where",    "group", "order", "having", "union",    "select",
    "as",  "join", "inner", "distinct", "by",    "on",    "pivot",  "transform"};

bool isClauseWord(const Token& t) {
    for (const char* w :
         {"from", "where", "group", "order", "having", "union", "as", "with", "select", "pivot"})
        if (t.isWord(w))
            return true;
    return false;
}

} // namespace

bool isReservedWord(const Token& token) {
    for (const char* w : kReserved)
        if (token.isWord(w))
            return true;
    return false;
}

Parser::Parser(std::string_view sql) : sql_(sql), tokens_(tokenize(sql)) {}

const Token& Parser::peek(std::size_t ahead) const {
    const std::size_t i = pos_ + ahead;
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
}

const Token& Parser::take() {
    const Token& t = peek();
    if (pos_ + 1 < tokens_.size())
        ++pos_;
    return t;
}

bool Parser::acceptWord(std::string_view keyword) {
    if (!peek().isWord(keyword))
        return false;
    take();
    return true;
}

bool Parser::acceptSymbol(std::string_view symbol) {
    if (!peek().isSymbol(symbol))
        return false;
    take();
    return true;
}

bool Parser::atClauseEnd(bool stopAtComma) const {
    const Token& t = peek();
    return t.kind == Token::Kind::End || t.isSymbol(";") || t.isSymbol(")") ||
           (stopAtComma && t.isSymbol(",")) || isClauseWord(t) || t.isWord("asc") ||
           t.isWord("desc") || t.isWord("inner") || t.isWord("left") || t.isWord("right") ||
           t.isWord("join");
}

std::string Parser::textBetween(std::size_t begin, std::size_t end) const {
    std::string text = sql_.substr(begin, end - begin);
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == ';'))
        text.pop_back();
    return text;
}

// The text of a clause expression that failed to parse: from its first token
// to the next clause keyword outside parentheses.
std::string Parser::clauseText(std::size_t firstToken, bool stopAtComma) const {
    int depth = 0;
    std::size_t i = firstToken;
    for (; i < tokens_.size(); ++i) {
        const Token& t = tokens_[i];
        if (t.kind == Token::Kind::End || (depth == 0 && (t.isSymbol(";") || isClauseWord(t) ||
                                                          (stopAtComma && t.isSymbol(",")))))
            break;
        if (t.isSymbol("("))
            ++depth;
        if (t.isSymbol(")") && --depth < 0)
            break;
    }
    const std::size_t begin = tokens_[firstToken].begin;
    const std::size_t end = i < tokens_.size() ? tokens_[i].begin : sql_.size();
    return textBetween(begin, std::max(begin, end));
}

ExprPtr Parser::parseCriterion() {
    const std::size_t first = pos_;
    ExprPtr e = clauseExpression(false);
    if (peek().kind != Token::Kind::End)
        throw errors::missingOperator(textBetween(tokens_[first].begin, sql_.size()));
    return e;
}

Query Parser::parseStatement() {
    Query query;
    if (peek().isWord("parameters")) {
        take();
        parseParameters(query);
    }
    std::optional<Crosstab> crosstab;
    if (peek().isWord("transform"))
        crosstab = parseTransform();
    if (!peek().isWord("select"))
        throw crosstab ? errors::transformStatement() : errors::invalidStatement();
    auto parsed = parseQuery();
    parsed->parameters = std::move(query.parameters);
    if (crosstab) {
        if (parsed->selects.size() > 1)
            throw errors::transformStatement();
        parsePivot(*crosstab);
        parsed->crosstab = std::move(crosstab);
    }
    if (acceptWord("with") && !(acceptWord("owneraccess") && acceptWord("option")))
        throw errors::selectStatement();
    acceptSymbol(";");
    if (peek().kind != Token::Kind::End)
        throw errors::afterEnd();
    return std::move(*parsed);
}

// TRANSFORM value [AS alias]: the alias names nothing in the result.
Crosstab Parser::parseTransform() {
    take(); // TRANSFORM
    if (peek().isWord("select"))
        throw errors::transformStatement();
    Crosstab crosstab;
    crosstab.value = clauseExpression(false);
    if (acceptWord("as")) {
        const Token& alias = take();
        if (alias.kind != Token::Kind::Word && alias.kind != Token::Kind::Bracket)
            throw errors::transformStatement();
    }
    return crosstab;
}

// PIVOT heading [IN (value, ...)]. The heading parses as an expression, In
// list included; an In list at its top is the list of columns.
void Parser::parsePivot(Crosstab& crosstab) {
    if (!acceptWord("pivot") || atClauseEnd(false))
        throw errors::transformStatement();
    ExprPtr pivot = clauseExpression(false);
    if (pivot->kind == Expr::Kind::In && !pivot->negated && !pivot->query) {
        crosstab.fixedHeadings = true;
        for (std::size_t i = 1; i < pivot->args.size(); ++i)
            crosstab.headings.push_back(std::move(pivot->args[i]));
        ExprPtr heading = std::move(pivot->args[0]);
        pivot = std::move(heading);
    }
    crosstab.pivot = std::move(pivot);
}

void Parser::parseParameters(Query& query) {
    do {
        // The name, possibly a chain such as [Forms]![Main]![Since], as its prompt shows it.
        const std::size_t begin = peek().begin;
        std::size_t end = begin;
        do {
            const Token& part = take();
            if (part.kind != Token::Kind::Word && part.kind != Token::Kind::Bracket)
                throw errors::selectStatement();
            end = part.end;
        } while (acceptSymbol("!") || acceptSymbol("."));
        QueryParameter declared{parameterPromptName(textBetween(begin, end)), ColumnType::Unknown,
                                true};
        // The type: a word (Text, Long, "Yes/No" is written YesNo), an optional size.
        if (peek().kind == Token::Kind::Word)
            declared.type = declaredParameterType(peek().text);
        while (peek().kind == Token::Kind::Word)
            take();
        if (acceptSymbol("(")) {
            while (!peek().isSymbol(")") && peek().kind != Token::Kind::End)
                take();
            if (!acceptSymbol(")"))
                throw errors::selectStatement();
        }
        query.parameters.push_back(std::move(declared));
    } while (acceptSymbol(","));
    if (!acceptSymbol(";"))
        throw errors::selectStatement();
}

std::shared_ptr<Query> Parser::parseQuery() {
    auto query = std::make_shared<Query>();
    query->selects.push_back(parseSelectCore());
    while (peek().isWord("union")) {
        take();
        query->unionAll.push_back(acceptWord("all"));
        const bool parenthesised = acceptSymbol("(");
        if (!peek().isWord("select"))
            throw errors::selectStatement();
        query->selects.push_back(parseSelectCore());
        if (parenthesised && !acceptSymbol(")"))
            throw errors::selectStatement();
    }
    if (peek().isWord("order"))
        parseOrderBy(*query);
    return query;
}

SelectCore Parser::parseSelectCore() {
    SelectCore core;
    take(); // SELECT
    for (;;) {
        if (acceptWord("distinct"))
            core.distinct = true;
        else if (acceptWord("distinctrow"))
            core.distinctRow = true;
        else if (acceptWord("all"))
            continue;
        else if (peek().isWord("top") && peek(1).kind == Token::Kind::Number) {
            take();
            Top top;
            top.count = numberValue(take());
            top.percent = acceptWord("percent");
            core.top = top;
        } else
            break;
    }
    parseSelectList(core);
    if (acceptWord("from")) {
        do
            core.from.push_back(parseFromSource());
        while (acceptSymbol(","));
    }
    if (acceptWord("where"))
        core.where = clauseExpression(false);
    if (peek().isWord("group")) {
        take();
        if (!acceptWord("by"))
            throw errors::groupByClause();
        do
            core.groupBy.push_back(clauseExpression(true));
        while (acceptSymbol(","));
    }
    if (acceptWord("having"))
        core.having = clauseExpression(false);
    return core;
}

void Parser::parseSelectList(SelectCore& core) {
    do {
        SelectItem item;
        if (peek().isSymbol("*")) {
            const Token& star = take();
            item.expr = std::make_unique<Expr>();
            item.expr->kind = Expr::Kind::Star;
            item.expr->begin = star.begin;
            item.expr->end = star.end;
        } else {
            if (peek().kind == Token::Kind::End || isClauseWord(peek()))
                throw errors::selectStatement();
            item.expr = clauseExpression(true);
            if (acceptWord("as")) {
                const Token& alias = take();
                if (alias.kind != Token::Kind::Word && alias.kind != Token::Kind::Bracket)
                    throw errors::selectStatement();
                item.alias = alias.text;
            }
        }
        core.items.push_back(std::move(item));
    } while (acceptSymbol(","));
}

std::string Parser::parseAlias(bool requireAs) {
    const bool as = acceptWord("as");
    const Token& t = peek();
    if ((t.kind == Token::Kind::Word && !isReservedWord(t) && !t.isWord("left") &&
         !t.isWord("right") && !t.isWord("full") && !t.isWord("cross")) ||
        (t.kind == Token::Kind::Bracket && (as || !requireAs)))
        return take().text;
    if (as)
        throw errors::fromClause();
    return {};
}

std::unique_ptr<FromNode> Parser::parseFromPrimary() {
    auto node = std::make_unique<FromNode>();
    if (acceptSymbol("(")) {
        Nested nested(*this);
        if (peek().isWord("select")) {
            node->kind = FromNode::Kind::Subquery;
            node->query = parseQuery();
            if (!acceptSymbol(")"))
                throw errors::fromClause();
            node->alias = parseAlias(false);
            return node;
        }
        node = parseFromSource();
        if (!acceptSymbol(")"))
            throw errors::fromClause();
        return node;
    }
    const Token& name = take();
    if (name.kind != Token::Kind::Word && name.kind != Token::Kind::Bracket)
        throw errors::fromClause();
    if (name.kind == Token::Kind::Word && isReservedWord(name))
        throw errors::fromClause();
    node->name = name.text;
    node->alias = parseAlias(false);
    return node;
}

std::unique_ptr<FromNode> Parser::parseFromSource() {
    auto left = parseFromPrimary();
    for (;;) {
        FromNode::JoinType type;
        if (acceptWord("inner"))
            type = FromNode::JoinType::Inner;
        else if (acceptWord("left"))
            type = FromNode::JoinType::Left;
        else if (acceptWord("right"))
            type = FromNode::JoinType::Right;
        else
            return left;
        acceptWord("outer");
        if (!acceptWord("join"))
            throw errors::joinOperation();
        if (++joins_ > kMaxNesting) // each join nests the joins before it
            throw errors::tooComplex();
        auto join = std::make_unique<FromNode>();
        join->kind = FromNode::Kind::Join;
        join->joinType = type;
        join->left = std::move(left);
        join->right = parseFromPrimary();
        if (!acceptWord("on"))
            throw errors::joinOperation();
        join->on = clauseExpression(true);
        left = std::move(join);
    }
}

void Parser::parseOrderBy(Query& query) {
    take(); // ORDER
    if (!acceptWord("by"))
        throw errors::orderByClause();
    do {
        if (peek().kind == Token::Kind::End || peek().isSymbol(";"))
            throw errors::orderByClause();
        OrderItem item;
        item.expr = clauseExpression(true);
        if (acceptWord("desc"))
            item.descending = true;
        else
            acceptWord("asc");
        query.orderBy.push_back(std::move(item));
    } while (acceptSymbol(","));
}

} // namespace quarix::engine::sql
