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

enum class Cut {
    PageBoundaryAtAThird,
    InsideAPageAtAThird,
    PageBoundaryAtTwoThirds,
    OneByteShort,
    LastPageMissing
};

const char* nameOf(Cut cut) {
    switch (cut) {
    case Cut::PageBoundaryAtAThird:
        return "PageBoundaryAtAThird";
    case Cut::InsideAPageAtAThird:
        return "InsideAPageAtAThird";
    case Cut::PageBoundaryAtTwoThirds:
        return "PageBoundaryAtTwoThirds";
    case Cut::OneByteShort:
        return "OneByteShort";
    case Cut::LastPageMissing:
        return "LastPageMissing";
    }
    return "";
}

std::uintmax_t cutAt(Cut cut, std::uintmax_t size) {
    const std::uintmax_t third = size / 3 / pageSize * pageSize;
    switch (cut) {
    case Cut::PageBoundaryAtAThird:
        return third;
    case Cut::InsideAPageAtAThird:
        return third + 1000;
    case Cut::PageBoundaryAtTwoThirds:
        return 2 * third;
    case Cut::OneByteShort:
        return size - 1;
    case Cut::LastPageMissing:
        return size - pageSize;
    }
    return size;
}

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
    void SetUp() override { dir_ = quarix::test::scratchDir("truncated-files"); }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_P(TruncatedFiles, EndInTheDamagedFileErrorNeverInFewerRows) {
    const auto [fixture, cut] = GetParam();
    const std::string original = quarix::test::dataFile(fixture);
    const std::string path = (dir_ / fixture).string();
    fs::copy_file(original, path);
    fs::resize_file(path, cutAt(cut, fs::file_size(path)));

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
    if (cut == Cut::InsideAPageAtAThird || cut == Cut::OneByteShort ||
        cut == Cut::PageBoundaryAtAThird) {
        // Part of a page, or the catalogue, is missing: the file does not open.
        EXPECT_EQ(truncated, (std::map<std::string, std::string>{{"catalogue", incomplete}}));
    }
}

INSTANTIATE_TEST_SUITE_P(ShopFiles, TruncatedFiles,
                         testing::Combine(testing::Values("shop.mdb", "shop.accdb"),
                                          testing::Values(Cut::PageBoundaryAtAThird,
                                                          Cut::InsideAPageAtAThird,
                                                          Cut::PageBoundaryAtTwoThirds,
                                                          Cut::OneByteShort, Cut::LastPageMissing)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param);
                             name[name.find('.')] = '_';
                             return name + "_" + nameOf(std::get<1>(info.param));
                         });

// Jet 3 files have 2 KB pages: half a 4 KB page is a whole one there.
TEST(TruncatedJet3File, IsCheckedByItsOwnPageSize) {
    const fs::path dir = quarix::test::scratchDir("truncated-jet3");
    const std::string path = (dir / "testV1997.mdb").string();
    fs::copy_file(quarix::test::dataFile("real/testV1997.mdb"), path);
    const auto size = fs::file_size(path);
    fs::resize_file(path, size - 2048);
    EXPECT_TRUE(readEverything(path) !=
                readEverything(quarix::test::dataFile("real/testV1997.mdb")));
    fs::resize_file(path, size - 2048 - 1000);
    EXPECT_EQ(readEverything(path).at("catalogue"),
              "3343 " + reader_errors::incompleteFileError(path).description());
    fs::remove_all(dir);
}

} // namespace
