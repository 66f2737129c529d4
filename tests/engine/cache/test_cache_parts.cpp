// The parts of the cache in an in-memory SQLite database: result sets and
// their keys, the table inserter, and Like narrowed through indexes.
#include "engine/cache/CacheFile.h"
#include "engine/cache/ColumnIndex.h"
#include "engine/cache/LikeNarrowing.h"
#include "engine/cache/RangeNarrowing.h"
#include "engine/cache/ResultSet.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/cache/StatementResults.h"
#include "engine/cache/TableInserter.h"
#include "engine/sql/Translator.h"
#include "engine/sql/TypedSql.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

using namespace quarix::engine;

namespace {

constexpr std::int64_t tableRows = 10000;
constexpr std::int64_t groups = 13;

// Group of a row: many rows share one, so the order relies on its tie-break.
std::int64_t groupOf(std::int64_t id) {
    return (id * 7919) % groups;
}

// A cache in memory holding one table of tableRows rows, with every
// statement the connection runs noted.
class ResultSets : public ::testing::Test, public sql::SchemaLookup {
protected:
    void SetUp() override {
        cache_ = std::make_shared<CacheFile>("/nowhere.accdb", SourceStamp{}, true, 0);
        execSql(db(), "CREATE TABLE big (id INTEGER, grp INTEGER)");
        execSql(db(), "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                          std::to_string(tableRows) + ") INSERT INTO big SELECT i, (i * 7919) % " +
                          std::to_string(groups) + " FROM n");
        sqlite3_trace_v2(db(), SQLITE_TRACE_STMT, &ResultSets::noteStatement, this);
    }
    void TearDown() override { sqlite3_trace_v2(db(), 0, nullptr, nullptr); }

    const sql::SchemaSource* find(const std::string& name) override {
        return name == "Big" ? &source_ : nullptr;
    }

    sqlite3* db() { return cache_->db(); }

    std::shared_ptr<ResultSet> run(const std::string& accessSql) {
        std::lock_guard lock(cache_->mutex());
        return std::make_shared<ResultSet>(cache_, sql::translateSelect(accessSql, *this));
    }

    // How many statements evaluated the criterion over the whole table (as
    // opposed to reading rows back by key) since the last call.
    int searches() {
        const int n = searches_;
        searches_ = 0;
        return n;
    }

    // The ids of the expected result: rows with id > floor by group, then id.
    static std::vector<std::int64_t> expectedIds(std::int64_t floor) {
        std::vector<std::int64_t> ids(static_cast<std::size_t>(tableRows - floor));
        std::iota(ids.begin(), ids.end(), floor + 1);
        std::stable_sort(ids.begin(), ids.end(),
                         [](std::int64_t a, std::int64_t b) { return groupOf(a) < groupOf(b); });
        return ids;
    }

    std::shared_ptr<CacheFile> cache_;

private:
    static int noteStatement(unsigned, void* self, void* stmt, void*) {
        const std::string sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt));
        if (sql.find("FROM big AS") != std::string::npos && sql.find("qx_k") == std::string::npos)
            ++static_cast<ResultSets*>(self)->searches_;
        return 0;
    }

    sql::SchemaSource source_{
        "Big", "big", {}, {{"ID", ColumnType::Long, "id"}, {"Grp", ColumnType::Long, "grp"}}};
    int searches_ = 0;
};

const std::string ordered = "SELECT * FROM Big WHERE ID > 100 ORDER BY Grp";

