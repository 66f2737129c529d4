// The cache is rebuilt rather than trusted whenever it may not belong to
// the file at hand: another version's layout, a cache file made for
// another path, a file deleted while in use, a database replaced or written
// during a read, a damaged cache page; it stays private, and a folder or
// disk that cannot hold it gives way to memory.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "engine/cache/CacheFolder.h"
#include "tests/reliability/FixtureCopy.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

constexpr const char* londonCustomers = "SELECT * FROM Customers WHERE City = 'London'";

class CacheSafety : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        AccessDatabase::setCacheEnabled(true);
    }
    void TearDown() override { AccessDatabase::setCacheEnabled(true); }

    // Forgets the open databases, so the next open reads the cache file again.
    static void closeConnections() { AccessDatabase::setCacheEnabled(true); }

    // The cache file of accessPath, opened with SQLite for work.
    template <typename Work> static void onCache(const std::string& accessPath, Work work) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(CacheFolder::fileFor(accessPath).c_str(), &db), SQLITE_OK);
        work(db);
        sqlite3_close(db);
    }

    static std::vector<std::string> column(sqlite3* db, const std::string& query) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, query.c_str(), -1, &statement, nullptr);
        std::vector<std::string> values;
        while (sqlite3_step(statement) == SQLITE_ROW)
            values.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return values;
    }

    static void execOnCache(const std::string& accessPath, const std::string& sql) {
        onCache(accessPath, [&](sqlite3* db) {
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
                << sqlite3_errmsg(db);
        });
    }

    // Empties every cached table in place, so a trusted cache shows no rows.
    static void emptyCachedTables(const std::string& accessPath) {
        onCache(accessPath, [](sqlite3* db) {
            for (const std::string& id : column(db, "SELECT rowid FROM quarix_tables"))
                sqlite3_exec(db, ("DELETE FROM t" + id).c_str(), nullptr, nullptr, nullptr);
        });
    }

    // The file's bytes with every "London" in its rows reading "Lindon":
    // the same size, the same objects (the list of objects, on pages of the
    // table defined on page 2, keeps the query "London Customers"), other rows.
    static std::string lindonBytes(const std::string& path) {
        std::string bytes = quarix::test::fileBytes(path);
        const auto inObjectList = [&](std::size_t at) {
            const std::size_t page = at - at % 4096;
            return bytes[page] == 0x01 &&
                   bytes.compare(page + 4, 4, std::string("\2\0\0\0", 4)) == 0;
        };
        int changed = 0;
        // Text is stored as UTF-16, or as single bytes when compressed.
        for (const std::string& london :
             {std::string("L\0o\0n\0d\0o\0n\0", 12), std::string("London")}) {
            const std::size_t letter = london.size() / 6;
            for (std::size_t at = bytes.find(london); at != std::string::npos;
                 at = bytes.find(london, at + 1))
                if (!inObjectList(at)) {
                    bytes[at + letter] = 'i';
                    ++changed;
                }
        }
        EXPECT_GT(changed, 0);
        return bytes;
    }

    static int modeOf(const fs::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return static_cast<int>(info.st_mode & 0777);
    }

    quarix::test::ScratchFolder dir_{"cache-safety"};
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
    quarix::test::writeBytes(b, lindonBytes(b));
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

TEST_F(CacheSafety, AFileReplacedWithItsSizeAndTimePutBackIsReadAgain) {
    const std::string path = quarix::test::writableCopy("shop.mdb", dir_);
    const timespec modified = quarix::test::modifiedOf(path);
    ASSERT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);

    // Written in place, its time put back: the same file, another version.
    quarix::test::writeBytes(path, lindonBytes(path));
    quarix::test::setModified(path, modified);
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 0);

    // Replaced by a copy of the first version renamed into place.
    const std::string other = quarix::test::writableCopy("shop.mdb", dir_, "other.mdb");
    quarix::test::setModified(other, modified);
    fs::rename(other, path);
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);
    closeConnections();
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);
}

