// Encrypted and password-protected databases as the engine serves them:
// the password once, searches that match the decrypted copy, nothing
// decrypted left on disk, and forget() closing the file for good.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "engine/reader/ReaderErrors.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ResultRowsText.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

using quarix::test::rowsOf;

int errorNumber(const std::function<void()>& work) {
    return quarix::test::errorOf(work).number();
}

// Every file under the folder whose bytes hold the text, and every deleted
// file this process holds open (SQLite unlinks its temporary files as it
// creates them, wherever it puts them).
std::vector<std::string> tracesOf(const std::string& text, const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        if (quarix::test::fileBytes(entry.path()).find(text) != std::string::npos)
            found.push_back(entry.path().string());
    }
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        if (!ec && target.starts_with('/') && target.ends_with(" (deleted)"))
            found.push_back("open: " + target);
    }
    return found;
}

class LockedDatabases : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_ / "cache");
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        AccessDatabase::setCacheEnabled(true);
    }
    void TearDown() override { AccessDatabase::forget(path_); }
    // A copy in the scratch folder, so each test starts with nothing kept.
    std::string copyOf(const std::string& name) {
        path_ = (dir_ / fs::path(name).filename()).string();
        fs::copy_file(quarix::test::dataFile("encrypted/" + name), path_);
        return path_;
    }

    quarix::test::ScratchFolder dir_{"locked-databases"};
    std::string path_;
};

const std::string search = "SELECT * FROM Customers WHERE Field1 Like 'T*' OR ID > 4 ORDER BY "
                           "Field1 DESC";

TEST_F(LockedDatabases, SearchesMatchTheDecryptedCopyAndThePasswordIsAskedOnce) {
    const std::string path = copyOf("db2013-enc.accdb");
    auto plain = AccessDatabase::open(quarix::test::dataFile("encrypted/plain/db2013-enc.accdb"));
    auto db = AccessDatabase::open(path, Secret("1234"));
    EXPECT_EQ(rowsOf(*db, search), rowsOf(*plain, search));
    EXPECT_EQ(rowsOf(*db, search).size(), 5u);
    // Later opens, as each search and list of the window makes, need none.
    auto again = AccessDatabase::open(path);
    EXPECT_EQ(rowsOf(*again, "SELECT DISTINCT Field1 FROM Customers ORDER BY Field1"),
              rowsOf(*plain, "SELECT DISTINCT Field1 FROM Customers ORDER BY Field1"));
    EXPECT_EQ(again->columns("Customers").size(), 2u);
    // Even after the cache settings change.
    AccessDatabase::setCacheLimitBytes(1ull << 30);
    EXPECT_EQ(AccessDatabase::open(path)->filter("Customers", "ID = 2")->rowCount(), 1);
}

TEST_F(LockedDatabases, AMissingOrWrongPasswordOpensNothing) {
    const std::string path = copyOf("db2007-enc.accdb");
    EXPECT_EQ(errorNumber([&] { AccessDatabase::open(path); }), reader_errors::wrongPassword);
    EXPECT_EQ(errorNumber([&] { AccessDatabase::open(path, Secret("test123")); }),
              reader_errors::wrongPassword);
    auto db = AccessDatabase::open(path, Secret("Test123"));
    // A wrong password does not pass because the file is already open, and
    // takes nothing from those who opened it rightly.
    EXPECT_EQ(errorNumber([&] { AccessDatabase::open(path, Secret("Test1234")); }),
              reader_errors::wrongPassword);
    EXPECT_EQ(db->execute("Table1")->rowCount(), 1);
    EXPECT_NO_THROW(AccessDatabase::open(path, Secret("Test123")));
}

TEST_F(LockedDatabases, ForgettingWipesThePassword) {
    const std::string path = copyOf("db-nonstandard.accdb");
    auto db = AccessDatabase::open(path, Secret("password"));
    AccessDatabase::forget(path);
    EXPECT_EQ(errorNumber([&] { AccessDatabase::open(path); }), reader_errors::wrongPassword);
    // A database still held reads nothing more from the file.
    EXPECT_EQ(errorNumber([&] { db->execute("Table_One"); }), reader_errors::wrongPassword);
    EXPECT_EQ(AccessDatabase::open(path, Secret("password"))->execute("Table_One")->rowCount(), 1);
}

TEST_F(LockedDatabases, NothingDecryptedIsLeftInTheCacheFolderOrTemporaryFiles) {
    // The check finds what a plain file leaves in its cache.
    auto plain = AccessDatabase::open(quarix::test::dataFile("encrypted/plain/db2013-enc.accdb"));
    rowsOf(*plain, search);
    ASSERT_FALSE(tracesOf("Test2", dir_.path()).empty());
    fs::remove_all(dir_ / "cache");
    AccessDatabase::forget(quarix::test::dataFile("encrypted/plain/db2013-enc.accdb"));
    plain.reset();

    struct Locked {
        std::string name, password, table, text;
    };
    for (const Locked& f : {Locked{"db2013-enc.accdb", "1234", "Customers", "Test2"},
                            Locked{"db-enc.mdb", "", "Table1", "world"}}) {
        SCOPED_TRACE(f.name);
        auto db = AccessDatabase::open(copyOf(f.name), Secret(f.password));
        // Sorted, distinct and kept results: the statements that use
        // SQLite's temporary tables and sorts.
        const auto sorted = db->execute("SELECT * FROM [" + f.table + "] ORDER BY 2 DESC");
        EXPECT_GT(sorted->rowCount(), 0);
        rowsOf(*db, "SELECT DISTINCT * FROM [" + f.table + "]");
        EXPECT_EQ(tracesOf(f.text, dir_.path()), std::vector<std::string>());
        AccessDatabase::forget(path_);
        fs::remove(path_);
    }
}

} // namespace
