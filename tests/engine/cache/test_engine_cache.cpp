// The cache through the engine, on copies of the test files: its files,
// their safety and reuse, salvaged tables and search indexes.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "engine/cache/CacheFile.h"
#include "engine/cache/CacheFolder.h"
#include "engine/cache/CatalogueRecord.h"
#include "engine/cache/SqliteHelpers.h"
#include "engine/reader/AccessFileReader.h"
#include "tests/support/AccessPages.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace quarix::engine;
using quarix::test::errorOf;

namespace {

// Each test gets its own cache folder and its own copies of the fixtures.
class EngineCache : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        AccessDatabase::setCacheEnabled(true);
    }
    void TearDown() override { AccessFileReader::setHelperPath(""); }

    std::string copyOf(const std::string& name) {
        const fs::path target = dir_ / name;
        fs::copy_file(quarix::test::dataFile(name), target, fs::copy_options::overwrite_existing);
        return target.string();
    }

    std::vector<fs::path> cacheFiles() const {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(dir_ / "cache" / "quarix"))
            if (e.path().extension() == ".sqlite")
                files.push_back(e.path());
        return files;
    }

    quarix::test::ScratchFolder dir_{testing::UnitTest::GetInstance()->current_test_info()->name()};
};

int modeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return static_cast<int>(st.st_mode & 0777);
}

TEST_F(EngineCache, TableIsReadOnceAndReusedFromAPrivateCacheFile) {
    const std::string path = copyOf("shop.mdb");
    auto db = AccessDatabase::open(path);
    EXPECT_EQ(db->execute("Customers")->rowCount(), 250);

    ASSERT_EQ(cacheFiles().size(), 1u);
    EXPECT_EQ(modeOf(dir_ / "cache" / "quarix"), 0700);
    EXPECT_EQ(modeOf(cacheFiles()[0]), 0600);

    // With the Access file gone the cached table still answers: nothing is
    // read again while the file is unchanged.
    auto again = AccessDatabase::open(path);
    fs::rename(path, path + ".moved");
    EXPECT_EQ(again->execute("SELECT * FROM Customers WHERE City = 'London'")->rowCount(), 22);
}

TEST_F(EngineCache, ModifiedFileIsReadAgain) {
    const std::string path = copyOf("shop.mdb");
    EXPECT_EQ(AccessDatabase::open(path)->execute("Customers")->rowCount(), 250);

    // Another database saved under the same path: a stale cache would still
    // answer with the 250 customers.
    fs::copy_file(quarix::test::dataFile("real/testV1997.mdb"), path,
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(errorOf([&] { AccessDatabase::open(path)->execute("Customers"); }).number(), 3078)
        << "the old table was served from the cache";
}

// A file opened before opens with the catalogue its cache file keeps, no
// reader started, while the file has the stamp kept with it; a changed
// file, or a record of another version or damaged, is read again.
TEST_F(EngineCache, AnUnchangedFileOpensWithTheCatalogueItsCacheKeeps) {
    const std::string path = copyOf("shop.mdb");
    const Catalogue real = AccessDatabase::open(path)->catalogue();
    const auto reopen = [&](bool withReader) {
        AccessFileReader::setHelperPath(withReader ? "" : (dir_ / "no-reader").string());
        AccessDatabase::setCacheEnabled(true); // forgets the open databases
        return AccessDatabase::open(path);
    };
    const auto inCache = [&](const std::function<void(sqlite3*)>& change) {
        sqlite3* cache = nullptr;
        ASSERT_EQ(sqlite3_open(cacheFiles().at(0).c_str(), &cache), SQLITE_OK);
        change(cache);
        sqlite3_close(cache);
    };
    EXPECT_EQ(reopen(false)->catalogue().tables.size(), real.tables.size());

    Catalogue ghost = real;
    ghost.tables.at(0).name = "Ghost";
    const SourceStamp stamp = *SourceStamp::of(path, real.pages);
    inCache([&](sqlite3* db) { recordCatalogue(db, ghost, stamp); });
    EXPECT_TRUE(reopen(false)->isSourceName("Ghost")) << "the kept catalogue was not used";
    SourceStamp older = stamp;
    older.modifiedNs -= 1;
    inCache([&](sqlite3* db) { recordCatalogue(db, ghost, older); });
    EXPECT_NE(errorOf([&] { reopen(false); }).number(), 0) << "another version's was used";
    inCache([&](sqlite3* db) {
        execSql(db, "UPDATE quarix_meta SET value = x'01ff' WHERE key GLOB 'catalogue.*'");
    });
    EXPECT_NE(errorOf([&] { reopen(false); }).number(), 0) << "a damaged catalogue was used";
    EXPECT_FALSE(reopen(true)->isSourceName("Ghost"));
    EXPECT_EQ(reopen(false)->catalogue().tables.size(), real.tables.size()) << "not kept again";

    fs::copy_file(quarix::test::dataFile("real/testV1997.mdb"), path,
                  fs::copy_options::overwrite_existing);
    EXPECT_NE(errorOf([&] { reopen(false); }).number(), 0) << "the old catalogue was used";
    EXPECT_FALSE(reopen(true)->isSourceName("Customers"));
}

TEST_F(EngineCache, RepeatedSearchReusesItsResultSafely) {
    auto db = AccessDatabase::open(copyOf("shop.accdb"));
    const std::string sql =
        "select * from [Customers] WHERE [City] Like '*lon*' ORDER BY [City] ASC";
    auto first = db->execute(sql);
    auto second = db->execute(sql); // a page change runs the same statement again
    ASSERT_EQ(first->rowCount(), second->rowCount());
    const std::string name = second->text(1, second->row(42)[1]);
    first.reset();
    EXPECT_EQ(second->text(1, second->row(42)[1]), name) << "the rows outlive the first result";
    EXPECT_EQ(db->execute(sql)->rowCount(), second->rowCount());
}

TEST_F(EngineCache, CacheFromAnotherPathIsNeverServed) {
    const std::string a = copyOf("shop.mdb");
    const std::string b = (dir_ / "other.mdb").string();
    fs::copy_file(a, b);
    AccessDatabase::open(a)->execute("Customers");
    AccessDatabase::open(b)->execute("Customers");
    EXPECT_EQ(cacheFiles().size(), 2u);
}

TEST_F(EngineCache, CorruptCacheFileIsRebuilt) {
    const std::string path = copyOf("shop.accdb");
    AccessDatabase::open(path)->execute("Customers");
    AccessDatabase::setCacheEnabled(true); // closes the open connection
    std::ofstream(cacheFiles().at(0), std::ios::trunc | std::ios::binary)
        << std::string(8192, '\x5a');
    EXPECT_EQ(AccessDatabase::open(path)
                  ->execute("SELECT * FROM Customers WHERE City = 'London'")
                  ->rowCount(),
              22);
}

TEST_F(EngineCache, SwitchedOffCacheWritesNothing) {
    AccessDatabase::setCacheEnabled(false);
    const std::string path = copyOf("shop.mdb");
    EXPECT_EQ(
        AccessDatabase::open(path)->execute("SELECT * FROM Customers WHERE Age > 60")->rowCount(),
        AccessDatabase::open(path)->execute("SELECT * FROM Customers WHERE Age > 60")->rowCount());
    EXPECT_FALSE(fs::exists(dir_ / "cache" / "quarix") && !cacheFiles().empty());
    AccessDatabase::setCacheEnabled(true);
}

// This process's open files that are deleted: SQLite unlinks its temporary
// files as it creates them, wherever it puts them.
int deletedFilesOpen() {
    int open = 0;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        open += target.starts_with('/') && target.ends_with(" (deleted)") ? 1 : 0;
    }
    return open;
}

