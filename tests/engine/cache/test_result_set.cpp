#include "engine/cache/CacheFile.h"
#include "engine/cache/ResultSet.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/cache/StatementResults.h"
#include "engine/sql/Translator.h"

#include <gtest/gtest.h>

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

TEST_F(ResultSets, APageFarDownIsRightOnAFreshResult) {
    const auto expected = expectedIds(100);
    const std::int64_t index = StatementResults::firstKeys * 2 + 17;
    EXPECT_EQ(run(ordered)->row(index)[0].integer, expected[static_cast<std::size_t>(index)]);
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

} // namespace
