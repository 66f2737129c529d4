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