TEST_F(EngineCache, ACacheKeptOffDiskNeverSpillsToTemporaryFiles) {
    for (const bool keptOffDisk : {false, true}) {
        quarix::engine::CacheFile cache("/nowhere.accdb", {}, true, 0, keptOffDisk);
        // A temporary table far larger than the few pages it may keep in
        // memory: unless kept off disk, it goes to a temporary file.
        ASSERT_EQ(sqlite3_exec(cache.db(),
                               "PRAGMA temp.cache_size=4; CREATE TEMP TABLE t(v); "
                               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n "
                               "WHERE i < 20000) INSERT INTO t SELECT randomblob(200) FROM n",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        EXPECT_EQ(deletedFilesOpen() > 0, !keptOffDisk) << keptOffDisk;
    }
    EXPECT_FALSE(fs::exists(dir_ / "cache" / "quarix") && !cacheFiles().empty());
}

TEST_F(EngineCache, LimitDropsLeastRecentlyUsedFiles) {
    const std::string a = copyOf("shop.mdb");
    const std::string b = copyOf("shop.accdb");
    AccessDatabase::open(a)->execute("Orders");
    AccessDatabase::setCacheLimitBytes(1); // everything but the file in use must go
    AccessDatabase::open(b)->execute("Orders");
    EXPECT_EQ(cacheFiles().size(), 1u);
    AccessDatabase::setCacheLimitBytes(CacheFolder::defaultLimitBytes);
}

std::string thisBoot() {
    std::ifstream in("/proc/sys/kernel/random/boot_id");
    std::string boot;
    std::getline(in, boot);
    return boot;
}

std::int64_t cachedTableCount(const fs::path& cacheFile) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(cacheFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* q = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM quarix_tables", -1, &q, nullptr);
    const std::int64_t n = sqlite3_step(q) == SQLITE_ROW ? sqlite3_column_int64(q, 0) : -1;
    sqlite3_finalize(q);
    sqlite3_close(db);
    return n;
}

// A load does not wait for the disk; its marker stays while the cache is
// open, and goes once the file is flushed on closing.
TEST_F(EngineCache, ALoadIsFlushedWhenTheCacheCloses) {
    const std::string path = copyOf("shop.accdb");
    AccessDatabase::open(path)->execute("Customers");
    const fs::path marker = cacheFiles().at(0).string() + "-unsynced";
    ASSERT_TRUE(fs::exists(marker)) << "written before the load";
    AccessDatabase::setCacheEnabled(true); // closes the open connection
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_EQ(cachedTableCount(cacheFiles().at(0)), 1);
}

struct MarkerCase {
    const char* name;
    bool sameBoot;
};

class LeftMarkers : public EngineCache, public ::testing::WithParamInterface<MarkerCase> {};

// A marker left by a process that ended without closing: from this boot the
// writes are in the system's file cache and the file is kept; from another
// boot they may be lost, and the file is never trusted.
TEST_P(LeftMarkers, AreTrustedOnlyWithinTheBootThatWroteThem) {
    const std::string path = copyOf("shop.accdb");
    AccessDatabase::open(path)->execute("Customers");
    AccessDatabase::setCacheEnabled(true);
    const fs::path cacheFile = cacheFiles().at(0);
    std::ofstream(cacheFile.string() + "-unsynced")
        << (GetParam().sameBoot ? thisBoot() : "an-earlier-boot") << "\n";

    auto db = AccessDatabase::open(path);
    EXPECT_EQ(cachedTableCount(cacheFile), GetParam().sameBoot ? 1 : 0);
    EXPECT_EQ(db->execute("SELECT * FROM Customers WHERE City = 'London'")->rowCount(), 22);
}

INSTANTIATE_TEST_SUITE_P(Boots, LeftMarkers,
                         ::testing::Values(MarkerCase{"ThisBoot", true},
                                           MarkerCase{"AnotherBoot", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineCache, MissingFileAndFolderAreError3024) {
    for (const fs::path& path : {dir_ / "nothing.mdb", dir_.path()})
        EXPECT_EQ(errorOf([&] { AccessDatabase::open(path.string()); }).number(), 3024) << path;
}

// A damaged table through the engine: a search fails with 3343 unless it
// asks for salvage, and then every answer built on that table, also one
// served later from the cache, carries the warning.

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
                      Criterion{"NOT [City] Like 'Oslo' AND [Email] Like '*ee12*'", 1},
                      // Numbers and dates: ordered indexes of the stored values.
                      Criterion{"[Age] = 30", 1}, Criterion{"Int([Balance]) > 79000", 1},
                      Criterion{"-19000 >= [Balance]", 1},
                      Criterion{"[Score] Between 100 And 101", 1},
                      Criterion{"Fix([Score]) = 100", 1}, Criterion{"[Joined] >= #6/1/2022#", 1},
                      Criterion{"[Joined] = #8/20/1996#", 1},
                      Criterion{"[Age] > 20 AND [ID] < 100", 2},
                      Criterion{"[Age] <> 30 AND [City] Like 'Oslo'", 1}));

// What the index leaves out, the search no longer finds: proof that the
// search reads through it, in the units the column is stored in.
TEST_F(SearchIndexes, ComparisonsReadThroughTheirIndexes) {
    struct Case {
        const char* criterion;
        const char* leftOut; // index rows taken away
    };
    for (const Case c :
         {Case{"[Age] = 31", "k = 31"}, Case{"Int([Balance]) > 79000", "k >= 790000000"},
          Case{"[Joined] = #8/20/1996#", "k = 35297"}}) {
        SCOPED_TRACE(c.criterion);
        ASSERT_FALSE(ids(c.criterion).empty());
        AccessDatabase::open(path_)->buildIndexes();
        ASSERT_EQ(indexTables().size(), 1u);
        const auto onTheCache = [&](const std::string& sql) {
            for (const auto& e : fs::directory_iterator(dir_ / "cache" / "quarix")) {
                if (e.path().extension() != ".sqlite")
                    continue;
                sqlite3* db = nullptr;
                sqlite3_open(e.path().c_str(), &db);
                quarix::engine::execSql(db, sql);
                sqlite3_close(db);
            }
            AccessDatabase::forget(path_);
        };
        onTheCache("DELETE FROM \"" + indexTables().front() + "\" WHERE " + c.leftOut);
        // "[ID] + 0" is no bare field: it neither narrows nor asks for an index.
        EXPECT_TRUE(ids(std::string(c.criterion) + " AND [ID] + 0 > 0").empty());
        onTheCache("DROP TABLE \"" + indexTables().front() + "\"");
    }
}

TEST_F(SearchIndexes, ChangedFileTakesItsIndexesAway) {
    ids("[Email] Like 'emma.lee1@example.org'");
    AccessDatabase::open(path_)->buildIndexes();
    ASSERT_EQ(indexTables().size(), 1u);
    fs::copy_file(quarix::test::dataFile("shop.mdb"), path_, fs::copy_options::overwrite_existing);
    EXPECT_EQ(AccessDatabase::open(path_)->execute("Customers")->rowCount(), 250);
    EXPECT_TRUE(indexTables().empty());
}

} // namespace