TEST_F(ResultSets, RowsPastTheFirstKeysFollowTheSameOrder) {
    auto rs = run(ordered);
    const auto expected = expectedIds(100);
    ASSERT_EQ(rs->rowCount(), static_cast<std::int64_t>(expected.size()));
    ASSERT_GT(rs->rowCount(), StatementResults::firstKeys);
    // A fresh result whose first read is a page far down.
    const std::int64_t farDown = StatementResults::firstKeys * 2 + 17;
    EXPECT_EQ(run(ordered)->row(farDown)[0].integer, expected[static_cast<std::size_t>(farDown)]);
    // Out of order on purpose: past the first keys, back, and across the edge.
    for (std::int64_t index :
         {std::int64_t{0}, StatementResults::firstKeys + 500, std::int64_t{10},
          StatementResults::firstKeys - 1, StatementResults::firstKeys, rs->rowCount() - 1})
        EXPECT_EQ(rs->row(index)[0].integer, expected[static_cast<std::size_t>(index)])
            << "row " << index;
    for (std::int64_t index = 0; index < rs->rowCount(); ++index)
        ASSERT_EQ(rs->row(index)[0].integer, expected[static_cast<std::size_t>(index)])
            << "row " << index;
}

std::int64_t rowsNotInGroup(std::int64_t group) {
    std::int64_t n = 0;
    for (std::int64_t id = 1; id <= tableRows; ++id)
        n += groupOf(id) != group;
    return n;
}

struct CountCase {
    const char* sql;
    std::int64_t rows;
    int searches = -1; // statements over the whole table, where it matters
};

class ResultCounts : public ResultSets, public ::testing::WithParamInterface<CountCase> {};

// A small or unsorted result needs no count apart from its rows; a large
// sorted one counts in the pass that sorts out its first keys.
TEST_P(ResultCounts, CountIsKnownBeforeAnyRowIsRead) {
    EXPECT_EQ(run(GetParam().sql)->rowCount(), GetParam().rows);
    if (GetParam().searches >= 0) {
        EXPECT_EQ(searches(), GetParam().searches);
    }
}

INSTANTIATE_TEST_SUITE_P(
    SmallAndLarge, ResultCounts,
    ::testing::Values(CountCase{"SELECT * FROM Big WHERE ID > 100 ORDER BY Grp", tableRows - 100,
                                1},
                      CountCase{"SELECT * FROM Big WHERE ID > 100", tableRows - 100, 2},
                      CountCase{"SELECT * FROM Big WHERE ID <= 4096 ORDER BY Grp DESC", 4096},
                      CountCase{"SELECT * FROM Big WHERE ID <= 4097", 4097},
                      CountCase{"SELECT * FROM Big WHERE ID < 50 ORDER BY Grp", 49, 1},
                      CountCase{"SELECT * FROM Big WHERE ID < 0 ORDER BY Grp", 0},
                      CountCase{"SELECT * FROM Big ORDER BY Grp", tableRows},
                      CountCase{"SELECT * FROM Big WHERE Grp <> 3 OR ID = Null ORDER BY ID DESC",
                                rowsNotInGroup(3)},
                      CountCase{"SELECT DISTINCT Grp FROM Big", groups}));

TEST_F(ResultSets, ARepeatedStatementReusesWhatIsAlreadyKnown) {
    auto first = run(ordered);
    EXPECT_EQ(searches(), 1) << "the sort for the first keys counts all";
    first->row(0);
    auto again = run(ordered);
    EXPECT_EQ(searches(), 0) << "a page change runs nothing again";
    EXPECT_EQ(again->row(StatementResults::firstKeys - 1)[0].integer,
              first->row(StatementResults::firstKeys - 1)[0].integer);
    EXPECT_EQ(searches(), 0);

    first->row(StatementResults::firstKeys); // past the first keys: now all of them
    EXPECT_EQ(searches(), 1);
    auto third = run(ordered);
    third->row(tableRows - 101);
    again->row(tableRows - 101);
    EXPECT_EQ(searches(), 0) << "all keys are known now";
}

