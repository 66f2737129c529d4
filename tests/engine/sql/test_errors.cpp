// Malformed or unrunnable statements fail with Access's numbers and words.
#include "SqlTestDatabase.h"

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

} // namespace
} // namespace quarix::test
