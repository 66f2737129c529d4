#include "engine/cache/SqliteHelpers.h"
#include "engine/cache/TableInserter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quarix::engine;

namespace {

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

} // namespace
