#include "engine/reader/ReaderErrors.h"

#include "tests/engine/reader/CollectingSink.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

using namespace quarix::engine;
using quarix::test::CollectingSink;
namespace fs = std::filesystem;

namespace {

class ReadFailures : public testing::Test {
protected:
    void SetUp() override { dir_ = quarix::test::scratchDir("reader-failures"); }
    void TearDown() override {
        AccessFileReader::setHelperPath("");
        AccessFileReader::setWatchdogTimeout(std::chrono::seconds(20));
        fs::remove_all(dir_);
    }

    std::string copyOf(const std::string& fixture) {
        const fs::path target = dir_ / fs::path(fixture).filename();
        fs::copy_file(quarix::test::dataFile(fixture), target,
                      fs::copy_options::overwrite_existing);
        return target.string();
    }

    std::string writeFile(const std::string& name, const std::string& content) {
        const fs::path target = dir_ / name;
        std::ofstream(target, std::ios::binary) << content;
        return target.string();
    }

    // A stand-in helper program, to play a helper that hangs or crashes.
    std::string fakeHelper(const std::string& script) {
        const std::string path = writeFile("fake-helper.sh", "#!/bin/sh\n" + script + "\n");
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    fs::path dir_;
};

int catalogueError(const std::string& path) {
    try {
        AccessFileReader::readCatalogue(path);
    } catch (const EngineError& e) {
        return e.number();
    }
    return 0;
}

EngineError tableError(const std::string& path, const std::string& table,
                       const ReadOptions& options = {}) {
    CollectingSink sink;
    try {
        AccessFileReader::readTable(path, table, sink, options);
    } catch (const EngineError& e) {
        return e;
    }
    return EngineError(0, "");
}

} // namespace

TEST_F(ReadFailures, MissingFilesDirectoriesAndNonAccessFilesGiveAccessErrors) {
    EXPECT_EQ(catalogueError((dir_ / "missing.mdb").string()), reader_errors::fileNotFound);
    EXPECT_EQ(catalogueError(dir_.string()), reader_errors::fileNotFound);
    EXPECT_EQ(catalogueError(""), reader_errors::fileNotFound);
    EXPECT_EQ(catalogueError(writeFile("empty.mdb", "")), reader_errors::unrecognizedFormat);
    EXPECT_EQ(catalogueError(writeFile("zeros.mdb", std::string(8192, '\0'))),
              reader_errors::unrecognizedFormat);
    std::mt19937 random(42);
    std::string noise(64 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    EXPECT_EQ(catalogueError(writeFile("noise.accdb", noise)), reader_errors::unrecognizedFormat);
    const EngineError e = tableError((dir_ / "missing.mdb").string(), "Customers");
    EXPECT_EQ(e.number(), reader_errors::fileNotFound);
    EXPECT_EQ(e.description(), "Could not find file '" + (dir_ / "missing.mdb").string() + "'.");
}

TEST_F(ReadFailures, ADamagedTableLeavesTheOthersReadable) {
    const std::string path = copyOf("shop.mdb");
    const Catalogue before = AccessFileReader::readCatalogue(path);
    const auto wide = std::find_if(before.tables.begin(), before.tables.end(),
                                   [](const TableInfo& t) { return t.name == "Wide"; });
    ASSERT_NE(wide, before.tables.end());
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(static_cast<std::streamoff>(wide->id & 0xffffff) * 4096);
        const std::string garbage(4096, '\xab');
        file.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    const Catalogue after = AccessFileReader::readCatalogue(path);
    EXPECT_EQ(after.tables.size(), before.tables.size());
    const EngineError e = tableError(path, "Wide");
    EXPECT_EQ(e.number(), reader_errors::tableDamaged);
    EXPECT_EQ(e.description(), "The table 'Wide' in '" + path + "' is damaged and cannot be read.");
    CollectingSink customers;
    AccessFileReader::readTable(path, "Customers", customers);
    EXPECT_EQ(customers.rows().size(), 250u);
}

TEST_F(ReadFailures, UnknownTablesAndEncryptedFiles) {
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "No Such Table").number(),
              reader_errors::tableNotFound);
    // Table names are exact: a form or query of that name is not a table.
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "London Customers").number(),
              reader_errors::tableNotFound);

    const std::string path = copyOf("shop.accdb");
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(0x3e);
        char byte = 0;
        file.read(&byte, 1);
        file.seekp(0x3e);
        byte = static_cast<char>(byte ^ 0x11);
        file.write(&byte, 1);
    }
    try {
        AccessFileReader::readCatalogue(path);
        FAIL() << "an encrypted file was read";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.number(), reader_errors::unsupportedEncryption);
        EXPECT_NE(e.description().find("is encrypted with a damaged Office encryption header"),
                  std::string::npos);
    }
}

