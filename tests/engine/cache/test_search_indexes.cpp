#include "engine/AccessDatabase.h"
#include "engine/cache/SqliteHelpers.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using quarix::engine::AccessDatabase;

namespace {

// Searches of the 10,000 people, before and after the indexes they asked for.
class SearchIndexes : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        AccessDatabase::setCacheEnabled(true);
        path_ = (dir_ / "people.mdb").string();
        fs::copy_file(quarix::test::dataFile("people-10k.mdb"), path_);
    }
    void TearDown() override { AccessDatabase::forget(path_); }

    std::vector<std::string> ids(const std::string& criterion) {
        const auto result = AccessDatabase::open(path_)->execute(
            "SELECT [ID] FROM [People] WHERE " + criterion + " ORDER BY [Email]");
        std::vector<std::string> found;
        for (std::int64_t r = 0; r < result->rowCount(); ++r)
            found.push_back(result->text(0, result->row(r).at(0)));
        return found;
    }

    // The index tables in the cache file.
    std::vector<std::string> indexTables() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_ / "cache" / "quarix")) {
            if (e.path().extension() != ".sqlite")
                continue;
            sqlite3* db = nullptr;
            sqlite3_open_v2(e.path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
            {
                quarix::engine::Statement q(db, "SELECT name FROM sqlite_schema WHERE name GLOB "
                                                "'x[0-9]*' AND name NOT GLOB '*_tri_*'");
                while (q.step())
                    names.emplace_back(
                        reinterpret_cast<const char*>(sqlite3_column_text(q.get(), 0)));
            }
            sqlite3_close(db);
        }
        return names;
    }

    quarix::test::ScratchFolder dir_{testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::string path_;
};

struct Criterion {
    const char* text;
    std::size_t indexes; // what it leaves to build
};

class EveryCriterion : public SearchIndexes, public ::testing::WithParamInterface<Criterion> {};

TEST_P(EveryCriterion, FindsTheSameRowsThroughItsIndexes) {
    const Criterion c = GetParam();
    const auto scanned = ids(c.text);
    ASSERT_FALSE(scanned.empty());
    AccessDatabase::open(path_)->buildIndexes();
    EXPECT_EQ(indexTables().size(), c.indexes);
    EXPECT_FALSE(AccessDatabase::open(path_)->wantsIndexes());
    EXPECT_EQ(ids(c.text), scanned);
}

INSTANTIATE_TEST_SUITE_P(
    Criteria, EveryCriterion,
    ::testing::Values(Criterion{"[Email] Like 'EMMA.LEE1@example.org'", 1},
                      Criterion{"[LastName] Like '*ÅNGSTRÖM*'", 1},
                      Criterion{"[City] Like 'os*' AND [Email] Like '*123#@e*'", 2},
                      Criterion{"[City] Like 'ZÜ*'", 1},
                      Criterion{"[Email] Like '*lee1*' OR [City] Like 'Oslo'", 0},
                      Criterion{"[Email] Like '*9?@*'", 0},
                      Criterion{"NOT [City] Like 'Oslo' AND [Email] Like '*ee12*'", 1}));

TEST_F(SearchIndexes, ChangedFileTakesItsIndexesAway) {
    ids("[Email] Like 'emma.lee1@example.org'");
    AccessDatabase::open(path_)->buildIndexes();
    ASSERT_EQ(indexTables().size(), 1u);
    fs::copy_file(quarix::test::dataFile("shop.mdb"), path_, fs::copy_options::overwrite_existing);
    EXPECT_EQ(AccessDatabase::open(path_)->execute("Customers")->rowCount(), 250);
    EXPECT_TRUE(indexTables().empty());
}

} // namespace