TEST_F(ResultSets, AStatementOnTheClockRunsOnceWholeAndIsNeverReused) {
    const std::string sql = "SELECT * FROM Big WHERE ID > 100 AND Now() > #1/1/2000# ORDER BY Grp";
    auto first = run(sql);
    EXPECT_EQ(first->rowCount(), tableRows - 100);
    EXPECT_EQ(searches(), 1) << "count and rows from one evaluation";
    first->row(first->rowCount() - 1);
    EXPECT_EQ(searches(), 0);
    run(sql);
    EXPECT_EQ(searches(), 1);
}

struct Shape {
    std::size_t columns;
    std::size_t rowsPerBatch;
    std::size_t batches;
};

class TableInserterShapes : public ::testing::TestWithParam<Shape> {
protected:
    void SetUp() override { ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK); }
    void TearDown() override { sqlite3_close(db_); }

    static TableInfo tableOf(std::size_t columns) {
        TableInfo info;
        info.name = "T";
        for (std::size_t c = 0; c < columns; ++c)
            info.columns.push_back(
                {"C" + std::to_string(c), c % 2 ? ColumnType::Long : ColumnType::Text});
        return info;
    }

    // What every cell of the table must hold.
    static std::string textAt(std::size_t row, std::size_t column) {
        return "r" + std::to_string(row) + "c" + std::to_string(column);
    }

    sqlite3* db_ = nullptr;
};

// Rows arrive in batches whose texts live in one buffer the reader reuses
// once the batch has ended, as frames do: every row must be inserted whole,
// from its own batch's bytes, whatever the batch and row sizes.
TEST_P(TableInserterShapes, EveryRowOfEveryBatchIsInsertedWithItsOwnValues) {
    const Shape shape = GetParam();
    const TableInfo info = tableOf(shape.columns);
    TableInserter inserter(db_, "t1", info);
    inserter.begin(info);
    std::size_t row = 0;
    std::string frame;
    for (std::size_t b = 0; b < shape.batches; ++b) {
        frame.clear();
        std::vector<std::vector<std::pair<std::size_t, std::size_t>>> spans;
        for (std::size_t r = 0; r < shape.rowsPerBatch; ++r) {
            spans.emplace_back();
            for (std::size_t c = 0; c < shape.columns; ++c) {
                const std::string text = textAt(row + r, c);
                spans.back().push_back({frame.size(), text.size()});
                frame += text;
            }
        }
        for (std::size_t r = 0; r < shape.rowsPerBatch; ++r, ++row) {
            std::vector<StoredValue> values;
            for (std::size_t c = 0; c < shape.columns; ++c) {
                const auto [at, size] = spans[r][c];
                values.push_back(
                    c % 2 ? StoredValue::ofInteger(static_cast<std::int64_t>(row * 1000 + c))
                          : StoredValue::ofText(std::string_view(frame).substr(at, size)));
            }
            inserter.row(values);
        }
        inserter.endBatch();
        frame.assign(frame.size(), '#'); // the reader's next frame overwrites the buffer
    }
    EXPECT_EQ(inserter.rows(), row);

    Statement count(db_, "SELECT count(*) FROM t1");
    ASSERT_TRUE(count.step());
    ASSERT_EQ(sqlite3_column_int64(count.get(), 0), static_cast<std::int64_t>(row));
    if (shape.columns == 0)
        return;
    Statement all(db_, "SELECT rowid, * FROM t1 ORDER BY rowid");
    std::size_t expectedRow = 0;
    while (all.step()) {
        ASSERT_EQ(sqlite3_column_int64(all.get(), 0), static_cast<std::int64_t>(expectedRow + 1));
        for (std::size_t c = 0; c < shape.columns; ++c) {
            const int column = static_cast<int>(c) + 1;
            if (c % 2) {
                ASSERT_EQ(sqlite3_column_int64(all.get(), column),
                          static_cast<std::int64_t>(expectedRow * 1000 + c));
            } else {
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(all.get(), column));
                ASSERT_EQ(std::string(text ? text : "(null)"), textAt(expectedRow, c))
                    << "row " << expectedRow;
            }
        }
        ++expectedRow;
    }
    EXPECT_EQ(expectedRow, row);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, TableInserterShapes,
    ::testing::Values(Shape{10, 1000, 3}, // batches that are no multiple of a statement's rows
                      Shape{10, 64, 2}, Shape{3, 5, 4}, Shape{1, 200, 1},
                      Shape{700, 70, 2}, // wide: few rows fit one statement's parameters
                      Shape{0, 130, 2}));