TEST_F(CacheSafety, AFileWrittenDuringAReadIsReadAgainAsItIsNow) {
    const std::string path = quarix::test::writableCopy("shop.mdb", dir_);
    const std::string london = quarix::test::fileBytes(path);
    const std::string lindon = lindonBytes(path);
    const auto db = AccessDatabase::open(path);
    // Written where it is, as Access writes a shared file.
    const auto overwrite = [&](const std::string& bytes) {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };

    // Another program writes the file while Customers is read for the first time.
    int writes = 0;
    ReadOptions options;
    options.progress = [&](std::uint64_t, std::uint64_t) {
        if (writes++ == 0)
            overwrite(lindon);
    };
    const auto rows = db->execute(londonCustomers, options);
    EXPECT_GE(writes, 2) << "read twice";
    EXPECT_EQ(rows->rowCount(), 0);
    EXPECT_EQ(db->execute("SELECT * FROM Customers WHERE City = 'Lindon'")->rowCount(), 22);
    closeConnections();
    EXPECT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 0);

    // A file that changes during every read is not answered from.
    options.progress = [&](std::uint64_t, std::uint64_t) {
        overwrite(++writes % 2 ? london : lindon);
    };
    try {
        AccessDatabase::open(path)->execute("Orders", options);
        ADD_FAILURE() << "a file changing under every read gave an answer";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), 3197);
        EXPECT_EQ(e.description(), "The database '" + path +
                                       "' was changed by another program while Quarix was "
                                       "reading it. Search again to read it as it is now.");
    }
}

TEST_F(CacheSafety, ADamagedPageInACachedTableIsRebuilt) {
    const std::string path = quarix::test::writableCopy("shop.accdb", dir_);
    ASSERT_EQ(AccessDatabase::open(path)->execute(londonCustomers)->rowCount(), 22);
    closeConnections();

    // Garbage over the first page of the cached Customers table's tree.
    std::vector<std::string> roots;
    onCache(path, [&](sqlite3* db) {
        roots = column(db, "SELECT rootpage FROM sqlite_schema WHERE name = 't1'");
    });
    ASSERT_EQ(roots.size(), 1u);
    const auto page = std::stoll(roots[0]);
    std::string bytes = quarix::test::fileBytes(CacheFolder::fileFor(path));
    const std::size_t pageSize = 4096;
    ASSERT_GE(bytes.size(), static_cast<std::size_t>(page) * pageSize);
    bytes.replace(static_cast<std::size_t>(page - 1) * pageSize + 8, 64, 64, '\x5a');
    quarix::test::writeBytes(CacheFolder::fileFor(path), bytes);

    const auto rows = AccessDatabase::open(path)->execute(londonCustomers);
    EXPECT_EQ(rows->rowCount(), 22);
    EXPECT_TRUE(rows->warnings().empty());
    EXPECT_EQ(AccessDatabase::open(path)->execute("Customers")->rowCount(), 250);
}

TEST_F(CacheSafety, WithoutAUsableCacheFolderSearchesWorkFromMemory) {
    const std::string path = quarix::test::writableCopy("shop.mdb", dir_);
    fs::create_directories(dir_ / "cache");
    quarix::test::writeBytes(dir_ / "cache" / "quarix", "a file where the folder should be");
    const auto rows = AccessDatabase::open(path)->execute(londonCustomers);
    EXPECT_EQ(rows->rowCount(), 22);
    ASSERT_EQ(rows->warnings().size(), 1u);
    EXPECT_EQ(rows->warnings()[0],
              "Quarix cannot keep its cache in '" + (dir_ / "cache" / "quarix").string() +
                  "': it is not a folder. Quarix keeps this database's cache in memory instead: "
                  "searches work as usual, but the tables read now are not kept for later.");
}

// A full disk, played by a limit on file size in a child process.
TEST_F(CacheSafety, ADiskThatFillsDuringALoadGivesWayToMemory) {
    const std::string path = quarix::test::writableCopy("shop.accdb", dir_);
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40 * 1024, 40 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int code = 0;
        try {
            const auto rows = AccessDatabase::open(path)->execute("Orders");
            code = rows->rowCount() == 1000 && rows->warnings().size() == 1 &&
                           rows->warnings()[0].find("in memory instead") != std::string::npos
                       ? 0
                       : 1;
        } catch (const EngineError& e) {
            std::fprintf(stderr, "%d %s\n", e.number(), e.description().c_str());
            code = 2;
        }
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(CacheFolderOwner, OnlyAFolderOfTheUsersOwnHoldsTheCache) {
    const quarix::test::ScratchFolder dir("cache-folder-owner");
    fs::create_directories(dir / "mine");
    quarix::test::writeBytes(dir / "file", "x");
    fs::create_directory_symlink(dir / "mine", dir / "link");
    const uid_t me = ::geteuid();
    EXPECT_EQ(folderRefusal(dir / "mine", me), "");
    EXPECT_EQ(folderRefusal(dir / "link", me), "") << "the user's own link";
    EXPECT_EQ(folderRefusal(dir / "mine", me + 1), "the folder belongs to another user");
    EXPECT_EQ(folderRefusal(dir / "file", me), "it is not a folder");
    EXPECT_EQ(folderRefusal(dir / "missing", me), "No such file or directory");
}

} // namespace