TEST_F(ReadFailures, AHungCrashedOrStoppedHelperSaysWhatHappened) {
    const std::string shop = quarix::test::dataFile("shop.mdb");
    AccessFileReader::setWatchdogTimeout(std::chrono::milliseconds(300));
    // A helper that never ends: only the watchdog brings the read back.
    AccessFileReader::setHelperPath(fakeHelper("exec sleep 3600"));
    EngineError hung = tableError(shop, "Orders");
    EXPECT_EQ(hung.number(), reader_errors::tableDamaged);
    EXPECT_NE(hung.description().find("'Orders'"), std::string::npos);

    // A crash is libmdb meeting damage; another signal is the system's doing.
    AccessFileReader::setHelperPath(fakeHelper("kill -SEGV $$"));
    const EngineError crashed = tableError(shop, "Orders");
    EXPECT_EQ(crashed.number(), reader_errors::tableDamaged);
    EXPECT_EQ(crashed.description(),
              "Quarix's file reader stopped (signal 11, Segmentation fault) while reading the "
              "table 'Orders' in '" +
                  shop + "': the file may be damaged.");
    EXPECT_EQ(catalogueError(shop), reader_errors::tableDamaged);
    AccessFileReader::setHelperPath(fakeHelper("kill -KILL $$"));
    const EngineError killed = tableError(shop, "Orders");
    EXPECT_EQ(killed.number(), reader_errors::resourceExceeded);
    EXPECT_EQ(killed.description().rfind("Quarix's file reader stopped (signal 9, Killed) while "
                                         "reading the table 'Orders' in '" +
                                             shop + "'. The system",
                                         0),
              0u)
        << killed.description();

    AccessFileReader::setHelperPath(fakeHelper("printf 'R\\377\\377\\377\\377garbage'"));
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "Orders").number(),
              reader_errors::tableDamaged);

    AccessFileReader::setHelperPath((dir_ / "no-such-helper").string());
    EXPECT_EQ(catalogueError(quarix::test::dataFile("shop.mdb")), reader_errors::helperFailed);
}

TEST_F(ReadFailures, CancelStopsTheReadAndSinkErrorsPropagate) {
    std::atomic<bool> cancel{true};
    ReadOptions options;
    options.cancel = &cancel;
    const EngineError before = tableError(quarix::test::dataFile("shop.mdb"), "Orders", options);
    EXPECT_EQ(before.number(), reader_errors::canceled);
    EXPECT_EQ(before.description(), "Operation canceled by user.");

    cancel = false;
    options.progress = [&](std::uint64_t, std::uint64_t) { cancel = true; };
    EXPECT_EQ(tableError(quarix::test::dataFile("shop.mdb"), "Orders", options).number(),
              reader_errors::canceled);

    struct ThrowingSink : RowSink {
        void begin(const TableInfo&) override {}
        void row(std::span<const StoredValue>) override { throw std::runtime_error("sink full"); }
    } sink;
    EXPECT_THROW(AccessFileReader::readTable(quarix::test::dataFile("shop.mdb"), "Orders", sink),
                 std::runtime_error);
}
