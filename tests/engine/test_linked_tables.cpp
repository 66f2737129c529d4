// Linked tables: read from the linked file, found beside the database when
// its stored path is gone, and failing with the file or source they name.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "engine/LinkedFile.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ResultRowsText.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

using quarix::test::errorOf;
using quarix::test::rowsOf;

// The linking file, and the linked one beside it unless left out.
fs::path linkerFolder(const std::string& name, bool withLinkee) {
    const fs::path dir = quarix::test::scratchDir(name);
    fs::copy_file(quarix::test::dataFile("real/linkerTestV2007.accdb"), dir / "linker.accdb");
    if (withLinkee)
        fs::copy_file(quarix::test::dataFile("real/linkeeTest.accdb"), dir / "linkeeTest.accdb");
    return dir;
}

const TableInfo* listed(const AccessDatabase& db, const std::string& name) {
    for (const auto& table : db.catalogue().tables)
        if (table.name == name)
            return &table;
    return nullptr;
}

TEST(LinkedTables, AreListedAndReadFromTheFileBesideTheDatabaseAsItIsNow) {
    const fs::path dir = linkerFolder("linked-read", true);
    const auto db = AccessDatabase::open((dir / "linker.accdb").string());
    const TableInfo* table2 = listed(*db, "Table2");
    ASSERT_TRUE(table2);
    EXPECT_EQ(table2->link.kind, LinkKind::AccessFile);
    EXPECT_EQ(table2->link.database, "Z:\\jackcess_test\\linkeeTest.accdb");
    EXPECT_FALSE(table2->system);

    EXPECT_EQ(rowsOf(*db->execute("Table2")), std::vector<std::string>{"1|bar"});
    EXPECT_EQ(rowsOf(*db->filter("Table2", "[Field1] Like 'b*'")),
              std::vector<std::string>{"1|bar"});
    ASSERT_EQ(db->columns("Table2").size(), 2u);
    EXPECT_EQ(db->columns("Table2")[1].name, "Field1");
    // A statement joining a local and a linked table, as a saved query would.
    EXPECT_EQ(rowsOf(*db->execute("SELECT Table1.Field1, Table2.Field1 AS Linked FROM Table1 "
                                  "INNER JOIN Table2 ON Table1.ID = Table2.ID")),
              std::vector<std::string>{"foo|bar"});

    // A change of the linked file is seen.
    {
        // The row's compressed text "bar" becomes "baz".
        std::fstream linkee(dir / "linkeeTest.accdb",
                            std::ios::in | std::ios::out | std::ios::binary);
        linkee.seekp(0x59ff6 + 2);
        linkee.put('z');
    }
    EXPECT_EQ(rowsOf(*db->execute("Table2")), std::vector<std::string>{"1|baz"});
    fs::remove_all(dir);
}

TEST(LinkedTables, AMissingLinkedFileNamesTheStoredPath) {
    const fs::path dir = linkerFolder("linked-missing", false);
    const auto db = AccessDatabase::open((dir / "linker.accdb").string());
    ASSERT_TRUE(listed(*db, "Table2"));
    for (const auto& work : std::vector<std::function<void()>>{
             [&] { db->execute("Table2"); }, [&] { db->columns("Table2"); },
             [&] { db->filter("Table2", "[ID] = 1"); }}) {
        const EngineError e = errorOf(work);
        EXPECT_EQ(e.number(), 3044);
        EXPECT_EQ(e.description(), "'Z:\\jackcess_test\\linkeeTest.accdb' is not a valid path.");
    }
    fs::remove_all(dir);
}

TEST(LinkedTables, ALinkedFileThatNeedsAPasswordIsNamed) {
    const fs::path dir = linkerFolder("linked-locked", false);
    fs::copy_file(quarix::test::dataFile("encrypted/db2013-enc.accdb"), dir / "linkeeTest.accdb");
    const auto db = AccessDatabase::open((dir / "linker.accdb").string());
    const EngineError e = errorOf([&] { db->execute("Table2"); });
    EXPECT_EQ(e.number(), 3031);
    EXPECT_NE(e.description().find("'Table2' is linked to '" + (dir / "linkeeTest.accdb").string() +
                                   "', which needs a password"),
              std::string::npos)
        << e.description();
    fs::remove_all(dir);
}

TEST(LinkedTables, AnOdbcTableIsListedButNeverShowsItsPassword) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("real/odbcLinkerTestV2007.accdb"));
    const TableInfo* ordrar = listed(*db, "Ordrar");
    ASSERT_TRUE(ordrar);
    EXPECT_EQ(ordrar->link.kind, LinkKind::Odbc);
    EXPECT_EQ(ordrar->link.connect, "DSN=Magnapinna;Description=Safexit;UID=safexit;PWD=;"
                                    "APP=Microsoft Office;DATABASE=safexit");
    const EngineError e = errorOf([&] { db->execute("Ordrar"); });
    EXPECT_EQ(e.number(), 3151);
    EXPECT_NE(e.description().find("DSN=Magnapinna"), std::string::npos);
    EXPECT_EQ(e.description().find("DummyPassword"), std::string::npos);
}

TEST(LinkedFilePath, TakesTheStoredPathThenTheDatabasesFolder) {
    const fs::path dir = quarix::test::scratchDir("linked-path");
    fs::create_directories(dir / "db");
    fs::create_directories(dir / "shared");
    std::ofstream(dir / "db" / "data.accdb") << "x";
    std::ofstream(dir / "shared" / "data.accdb") << "x";
    const std::string database = (dir / "db" / "main.accdb").string();

    const std::string stored = (dir / "shared" / "data.accdb").string();
    EXPECT_EQ(linkedFilePath(stored, database), stored);
    EXPECT_EQ(linkedFilePath("Z:\\data\\data.accdb", database),
              (dir / "db" / "data.accdb").string());
    EXPECT_EQ(linkedFilePath("\\\\server\\share\\data.accdb", database),
              (dir / "db" / "data.accdb").string());
    for (const std::string bad : {"Z:\\data\\other.accdb", "Z:\\data\\..", "Z:\\", ""})
        EXPECT_EQ(errorOf([&] { linkedFilePath(bad, database); }).description(),
                  "'" + bad + "' is not a valid path.");

    // A link in a folder others can write is not followed.
    fs::create_directories(dir / "open");
    fs::create_symlink(dir / "shared" / "data.accdb", dir / "open" / "data.accdb");
    ::chmod((dir / "open").c_str(), 0777);
    EXPECT_EQ(errorOf([&] {
                  linkedFilePath("Z:\\data.accdb", (dir / "open" / "m.accdb").string());
              }).number(),
              3044);
    ::chmod((dir / "open").c_str(), 0700);
    EXPECT_EQ(linkedFilePath("Z:\\data.accdb", (dir / "open" / "m.accdb").string()),
              (dir / "open" / "data.accdb").string());
    fs::remove_all(dir);
}

} // namespace