TEST(TableInserter, ShortRowsAreFilledWithNull) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    TableInfo info;
    info.name = "T";
    info.columns = {{"A", ColumnType::Long}, {"B", ColumnType::Text}};
    {
        TableInserter inserter(db, "t1", info);
        inserter.begin(info);
        const StoredValue one[] = {StoredValue::ofInteger(7)};
        for (int i = 0; i < 100; ++i)
            inserter.row(one);
        inserter.endBatch();
    }
    {
        Statement q(db, "SELECT count(*), sum(c0), count(c1) FROM t1");
        ASSERT_TRUE(q.step());
        EXPECT_EQ(sqlite3_column_int64(q.get(), 0), 100);
        EXPECT_EQ(sqlite3_column_int64(q.get(), 1), 700);
        EXPECT_EQ(sqlite3_column_int64(q.get(), 2), 0);
    }
    sqlite3_close(db);
}

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

    IndexNarrowing narrow(const std::string& pattern) {
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
    const IndexNarrowing narrowing = narrow(c.pattern);
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
    const IndexNarrowing equals = narrow("user.1@example.org");
    EXPECT_TRUE(equals.condition.empty());
    ASSERT_TRUE(equals.missing);
    EXPECT_EQ(equals.missing->kind, IndexKind::FoldedKey);
    const IndexNarrowing contains = narrow("*ser.1*");
    ASSERT_TRUE(contains.missing);
    EXPECT_EQ(contains.missing->kind, IndexKind::Trigram);
    EXPECT_FALSE(narrow("*er*").missing); // nothing an index could do
    // A small table is scanned, and asks for nothing.
    EXPECT_FALSE(narrowLike(db_, "t1", "c1", kLeastRowsIndexed - 1, "rowid", "abc").missing);
}

// The numbers of c0 through their ordered index: a text in a number column
// is always a candidate, as its comparison decides it.
TEST_F(LikeNarrowingTest, RangesKeepEveryRowTheirComparisonMightTake) {
    execSql(db_, "INSERT INTO t1 VALUES ('12abc', 'text'), (X'00', 'blob')");
    EXPECT_EQ(narrowRange(db_, "t1", "c0", rows(), "rowid", {10.0, 20.0}).missing->kind,
              IndexKind::Ordered);
    buildIndex(db_, {"t1", "c0", IndexKind::Ordered});
    const auto within = [&](std::optional<double> lower, std::optional<double> upper) {
        const std::string condition =
            narrowRange(db_, "t1", "c0", rows(), "rowid", {lower, upper}).condition;
        return condition.empty() ? std::vector<long>{} : rowids(condition);
    };
    const std::vector<long> tenToTwenty = rowids("c0 BETWEEN 10 AND 20 OR typeof(c0) <> 'integer'");
    EXPECT_EQ(within(10, 20), tenToTwenty);
    EXPECT_EQ(within(10.5, 19.5), rowids("c0 BETWEEN 11 AND 19 OR typeof(c0) <> 'integer'"));
    EXPECT_EQ(within(5980, std::nullopt), rowids("c0 >= 5980 OR typeof(c0) <> 'integer'"));
    EXPECT_TRUE(within(std::nullopt, 1000).empty()); // a sixth of the rows: scanned
    EXPECT_NE(plan(narrowRange(db_, "t1", "c0", rows(), "rowid", {10.0, 20.0}).condition)
                  .find("x1_c0_num"),
              std::string::npos);
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
