// Errors that show only while SQLite runs a statement reach the caller of
// the engine with Access's number and text, wherever the statement runs:
// when the rows are chosen, counted, sorted, or read back a chunk at a time.
#include "ShopFile.h"

namespace quarix::test {
namespace {

class ErrorsWhileRunning : public ShopFile {};

std::string nestedIIf(int depth) {
    std::string nested = "1";
    for (int i = 0; i < depth; ++i)
        nested = "IIf([Age] > " + std::to_string(i) + ", " + nested + ", 0)";
    return nested;
}

std::string repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

const char* const kMismatch = "3464 Data type mismatch in criteria expression.";

// A criterion on a source, or (without a criterion) a statement; "read" when
// its every row is read, so that errors of its values show.
const struct {
    const char* name;
    std::string source;
    std::string criterion;
    const char* error;
    bool read = false;
} kErrors[] = {
    {"NumberOperatorOnText", "Customers", "[City] * 2 > 1", kMismatch},
    {"InSortedFilter", "SELECT * FROM Customers WHERE Int([City]) > 1 ORDER BY Name", "",
     kMismatch},
    {"InOrderBy", "SELECT * FROM Customers ORDER BY Int([City])", "", kMismatch},
    {"InSelectList", "SELECT Int(City) FROM Customers", "", kMismatch, true},
    {"InGroupedQuery", "SELECT Country, Sum(City * 1) FROM Customers GROUP BY Country", "",
     kMismatch},
    {"InSavedQueryFilter", "Big Spenders", "[Name] - 1 > 0", kMismatch},
    {"DivisionByZero", "Customers", "[Age] \\ 0 > 1", "11 Division by zero"},
    {"Overflow", "SELECT CInt([Balance] * 1000) FROM Customers", "", "6 Overflow", true},
    {"InvalidArgument", "SELECT Sqr(-Age) FROM Customers", "",
     "5 Invalid procedure call or argument.", true},
    {"InvalidUseOfNull", "SELECT Left$(City, 1) FROM Customers", "", "94 Invalid use of Null",
     true},
    {"TooDeepForSqlite", "Customers", nestedIIf(40) + " = 1", "3360 Query is too complex."},
    {"TooLongForSqlite", "Customers", "[Age]" + repeated(" + 1", 5000) + " > 1",
     "3360 Query is too complex."},
};

TEST_P(ErrorsWhileRunning, ComeAsAccessErrors) {
    for (const auto& e : kErrors)
        EXPECT_EQ(engineErrorOf([&] {
                      if (!e.criterion.empty()) {
                          db().filter(e.source, e.criterion);
                          return;
                      }
                      const auto result = db().execute(e.source);
                      for (std::int64_t r = 0; e.read && r < result->rowCount(); ++r)
                          result->row(r);
                  }),
                  e.error)
            << e.name;
}

INSTANTIATE_TEST_SUITE_P(Shop, ErrorsWhileRunning, ::testing::Values("shop.accdb", "shop.mdb"));

} // namespace
} // namespace quarix::test
