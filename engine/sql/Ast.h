#pragma once

#include "engine/sql/Parameters.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quarix::engine::sql {

struct Query;

// An Access SQL expression as parsed. Source offsets let errors quote the
// expression as the user wrote it.
struct Expr {
    enum class Kind {
        Number,  // number, text (as written), isInteger
        Text,    // text
        Date,    // number = serial
        Boolean, // number = -1 or 0
        Null,
        Name,     // parts: [table,] field; or longer (Forms!f!c)
        Star,     // parts: [table]
        Unary,    // op "-" or "not"; args[0]
        Binary,   // op (lower case): + - * / \ mod ^ & = <> < > <= >= and or xor eqv imp
        Like,     // args: value, pattern; negated
        Between,  // args: value, low, high; negated
        In,       // args: value, items...; or query; negated
        IsNull,   // args[0]; negated for Is Not Null
        Call,     // text = function name as written; args; starArgument for Count(*)
        Subquery, // query: a scalar subquery
        Exists,   // query
    };

    Kind kind = Kind::Null;
    std::string op;
    std::string text;
    std::vector<std::string> parts;
    double number = 0;
    bool isInteger = false;
    bool negated = false;
    bool starArgument = false;
    std::vector<std::unique_ptr<Expr>> args;
    std::shared_ptr<Query> query;
    std::size_t begin = 0; // source offsets
    std::size_t end = 0;

    Expr() = default;
    Expr(const Expr&) = delete;
    Expr& operator=(const Expr&) = delete;
    // A run of operators makes a chain of nodes as long as the run: it is
    // taken apart node by node, not by one nested destructor per node.
    ~Expr();
};
using ExprPtr = std::unique_ptr<Expr>;

struct SelectItem {
    ExprPtr expr; // a Star expression for * and T.*
    std::string alias;
};

struct FromNode {
    enum class Kind { Table, Subquery, Join } kind = Kind::Table;
    std::string name;  // Table: the table or query name
    std::string alias; // Table and Subquery
    std::shared_ptr<Query> query;
    enum class JoinType { Inner, Left, Right, Cross } joinType = JoinType::Inner;
    std::unique_ptr<FromNode> left, right;
    ExprPtr on;
};

struct OrderItem {
    ExprPtr expr;
    bool descending = false;
};

struct Top {
    double count = 0;
    bool percent = false;
};

struct SelectCore {
    bool distinct = false;
    bool distinctRow = false;
    std::optional<Top> top;
    std::vector<SelectItem> items;
    std::vector<std::unique_ptr<FromNode>> from; // comma-separated sources
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
};

// TRANSFORM value SELECT ... PIVOT heading [IN (headings)]: the SELECT's
// rows, then one column per value of the heading, each cell the value
// (an aggregate) over the rows of its row and column.
struct Crosstab {
    ExprPtr value;
    ExprPtr pivot;
    std::vector<ExprPtr> headings; // the IN list: the columns, in order
    bool fixedHeadings = false;    // an IN list was given
};

struct Query {
    std::vector<SelectCore> selects;
    std::vector<bool> unionAll; // one per UNION, between selects[i] and selects[i+1]
    std::vector<OrderItem> orderBy;
    std::vector<QueryParameter> parameters; // PARAMETERS declarations, in order
    std::optional<Crosstab> crosstab;       // a TRANSFORM statement (one SELECT)
};

} // namespace quarix::engine::sql
