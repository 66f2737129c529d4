// Malformed or unrunnable statements fail with Access's numbers and words.
// Statements nested deeper or grown longer than Access takes fail with
// "Query is too complex." rather than exhausting the stack or memory; long
// runs of one operator, which Access does take, still work.
#include "SqlTestDatabase.h"

#include <functional>

namespace quarix::test {
namespace {

struct ErrorCase {
    const char* statement; // a whole statement, or a criterion on Customers when it has no SELECT
    const char* error;
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.statement;
}

class Errors : public ::testing::TestWithParam<ErrorCase> {
protected:
    SqlTestDatabase db;
};

TEST_P(Errors, AreReportedAsAccessReportsThem) {
    const std::string statement = GetParam().statement;
    const bool whole =
        statement.find("SELECT") != std::string::npos || statement.find("DELETE") == 0;
    EXPECT_EQ(
        engineErrorOf([&] { whole ? db.select(statement) : db.filter("Customers", statement); }),
        GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Translation, Errors,
    ::testing::Values(
        ErrorCase{"SELECT * FROM Nowhere",
                  "3078 The database engine cannot find the input table or query 'Nowhere'. "
                  "Make sure it exists and that its name is spelled correctly."},
        ErrorCase{
            "[City] Like 'x' foo",
            "3075 Syntax error (missing operator) in query expression '[City] Like 'x' foo'."},
        ErrorCase{"[City] = = 'x'",
                  "3075 Syntax error (missing operator) in query expression '[City] = = 'x''."},
        ErrorCase{"[City] = 'abc",
                  "3075 Syntax error in string in query expression '[City] = 'abc'."},
        ErrorCase{"[Joined] > #13/45/2020#",
                  "3075 Syntax error in date in query expression '[Joined] > #13/45/2020#'."},
        ErrorCase{"Foo([City]) = 1", "3085 Undefined function 'Foo' in expression."},
        ErrorCase{"Left([City]) = 'L'", "3075 Wrong number of arguments used with function in "
                                        "query expression 'Left([City]) = 'L''."},
        ErrorCase{"[Town] = 'x'", "3061 Too few parameters. Expected 1."},
        ErrorCase{"[Town] = [Forms]![Main]![Town] Or [town] = 'y'",
                  "3061 Too few parameters. Expected 2."},
        ErrorCase{"[Age] = 'abc'", "3464 Data type mismatch in criteria expression."},
        ErrorCase{"[Age] < 1E999", "6 Overflow"},
        ErrorCase{"SELECT TOP 1E999 * FROM Customers", "6 Overflow"},
        ErrorCase{"Max([Age]) > 30",
                  "3096 Cannot have aggregate function in WHERE clause (Max([Age]) > 30)."},
        ErrorCase{"SELECT Name, Count(*) FROM Customers",
                  "3122 You tried to execute a query that does not include the specified "
                  "expression 'Name' as part of an aggregate function."},
        ErrorCase{"SELECT CustomerID FROM Customers INNER JOIN Orders ON Customers.CustomerID = "
                  "Orders.CustomerID",
                  "3079 The specified field 'CustomerID' could refer to more than one table listed "
                  "in the FROM clause of your SQL statement."},
        ErrorCase{"DELETE FROM Customers", "3129 Invalid SQL statement; expected 'DELETE', "
                                           "'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."},
        ErrorCase{"SELECT * FROM Customers INNER JOIN Orders",
                  "3135 Syntax error in JOIN operation."},
        ErrorCase{"SELECT * FROM Customers ORDER BY", "3138 Syntax error in ORDER BY clause."},
        ErrorCase{"SELECT * FROM Customers; x",
                  "3142 Characters found after end of SQL statement."},
        ErrorCase{"SELECT City FROM Customers UNION SELECT City, Name FROM Customers",
                  "3307 The number of columns in the two selected tables or queries of a union "
                  "query do not match."}));

INSTANTIATE_TEST_SUITE_P(
    WhileRunning, Errors,
    ::testing::Values(ErrorCase{"[Code] > 20", "3464 Data type mismatch in criteria expression."},
                      ErrorCase{"Int([City]) > 1",
                                "3464 Data type mismatch in criteria expression."},
                      ErrorCase{"[Age] / 0 > 1", "11 Division by zero"},
                      ErrorCase{"CInt([Balance] * 100) > 0", "6 Overflow"}));

TEST(RuntimeErrorMessages, MapBackOnlyTheirOwnPrefix) {
    const auto e =
        engine::sql::engineErrorFromMessage("QX3464:Data type mismatch in criteria expression.");
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->number(), 3464);
    EXPECT_EQ(e->description(), "Data type mismatch in criteria expression.");
    EXPECT_FALSE(engine::sql::engineErrorFromMessage("no such table: t1").has_value());
}

TEST(RuntimeErrorMessages, SqliteLimitsAreAccessLimits) {
    for (const char* message :
         {"parser stack overflow", "Expression tree is too large (maximum depth 1000)",
          "too many terms in compound SELECT", "too many arguments on function acc_cat"})
        EXPECT_EQ(engine::sql::engineErrorFromMessage(message)->number(), 3360) << message;
    EXPECT_EQ(engine::sql::engineErrorFromMessage("too many columns in result set")->number(),
              3190);
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// "first", then `times` times "piece".
std::string run(const std::string& first, const std::string& piece, int times) {
    return first + repeated(piece, times);
}

struct DeepCase {
    const char* name;
    std::function<std::string()> criterion; // on Customers
};

void PrintTo(const DeepCase& c, std::ostream* os) {
    *os << c.name;
}

class TooComplex : public ::testing::TestWithParam<DeepCase> {
protected:
    SqlTestDatabase db;
};

TEST_P(TooComplex, IsRefusedAsAccessRefusesIt) {
    const std::string criterion = GetParam().criterion();
    EXPECT_EQ(engineErrorOf([&] { db.filter("Customers", criterion); }),
              "3360 Query is too complex.");
}

INSTANTIATE_TEST_SUITE_P(
    Nesting, TooComplex,
    ::testing::Values(
        DeepCase{"Parentheses",
                 [] { return repeated("(", 3000) + "[Age]" + repeated(")", 3000) + " > 1"; }},
        DeepCase{"Not", [] { return repeated("Not ", 20000) + "[Active]"; }},
        DeepCase{"Minus", [] { return repeated("-", 20000) + "[Age] > 1"; }},
        DeepCase{"PowerOfMinus", [] { return "2^" + repeated("-", 20000) + "[Age] > 1"; }},
        DeepCase{"Calls", [] { return repeated("Abs(", 3000) + "[Age]" + repeated(")", 3000); }},
        DeepCase{"InListItems",
                 [] { return "[Age] In (" + repeated("Abs(", 3000) + "1" + repeated(")", 3001); }},
        DeepCase{"Subqueries",
                 [] {
                     return "[Age] = " + repeated("(SELECT Max(Age) FROM Customers WHERE ", 500) +
                            "True" + repeated(")", 500);
                 }},
        DeepCase{"NestedIIf", [] {
                     return repeated("IIf([Age] > 1, ", 40) + "1" + repeated(", 0)", 40) + " = 1";
                 }}));

INSTANTIATE_TEST_SUITE_P(
    Length, TooComplex,
    ::testing::Values(
        DeepCase{"Sum", [] { return run("[Age]", " + 1", 20000) + " > 1"; }},
        DeepCase{"Comparisons", [] { return run("[Age]", " = 1", 20000); }},
        DeepCase{"IsNull", [] { return run("[Age]", " Is Null", 20000); }},
        DeepCase{"Like", [] { return run("[City]", " Like 'a'", 20000); }},
        // Between writes its operand twice: a run of them would double it each time.
        DeepCase{"Between", [] { return run("[Age]", " Between 1 And 2", 60); }},
        DeepCase{"BetweenInParentheses",
                 [] { return repeated("(", 60) + "[Age]" + repeated(" Between 1 And 2)", 60); }},
        // In writes its operand once per item.
        DeepCase{"InLists",
                 [] { return "[Age]" + repeated(" In (" + run("1", ", 1", 2000) + ")", 3); }}));

TEST(TooComplexStatements, AreRefusedInEveryClause) {
    SqlTestDatabase db;
    for (const std::string& statement :
         {"SELECT * FROM Customers ORDER BY " + repeated("(", 5000) + "[Age]" + repeated(")", 5000),
          "SELECT * FROM " + repeated("(", 3000) + "Customers" + repeated(")", 3000),
          "SELECT Customers.Name FROM Customers" +
              repeated(" INNER JOIN Orders ON Orders.CustomerID = 1", 3000),
          "SELECT Name FROM Customers" + repeated(" UNION SELECT Name FROM Customers", 3000)})
        EXPECT_EQ(engineErrorOf([&] { db.select(statement); }), "3360 Query is too complex.")
            << statement.substr(0, 40);
    EXPECT_EQ(engineErrorOf(
                  [&] { db.select("SELECT " + run("Age", ", Age", 3000) + " FROM Customers"); }),
              "3190 Too many fields defined.");
}

// Ages by CustomerID: 1:25 2:32 3:41 4:Null 5:19 6:60 7:33.
TEST(LongRuns, OfOneOperatorWork) {
    SqlTestDatabase db;
    EXPECT_EQ(db.ids(run("[Age] > 20", " And [Age] > 20", 10000)), "1,2,3,6,7");
    EXPECT_EQ(db.ids(run("[Age] = 0", " Or [Age] = 41", 10000)), "3");
    EXPECT_EQ(db.ids(run("[Age] = 0", " Or [Age] = 41 And [City] Is Not Null", 5000)), "3");
    EXPECT_EQ(db.ids("[Age] In (" + run("0", ", 19", 20000) + ")"), "5");
    EXPECT_EQ(db.ids("[Age] Not In (" + run("0", ", 19", 20000) + ")"), "1,2,3,6,7");
    EXPECT_EQ(db.eval(run("1", " + 1", 900)), "901");
    EXPECT_EQ(db.eval(run("100", " - 1", 450) + repeated(" + 1", 450)), "100");
    EXPECT_EQ(db.eval(run("1", " * 1", 900)), "1");
    EXPECT_EQ(db.eval(run("'x'", " & 'x'", 20000)).size(), 20001u);
    EXPECT_EQ(db.eval(run("Null", " & Null", 20000)), "Null");
    EXPECT_EQ(db.eval(run("Null", " & Null", 300) + " & 'a'" + repeated(" & Null", 300)), "a");
}

// Runs keep Access's evaluation, whatever shape the SQL takes.
TEST(LongRuns, KeepTheirMeaning) {
    SqlTestDatabase db;
    EXPECT_EQ(db.eval("5 And 3 And 1"), "1");
    EXPECT_EQ(db.eval("4 And 3 And True"), "0");
    EXPECT_EQ(db.eval("(1 = 1) And 4 And 3"), "True");
    EXPECT_EQ(db.eval("4 Or 3 Or (1 = 2)"), "True");
    EXPECT_EQ(db.eval("1 + 2 * 3 - 4 + 5 * 6"), "33");
    EXPECT_EQ(db.evalOrError("'a' + 'b' + 1"), "#3464");
    EXPECT_EQ(db.eval("1 + 2 + '3'"), "6");
    EXPECT_EQ(db.eval("1 + 2 + Null + 3"), "Null");
    EXPECT_EQ(db.eval("#1/1/2020# + 1 + 1"), "2020-01-03 00:00:00");
    EXPECT_EQ(db.eval("#1/3/2020# - #1/1/2020# - 1"), "1");
    EXPECT_EQ(db.eval("'a' & 1 & Null & True"), "a1True");
    EXPECT_EQ(db.eval("2 * 3 * [Price]"), "-74.04");
}

} // namespace
} // namespace quarix::test
