#include "engine/sql/ComparedRange.h"

#include "engine/sql/AccessText.h"
#include "engine/sql/FunctionCatalogue.h"

#include <cmath>

namespace quarix::engine::sql {

namespace {

std::optional<double> constantOf(const Expr& e) {
    if (e.kind == Expr::Kind::Number || e.kind == Expr::Kind::Date)
        return std::isfinite(e.number) ? std::optional<double>(e.number) : std::nullopt;
    if (e.kind == Expr::Kind::Unary && e.op == "-" && e.args[0]->kind == Expr::Kind::Number)
        if (const auto v = constantOf(*e.args[0]))
            return -*v;
    return std::nullopt;
}

bool isWholePart(const Expr& e) {
    return e.kind == Expr::Kind::Call && e.args.size() == 1 &&
           isWholePartFunction(lowerAscii(e.text));
}

// The field a side names, directly or through Int or Fix, and how far the
// function may move its value.
const Expr* fieldOf(const Expr& e, double& slack) {
    if (e.kind == Expr::Kind::Name)
        return &e;
    if (isWholePart(e) && e.args[0]->kind == Expr::Kind::Name) {
        slack = 1;
        return e.args[0].get();
    }
    return nullptr;
}

std::string mirrored(const std::string& op) {
    if (op == "<")
        return ">";
    if (op == ">")
        return "<";
    if (op == "<=")
        return ">=";
    if (op == ">=")
        return "<=";
    return op;
}

} // namespace

std::optional<ComparedRange> comparedRangeOf(const Expr& e) {
    double slack = 0;
    ComparedRange range;
    if (e.kind == Expr::Kind::Between && !e.negated) {
        const auto low = constantOf(*e.args[1]), high = constantOf(*e.args[2]);
        range.field = fieldOf(*e.args[0], slack);
        if (!range.field || !low || !high)
            return std::nullopt;
        range.lower = *low - slack;
        range.upper = *high + slack;
        return range;
    }
    if (e.kind != Expr::Kind::Binary)
        return std::nullopt;
    std::string op = e.op;
    const Expr* side = e.args[0].get();
    auto value = constantOf(*e.args[1]);
    if (!value) {
        side = e.args[1].get();
        value = constantOf(*e.args[0]);
        op = mirrored(op);
    }
    if (!value || !(range.field = fieldOf(*side, slack)))
        return std::nullopt;
    if (op == "=" || op == ">" || op == ">=")
        range.lower = *value - slack;
    if (op == "=" || op == "<" || op == "<=")
        range.upper = *value + slack;
    if (!range.lower && !range.upper)
        return std::nullopt;
    return range;
}

} // namespace quarix::engine::sql
