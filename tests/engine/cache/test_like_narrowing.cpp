#include "engine/cache/ColumnIndex.h"
#include "engine/cache/LikeNarrowing.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/sql/Translator.h"
#include "engine/sql/TypedSql.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

using namespace quarix::engine;

namespace {

// A table of 6,000 rows: numbered e-mail addresses, and a few texts that
// fold beyond ASCII, hold wildcard characters, or are Null.
class LikeNarrowingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        sql::registerAccessFunctions(db_);
        registerFoldFunction(db_);
        execSql(db_, "CREATE TABLE t1 (c0 INTEGER, c1 TEXT)");
        execSql(db_, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                     "5990) INSERT INTO t1 SELECT i, 'user.' || i || '@Example.org' FROM n");
        for (const char* text : {"ÅNGSTRÖM", "ångström", "Straße", "STRASSE",
                                 "\xE2\x84\xAA"
                                 "elvin",
                                 "kelvin", "a*b?c#d", "[abc]", "", "Zürich"})
            execSql(db_, "INSERT INTO t1 VALUES (0, " + sql::quoteText(text) + ")");
        execSql(db_, "INSERT INTO t1 VALUES (0, NULL), (0, NULL)");
    }
    void TearDown() override { sqlite3_close(db_); }

    void buildBoth() {
        buildIndex(db_, {"t1", "c1", IndexKind::FoldedKey});
        buildIndex(db_, {"t1", "c1", IndexKind::Trigram});
    }

    std::vector<long> rowids(const std::string& where) {
        std::vector<long> ids;
        Statement q(db_, "SELECT rowid FROM t1 WHERE " + where + " ORDER BY rowid");
        while (q.step())
            ids.push_back(static_cast<long>(sqlite3_column_int64(q.get(), 0)));
        return ids;
    }

    std::string plan(const std::string& where) {
        std::string text;
        Statement q(db_, "EXPLAIN QUERY PLAN SELECT rowid FROM t1 WHERE " + where);
        while (q.step())
            text +=
                reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 3)) + std::string("\n");
        return text;
    }

    LikeNarrowing narrow(const std::string& pattern) {
        return narrowLike(db_, "t1", "c1", rows(), "t1.rowid", pattern);
    }
    std::uint64_t rows() { return static_cast<std::uint64_t>(rowids("1").size()); }

    sqlite3* db_ = nullptr;
};

struct PatternCase {
    const char* pattern;
    bool narrowed; // an index answers it for few enough rows
};

class EveryPattern : public LikeNarrowingTest, public ::testing::WithParamInterface<PatternCase> {};

// The index only narrows: Like decides, so the answer is the same with it.
TEST_P(EveryPattern, GivesTheAnswerOfAPlainScan) {
    const PatternCase c = GetParam();
    const std::string like = "acc_like(" + sql::quoteText(c.pattern) + ", c1)";
    const std::vector<long> scanned = rowids(like);
    buildBoth();
    const LikeNarrowing narrowing = narrow(c.pattern);
    EXPECT_FALSE(narrowing.missing);
    EXPECT_EQ(!narrowing.condition.empty(), c.narrowed) << narrowing.condition;
    if (!narrowing.condition.empty()) {
        EXPECT_EQ(rowids(narrowing.condition + " AND " + like), scanned);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, EveryPattern,
    ::testing::Values(PatternCase{"user.1234@example.org", true}, // Equals, other case
                      PatternCase{"USER.12*", true},              // Begins
                      PatternCase{"*34@ex*", true},               // Contains
                      PatternCase{"*ångström*", true},            // folds beyond ASCII
                      PatternCase{"ÅNGSTRÖM", true}, PatternCase{"*STRASSE*", true},
                      PatternCase{"*ße", false},           // a run of two: scanned
                      PatternCase{"kelvin", true},         // the Kelvin sign folds to k
                      PatternCase{"*45?@e*", false},       // "@e" too short, "45" too
                      PatternCase{"*123#@e[x]amp*", true}, // runs between wildcards
                      PatternCase{"user.49[0-9]@*", true}, // prefix before a set
                      PatternCase{"*[abc]*", false},       // no literal
                      PatternCase{"*a[b*", false},         // unclosed: matches nothing
                      PatternCase{"*@example.org", false}, // every row: not selective
                      PatternCase{"", false}, PatternCase{"*", false}, PatternCase{"*zür*", true}));

TEST_F(LikeNarrowingTest, SearchesTheIndexesTheyName) {
    buildBoth();
    EXPECT_NE(plan(narrow("user.77@example.org").condition).find("x1_c1_key"), std::string::npos);
    EXPECT_NE(plan(narrow("*777@exa*").condition).find("VIRTUAL TABLE INDEX"), std::string::npos);
}

TEST_F(LikeNarrowingTest, AskForTheMissingIndexInsteadOfNarrowing) {
    const LikeNarrowing equals = narrow("user.1@example.org");
    EXPECT_TRUE(equals.condition.empty());
    ASSERT_TRUE(equals.missing);
    EXPECT_EQ(equals.missing->kind, IndexKind::FoldedKey);
    const LikeNarrowing contains = narrow("*ser.1*");
    ASSERT_TRUE(contains.missing);
    EXPECT_EQ(contains.missing->kind, IndexKind::Trigram);
    EXPECT_FALSE(narrow("*er*").missing); // nothing an index could do
    // A small table is scanned, and asks for nothing.
    EXPECT_FALSE(narrowLike(db_, "t1", "c1", kLeastRowsIndexed - 1, "rowid", "abc").missing);
}

TEST_F(LikeNarrowingTest, IndexesOfATableGoWithIt) {
    buildBoth();
    execSql(db_, "CREATE TABLE t2 (c1 TEXT)");
    buildIndex(db_, {"t2", "c1", IndexKind::Trigram});
    dropIndexesOf(db_, "t1");
    EXPECT_FALSE(indexExists(db_, {"t1", "c1", IndexKind::FoldedKey}));
    EXPECT_FALSE(indexExists(db_, {"t1", "c1", IndexKind::Trigram}));
    EXPECT_TRUE(indexExists(db_, {"t2", "c1", IndexKind::Trigram}));
    dropAllIndexes(db_);
    EXPECT_TRUE(rowids("1").size() > 0);
    Statement left(db_, "SELECT count(*) FROM sqlite_schema WHERE name GLOB 'x*'");
    left.step();
    EXPECT_EQ(sqlite3_column_int(left.get(), 0), 0);
}

} // namespace
