#include "engine/reader/DataPage.h"
#include "engine/reader/TableDamage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace quarix::engine;

namespace {

constexpr unsigned pageSize = 4096;
constexpr unsigned rowCountOffset = 12; // Jet 4 and ACE

void put16(std::string& page, std::size_t at, unsigned v) {
    page[at] = static_cast<char>(v & 0xff);
    page[at + 1] = static_cast<char>(v >> 8);
}

// A data page of the table defined on page 7, laid out as Access lays it
// out: rows from the end down, each row's bytes filled with its number,
// the free space between the row table and the lowest row.
std::string dataPage(const std::vector<unsigned>& sizes, const std::vector<unsigned>& flags = {}) {
    std::string page(pageSize, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    put16(page, 4, 7);
    put16(page, rowCountOffset, static_cast<unsigned>(sizes.size()));
    unsigned end = pageSize;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const unsigned start = end - sizes[i];
        std::fill_n(page.begin() + start, sizes[i], static_cast<char>('A' + i));
        put16(page, rowCountOffset + 2 + 2 * i, start | (i < flags.size() ? flags[i] : 0));
        end = start;
    }
    put16(page, 2, end - (rowCountOffset + 2 + 2 * static_cast<unsigned>(sizes.size())));
    return page;
}

TEST(DataPage, ASoundPageGivesItsRowsInPlace) {
    const std::string bytes = dataPage({10, 20, 5, 0}, {0, 0xc000, 0x4000, 0xc000});
    const auto page = DataPage::read(bytes, rowCountOffset);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->owner(), 7u);
    ASSERT_EQ(page->rowCount(), 4u);
    EXPECT_EQ(page->row(0).bytes, std::string(10, 'A'));
    EXPECT_EQ(page->row(0).start, pageSize - 10);
    EXPECT_EQ(page->row(1).bytes, std::string(20, 'B'));
    EXPECT_TRUE(page->row(0).live);
    EXPECT_FALSE(page->row(1).live) << "deleted";
    EXPECT_FALSE(page->row(2).live) << "moved to another page";
    EXPECT_TRUE(page->row(3).bytes.empty());

    std::string longValues = dataPage({});
    longValues.replace(4, 4, "LVAL");
    EXPECT_EQ(DataPage::read(longValues, rowCountOffset)->owner(), DataPage::longValueOwner);
    EXPECT_EQ(DataPage::read(longValues, rowCountOffset)->rowCount(), 0u);
}

struct Damage {
    const char* name;
    std::function<void(std::string&)> apply;
};

class DamagedDataPage : public testing::TestWithParam<Damage> {};

TEST_P(DamagedDataPage, IsNotReadAtAll) {
    std::string bytes = dataPage({100, 40, 60});
    ASSERT_TRUE(DataPage::read(bytes, rowCountOffset));
    GetParam().apply(bytes);
    EXPECT_FALSE(DataPage::read(bytes, rowCountOffset));
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedDataPage,
    testing::Values(
        Damage{"zeroed", [](std::string& p) { std::fill(p.begin(), p.end(), '\0'); }},
        Damage{"notADataPage", [](std::string& p) { p[0] = 0x02; }},
        Damage{"rowCountBeyondThePage", [](std::string& p) { put16(p, rowCountOffset, 0xffff); }},
        // One row more than there are: its place comes from the free space.
        Damage{"oneRowTooMany", [](std::string& p) { put16(p, rowCountOffset, 4); }},
        Damage{"oneRowTooFew", [](std::string& p) { put16(p, rowCountOffset, 2); }},
        Damage{"freeSpaceChanged", [](std::string& p) { p[2] = static_cast<char>(p[2] ^ 0x10); }},
        Damage{"rowsOverlap", [](std::string& p) { put16(p, rowCountOffset + 4, pageSize - 90); }},
        Damage{"rowInsideTheRowTable", [](std::string& p) { put16(p, rowCountOffset + 6, 16); }},
        Damage{"shortPage", [](std::string& p) { p.resize(rowCountOffset + 1); }}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST(TableDamage, DescriptionNamesTheTableAndWhatWasLost) {
    EXPECT_EQ(damageDescription("Order Details", "/d/shop.mdb", {0, 1, 0}, 502, 600),
              "The table 'Order Details' in '/d/shop.mdb' is damaged: 1 page of rows could not "
              "be read (502 of the 600 rows its definition counts were read).");
    EXPECT_EQ(damageDescription("T", "/a.mdb", {3, 2, 1}, 10, 5),
              "The table 'T' in '/a.mdb' is damaged: 2 pages of rows, 3 rows and 1 value could "
              "not be read.");
    EXPECT_EQ(damageDescription("T", "/a.mdb", {1, 0, 2}, 10, 20),
              "The table 'T' in '/a.mdb' is damaged: 1 row and 2 values could not be read.");
}

} // namespace
