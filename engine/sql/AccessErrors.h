#pragma once

#include "engine/EngineError.h"

#include <string>

namespace quarix::engine::sql {

// The errors of the query engine, numbered and worded as Access does.
namespace errors {

inline EngineError missingOperator(const std::string& expression) {
    return EngineError(3075,
                       "Syntax error (missing operator) in query expression '" + expression + "'.");
}
inline EngineError badString(const std::string& expression) {
    return EngineError(3075, "Syntax error in string in query expression '" + expression + "'.");
}
inline EngineError badDate(const std::string& expression) {
    return EngineError(3075, "Syntax error in date in query expression '" + expression + "'.");
}
inline EngineError undefinedFunction(const std::string& name) {
    return EngineError(3085, "Undefined function '" + name + "' in expression.");
}
inline EngineError missingSource(const std::string& name) {
    return EngineError(3078, "The database engine cannot find the input table or query '" + name +
                                 "'. Make sure it exists and that its name is spelled correctly.");
}
inline EngineError tooFewParameters(std::size_t expected) {
    return EngineError(3061, "Too few parameters. Expected " + std::to_string(expected) + ".");
}
inline EngineError typeMismatch() {
    return EngineError(3464, "Data type mismatch in criteria expression.");
}
inline EngineError aggregateInWhere(const std::string& clause) {
    return EngineError(3096, "Cannot have aggregate function in WHERE clause (" + clause + ").");
}
inline EngineError notInAggregate(const std::string& expression) {
    return EngineError(
        3122, "You tried to execute a query that does not include the specified expression '" +
                  expression + "' as part of an aggregate function.");
}
inline EngineError ambiguousField(const std::string& name) {
    return EngineError(3079, "The specified field '" + name +
                                 "' could refer to more than one table listed in the FROM clause "
                                 "of your SQL statement.");
}
inline EngineError wrongArgumentCount(const std::string& expression) {
    return EngineError(3075, "Wrong number of arguments used with function in query expression '" +
                                 expression + "'.");
}
inline EngineError invalidStatement() {
    return EngineError(
        3129,
        "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
}
inline EngineError fromClause() {
    return EngineError(3131, "Syntax error in FROM clause.");
}
inline EngineError joinOperation() {
    return EngineError(3135, "Syntax error in JOIN operation.");
}
inline EngineError orderByClause() {
    return EngineError(3138, "Syntax error in ORDER BY clause.");
}
inline EngineError groupByClause() {
    return EngineError(3132, "Syntax error in GROUP BY clause.");
}
inline EngineError selectStatement() {
    return EngineError(
        3141,
        "The SELECT statement includes a reserved word or an argument name that is misspelled "
        "or missing, or the punctuation is incorrect.");
}
inline EngineError transformStatement() {
    return EngineError(3143, "Syntax error in TRANSFORM statement.");
}
inline EngineError starInCrosstab() {
    return EngineError(3123, "Cannot use '*' in crosstab query.");
}
inline EngineError tooManyHeadings(std::size_t count) {
    return EngineError(3205, "Too many crosstab column headers (" + std::to_string(count) + ").");
}
inline EngineError afterEnd() {
    return EngineError(3142, "Characters found after end of SQL statement.");
}
inline EngineError overflow() {
    return EngineError(6, "Overflow");
}
inline EngineError tooComplex() {
    return EngineError(3360, "Query is too complex.");
}
inline EngineError tooManyFields() {
    return EngineError(3190, "Too many fields defined.");
}
inline EngineError unionColumns() {
    return EngineError(3307, "The number of columns in the two selected tables or queries of a "
                             "union query do not match.");
}

} // namespace errors
} // namespace quarix::engine::sql
