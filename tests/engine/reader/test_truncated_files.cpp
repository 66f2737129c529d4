// Files cut short, as a broken download or copy leaves them: reading one
// must end in the damaged-file error, never in fewer rows.
#include "engine/reader/ReaderErrors.h"

#include "tests/engine/reader/CollectingSink.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace quarix::engine;
using quarix::test::CollectingSink;
namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t pageSize = 4096;

// Where a file is cut; `opens` is false when part of a page, or the
// catalogue, is missing, so that the file does not open at all.
struct Cut {
    const char* name;
    std::uintmax_t (*at)(std::uintmax_t size);
    bool opens;
};

std::uintmax_t third(std::uintmax_t size) {
    return size / 3 / pageSize * pageSize;
}

const Cut cuts[] = {
    {"PageBoundaryAtAThird", [](std::uintmax_t size) { return third(size); }, false},
    {"InsideAPageAtAThird", [](std::uintmax_t size) { return third(size) + 1000; }, false},
    {"PageBoundaryAtTwoThirds", [](std::uintmax_t size) { return 2 * third(size); }, true},
    {"OneByteShort", [](std::uintmax_t size) { return size - 1; }, false},
    {"LastPageMissing", [](std::uintmax_t size) { return size - pageSize; }, true},
};

// Rows per table, or the first error of each read; "catalogue" holds the
// catalogue's error when there is one.
std::map<std::string, std::string> readEverything(const std::string& path) {
    std::map<std::string, std::string> outcome;
    const auto describe = [](const EngineError& e) {
        return std::to_string(e.number()) + " " + e.description();
    };
    try {
        for (const TableInfo& table : AccessFileReader::readCatalogue(path).tables) {
            CollectingSink sink;
            try {
                AccessFileReader::readTable(path, table.name, sink);
                outcome[table.name] = std::to_string(sink.rows().size()) + " rows";
            } catch (const EngineError& e) {
                outcome[table.name] = describe(e);
            }
        }
    } catch (const EngineError& e) {
        outcome["catalogue"] = describe(e);
    }
    return outcome;
}

class TruncatedFiles : public testing::TestWithParam<std::tuple<const char*, Cut>> {
protected:
    quarix::test::ScratchFolder dir_{"truncated-files"};
};

TEST_P(TruncatedFiles, EndInTheDamagedFileErrorNeverInFewerRows) {
    const auto [fixture, cut] = GetParam();
    const std::string original = quarix::test::dataFile(fixture);
    const std::string path = (dir_ / fixture).string();
    fs::copy_file(original, path);
    fs::resize_file(path, cut.at(fs::file_size(path)));

    const auto complete = readEverything(original);
    const auto truncated = readEverything(path);
    bool failed = false;
    for (const auto& [table, result] : truncated) {
        if (complete.contains(table) && result == complete.at(table))
            continue;
        failed = true;
        EXPECT_TRUE(result.starts_with("3343 ")) << table << ": " << result;
        EXPECT_NE(result.find("'" + path + "'"), std::string::npos) << table << ": " << result;
    }
    EXPECT_TRUE(failed) << "every table read as before";
    const std::string incomplete = "3343 " + reader_errors::incompleteFileError(path).description();
    if (!cut.opens) {
        EXPECT_EQ(truncated, (std::map<std::string, std::string>{{"catalogue", incomplete}}));
    }
}

INSTANTIATE_TEST_SUITE_P(ShopFiles, TruncatedFiles,
                         testing::Combine(testing::Values("shop.mdb", "shop.accdb"),
                                          testing::ValuesIn(cuts)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param);
                             name[name.find('.')] = '_';
                             return name + "_" + std::get<1>(info.param).name;
                         });

// Jet 3 files have 2 KB pages: half a 4 KB page is a whole one there.
TEST(TruncatedJet3File, IsCheckedByItsOwnPageSize) {
    const quarix::test::ScratchFolder dir("truncated-jet3");
    const std::string path = (dir / "testV1997.mdb").string();
    fs::copy_file(quarix::test::dataFile("real/testV1997.mdb"), path);
    const auto size = fs::file_size(path);
    fs::resize_file(path, size - 2048);
    EXPECT_TRUE(readEverything(path) !=
                readEverything(quarix::test::dataFile("real/testV1997.mdb")));
    fs::resize_file(path, size - 2048 - 1000);
    EXPECT_EQ(readEverything(path).at("catalogue"),
              "3343 " + reader_errors::incompleteFileError(path).description());
}

} // namespace
