// The cache is rebuilt rather than trusted whenever it may not belong to
// the file at hand: another version's layout, a cache file made for
// another path, a file deleted while in use; and it stays private.
#include "engine/AccessDatabase.h"
#include "engine/cache/CacheFolder.h"
#include "tests/reliability/FixtureCopy.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/stat.h>

#include <filesystem>

namespace fs = std::filesystem;
using quarix::engine::AccessDatabase;
using quarix::engine::CacheFolder;

namespace {

constexpr const char* londonCustomers = "SELECT * FROM Customers WHERE City = 'London'";

class CacheSafety : public testing::Test {
protected:
    void SetUp() override {
        dir_ =
            quarix::test::scratchDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        AccessDatabase::setCacheEnabled(true);
    }
    void TearDown() override {
        AccessDatabase::setCacheEnabled(true);
        fs::remove_all(dir_);
    }

    // Forgets the open databases, so the next open reads the cache file again.
    static void closeConnections() { AccessDatabase::setCacheEnabled(true); }

    static void execOnCache(const std::string& accessPath, const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(CacheFolder::fileFor(accessPath).c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }

    // Empties every cached table in place, so a trusted cache shows no rows.
    static void emptyCachedTables(const std::string& accessPath) {
        sqlite3* db = nullptr;
        sqlite3_open(CacheFolder::fileFor(accessPath).c_str(), &db);
        sqlite3_stmt* names = nullptr;
        sqlite3_prepare_v2(db, "SELECT rowid FROM quarix_tables", -1, &names, nullptr);
        std::vector<std::string> tables;
        while (sqlite3_step(names) == SQLITE_ROW)
            tables.push_back("t" + std::to_string(sqlite3_column_int64(names, 0)));
        sqlite3_finalize(names);
        for (const std::string& table : tables)
            sqlite3_exec(db, ("DELETE FROM " + table).c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    static int modeOf(const fs::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return static_cast<int>(info.st_mode & 0777);
    }

    fs::path dir_;
};

TEST_F(CacheSafety, ACacheFromAnotherVersionIsRebuilt) {
    const std::string path = quarix::test::writableCopy("shop.mdb", dir_);
    ASSERT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);
    closeConnections();

    // Emptied tables under the right version are served: the cache is used.
    emptyCachedTables(path);
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 0);
    closeConnections();

    // The same cache marked with another layout version is not.
    execOnCache(path, "UPDATE quarix_meta SET value = '999' WHERE key = 'format'");
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);
}

TEST_F(CacheSafety, ACacheMadeForAnotherPathIsNeverServed) {
    // Two files of the same size and time whose Customers differ: in one
    // copy every "London" reads "Lindon".
    const std::string a = quarix::test::writableCopy("shop.mdb", dir_, "a.mdb");
    const std::string b = quarix::test::writableCopy("shop.mdb", dir_, "b.mdb");
    std::string bytes = quarix::test::fileBytes(b);
    int changed = 0;
    // Text is stored as UTF-16, or as single bytes when compressed.
    for (const std::string& london :
         {std::string("L\0o\0n\0d\0o\0n\0", 12), std::string("London")}) {
        const std::size_t letter = london.size() / 6;
        for (std::size_t at = bytes.find(london); at != std::string::npos;
             at = bytes.find(london, at + 1), ++changed)
            bytes[at + letter] = 'i';
    }
    ASSERT_GT(changed, 0);
    quarix::test::writeBytes(b, bytes);
    quarix::test::setModified(a, timespec{1600000000, 0});
    quarix::test::setModified(b, timespec{1600000000, 0});

    ASSERT_EQ(AccessDatabase::open(a)->execute(londonCustomers)->rowCount(), 22);
    closeConnections();
    // b's cache file is a's, as if it had been copied or renamed there.
    fs::copy_file(CacheFolder::fileFor(a), CacheFolder::fileFor(b),
                  fs::copy_options::overwrite_existing);
    const auto db = AccessDatabase::open(b);
    EXPECT_EQ(db->execute(londonCustomers)->rowCount(), 0);
    EXPECT_EQ(db->execute("SELECT * FROM Customers WHERE City = 'Lindon'")->rowCount(), 22);
}

TEST_F(CacheSafety, ACacheFileDeletedOrTruncatedWhileInUseIsRebuilt) {
    const std::string path = quarix::test::writableCopy("shop.accdb", dir_);
    const auto db = AccessDatabase::open(path);
    const auto shown = db->execute(londonCustomers);
    ASSERT_EQ(shown->rowCount(), 22);
    const fs::path cache = CacheFolder::fileFor(path);
    ASSERT_TRUE(fs::exists(cache));

    // The database stays open while the user clears the cache folder: the
    // next statement needs a table not read yet.
    fs::remove(cache);
    EXPECT_EQ(db->execute("SELECT * FROM Orders")->rowCount(),
              AccessDatabase::open(path)->execute("Orders")->rowCount());
    EXPECT_FALSE(shown->row(21).empty()) << "the rows on screen still read";
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);
    EXPECT_TRUE(fs::exists(cache));

    closeConnections();
    fs::resize_file(cache, fs::file_size(cache) / 2);
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);
}

TEST_F(CacheSafety, TheCacheFolderIsMadePrivateEvenWhenItWasOpen) {
    const fs::path folder = dir_ / "cache" / "quarix";
    fs::create_directories(folder);
    ::chmod(folder.c_str(), 0755);
    const std::string path = quarix::test::writableCopy("shop.mdb", dir_);
    AccessDatabase::open(path)->execute("Customers");
    EXPECT_EQ(modeOf(folder), 0700);
    EXPECT_EQ(modeOf(CacheFolder::fileFor(path)), 0600);
}

} // namespace
