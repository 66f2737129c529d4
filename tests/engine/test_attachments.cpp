#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

using quarix::engine::AccessDatabase;
using quarix::engine::AttachmentFile;
using quarix::engine::EngineError;

namespace {

// "row|name|size" of each file the criterion selects.
std::vector<std::string> filesOf(const std::string& criterion) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    std::vector<std::string> files;
    db->attachments("Table1", "attach-data", criterion, [&](const AttachmentFile& file) {
        files.push_back(std::to_string(file.row) + "|" + file.name + "|" +
                        (file.bytes ? std::to_string(file.bytes->size()) : "-"));
    });
    return files;
}

TEST(Attachments, TheCriterionChoosesTheRows) {
    EXPECT_EQ(filesOf(""), (std::vector<std::string>{"2|test_data.txt|38", "2|test_data2.txt|43",
                                                     "4|test_data2.txt|43"}));
    EXPECT_EQ(filesOf("[id] = 'row4'"), (std::vector<std::string>{"4|test_data2.txt|43"}));
    EXPECT_EQ(filesOf("[id] In ('row1', 'row3')"), std::vector<std::string>{});
}

TEST(Attachments, MatchingRowsArePositionsInTheFile) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    EXPECT_EQ(db->matchingRows("Table1", "[id] <> 'row2'"), (std::vector<std::int64_t>{1, 3, 4}));
}

// The rows of a result by their position in the table, in result order;
// 0 where the result cannot tell.
std::vector<std::int64_t> sourceRowsOf(quarix::engine::ResultSet& result) {
    std::vector<std::int64_t> rows;
    for (std::int64_t i = 0; i < result.rowCount(); ++i)
        rows.push_back(result.sourceRow(i).value_or(0));
    return rows;
}

TEST(Attachments, AResultRowKnowsItsPositionInTheTable) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    const struct {
        std::string statement;
        std::vector<std::int64_t> rows;
    } cases[] = {
        {"Table1", {1, 2, 3, 4}},
        {"SELECT * FROM Table1 WHERE [id] <> 'row2' ORDER BY [id] DESC", {4, 3, 1}},
        {"SELECT DISTINCT [id] FROM Table1", {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sourceRowsOf(*db->execute(c.statement)), c.rows) << c.statement;
    EXPECT_EQ(sourceRowsOf(*db->filter("Table1", "[id] In ('row4', 'row1')")),
              (std::vector<std::int64_t>{1, 4}));
}

TEST(Attachments, ABadTableOrCriterionFailsWithAccessNumbers) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"));
    const auto numberOf = [&](const std::string& table, const std::string& criterion) {
        try {
            db->attachments(table, "attach-data", criterion, [](const AttachmentFile&) {});
        } catch (const EngineError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf("No Such Table", ""), 3078);
    EXPECT_EQ(numberOf("Table1", "[id] = "), 3075);
}

} // namespace
