// A damaged table through the engine: a search fails with 3343 unless it
// asks for salvage, and then every answer built on that table, also one
// served later from the cache, carries the warning.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/support/AccessPages.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

class SalvagedTables : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        dir_ = quarix::test::scratchDir("salvaged-tables");
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        AccessDatabase::setCacheEnabled(GetParam());
        quarix::test::AccessPages pages(
            quarix::test::fileBytes(quarix::test::dataFile("shop.mdb")));
        const auto db = AccessDatabase::open(quarix::test::dataFile("shop.mdb"));
        for (const TableInfo& t : db->catalogue().tables)
            if (t.name == "Order Details")
                dataPages_ = pages.dataPagesOf(static_cast<std::uint32_t>(t.id) & 0xffffff);
        ASSERT_GE(dataPages_.size(), 2u);
        lost_ = pages.rowCount(dataPages_[1]);
        pages.zero(dataPages_[1]);
        path_ = (dir_ / "shop.mdb").string();
        quarix::test::writeBytes(path_, pages.bytes());
    }
    void TearDown() override {
        AccessDatabase::setCacheEnabled(true);
        fs::remove_all(dir_);
    }

    static ReadOptions salvage() {
        ReadOptions options;
        options.salvage = true;
        return options;
    }

    int errorOf(const std::function<void()>& search) {
        try {
            search();
        } catch (const EngineError& e) {
            EXPECT_EQ(e.description(), warning());
            return e.number();
        }
        return 0;
    }

    std::string warning() const {
        return "The table 'Order Details' in '" + path_ +
               "' is damaged: 1 page of rows could not be read (" + std::to_string(600 - lost_) +
               " of the 600 rows its definition counts were read).";
    }

    fs::path dir_;
    std::string path_;
    std::vector<std::size_t> dataPages_;
    unsigned lost_ = 0;
};

TEST_P(SalvagedTables, FailWithoutSalvageAndCarryTheWarningWithIt) {
    const auto db = AccessDatabase::open(path_);
    EXPECT_EQ(errorOf([&] { db->execute("Order Details"); }), 3343);

    const auto whole = db->execute("Order Details", salvage());
    EXPECT_EQ(whole->rowCount(), 600 - static_cast<std::int64_t>(lost_));
    EXPECT_EQ(whole->warnings(), std::vector<std::string>{warning()});
    const auto joined =
        db->execute("SELECT o.OrderID FROM Orders AS o INNER JOIN [Order Details] AS d "
                    "ON o.OrderID = d.OrderID",
                    salvage());
    EXPECT_EQ(joined->warnings(), std::vector<std::string>{warning()});
    EXPECT_TRUE(db->execute("Orders", salvage())->warnings().empty()) << "a sound table";

    // Served from the cache now, still with the warning, still refused
    // without salvage.
    EXPECT_EQ(errorOf([&] { db->filter("Order Details", "[Quantity] > 0"); }), 3343);
    EXPECT_EQ(db->filter("Order Details", "[Quantity] > 0", salvage())->warnings(),
              std::vector<std::string>{warning()});
}

TEST_P(SalvagedTables, KeepTheirWarningInTheCacheFileForLaterRuns) {
    AccessDatabase::open(path_)->execute("Order Details", salvage());
    AccessDatabase::setCacheEnabled(GetParam()); // forgets what this run holds
    const auto db = AccessDatabase::open(path_);
    EXPECT_EQ(errorOf([&] { db->execute("Order Details"); }), 3343);
    EXPECT_EQ(db->execute("Order Details", salvage())->warnings(),
              std::vector<std::string>{warning()});
}

INSTANTIATE_TEST_SUITE_P(CacheOnDiskAndInMemory, SalvagedTables, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "OnDisk" : "InMemory";
                         });

} // namespace
