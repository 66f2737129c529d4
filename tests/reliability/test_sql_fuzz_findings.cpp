// Statements the SQL fuzzer found: each must run as Access would run it,
// not fail inside SQLite.
#include "engine/AccessDatabase.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

namespace {

using quarix::engine::AccessDatabase;

// Text with zero characters inside, from a literal.
template <std::size_t N> std::string withZeros(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// A zero character inside a text ended the translated statement early:
// "unrecognized token" from SQLite instead of a result.
TEST(SqlFuzzFindings, AZeroCharacterInsideATextIsKept) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("shop.mdb"));
    const auto length =
        db->execute(withZeros("SELECT TOP 1 Len('a\0b') AS n, 'x\0''y' AS t FROM Customers"));
    ASSERT_EQ(length->rowCount(), 1);
    EXPECT_EQ(length->text(0, length->row(0)[0]), "3");
    EXPECT_EQ(length->text(1, length->row(0)[1]), withZeros("x\0'y"));

    const std::int64_t all =
        db->execute("SELECT * FROM Customers WHERE City Is Not Null")->rowCount();
    EXPECT_EQ(db->filter("Customers", withZeros("[City] <> 'Lon\0don'"))->rowCount(), all);
}

} // namespace
