// Errors that show only while SQLite runs a statement reach the caller of
// the engine with Access's number and text, wherever the statement runs:
// when the rows are chosen, counted, sorted, or read back a chunk at a time.
#include "ShopFile.h"

#include <functional>

namespace quarix::test {
namespace {

struct RunningError {
    const char* name;
    std::function<void(engine::AccessDatabase&)> run;
    const char* error;
};

class ErrorsWhileRunning : public ShopFile {};

// Reads every row of a result, so that errors of its values show.
void readAll(const std::shared_ptr<engine::ResultSet>& result) {
    for (std::int64_t r = 0; r < result->rowCount(); ++r)
        result->row(r);
}

const char* const kMismatch = "3464 Data type mismatch in criteria expression.";

const RunningError kErrors[] = {
    {"NumberOperatorOnText",
     [](engine::AccessDatabase& db) { db.filter("Customers", "[City] * 2 > 1"); }, kMismatch},
    {"InSortedFilter",
     [](engine::AccessDatabase& db) {
         db.execute("SELECT * FROM Customers WHERE Int([City]) > 1 ORDER BY Name");
     },
     kMismatch},
    {"InOrderBy",
     [](engine::AccessDatabase& db) { db.execute("SELECT * FROM Customers ORDER BY Int([City])"); },
     kMismatch},
    {"InSelectList",
     [](engine::AccessDatabase& db) { readAll(db.execute("SELECT Int(City) FROM Customers")); },
     kMismatch},
    {"InGroupedQuery",
     [](engine::AccessDatabase& db) {
         db.execute("SELECT Country, Sum(City * 1) FROM Customers GROUP BY Country");
     },
     kMismatch},
    {"InSavedQueryFilter",
     [](engine::AccessDatabase& db) { db.filter("Big Spenders", "[Name] - 1 > 0"); }, kMismatch},
    {"DivisionByZero", [](engine::AccessDatabase& db) { db.filter("Customers", "[Age] \\ 0 > 1"); },
     "11 Division by zero"},
    {"Overflow",
     [](engine::AccessDatabase& db) {
         readAll(db.execute("SELECT CInt([Balance] * 1000) FROM Customers"));
     },
     "6 Overflow"},
    {"InvalidArgument",
     [](engine::AccessDatabase& db) { readAll(db.execute("SELECT Sqr(-Age) FROM Customers")); },
     "5 Invalid procedure call or argument."},
    {"InvalidUseOfNull",
     [](engine::AccessDatabase& db) {
         readAll(db.execute("SELECT Left$(City, 1) FROM Customers"));
     },
     "94 Invalid use of Null"},
    {"TooDeepForSqlite",
     [](engine::AccessDatabase& db) {
         std::string nested = "1";
         for (int i = 0; i < 40; ++i)
             nested = "IIf([Age] > " + std::to_string(i) + ", " + nested + ", 0)";
         db.filter("Customers", nested + " = 1");
     },
     "3360 Query is too complex."},
    {"TooLongForSqlite",
     [](engine::AccessDatabase& db) {
         std::string sum = "[Age]";
         for (int i = 0; i < 5000; ++i)
             sum += " + 1";
         db.filter("Customers", sum + " > 1");
     },
     "3360 Query is too complex."},
};

TEST_P(ErrorsWhileRunning, ComeAsAccessErrors) {
    for (const RunningError& e : kErrors)
        EXPECT_EQ(engineErrorOf([&] { e.run(db()); }), e.error) << e.name;
}

INSTANTIATE_TEST_SUITE_P(Shop, ErrorsWhileRunning, ::testing::Values("shop.accdb", "shop.mdb"));

} // namespace
} // namespace quarix::test
