// Nothing Quarix does to a database writes to it: every quarix-cli command
// over copies of the fixtures leaves each file's bytes and modification
// time as they were, and adds no file (a lock file) beside it.
#include "app/cli/CliCommands.h"
#include "app/cli/CliOptions.h"
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/reliability/FixtureCopy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace quarix;

namespace {

struct Snapshot {
    std::string bytes;
    timespec modified{};
};

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

int runCli(const std::vector<std::string>& args) {
    const cli::ParseResult parsed = cli::parseCommandLine(args);
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    std::ostringstream out, err;
    return cli::runCommand(parsed.options, out, err);
}

// Every command with the options that reach different code: lists, fields,
// values, searches in each form and output format, paging, counting, and
// dumping every table and saved query (action queries included).
int runEveryCommand(const std::string& file, const fs::path& outputDir) {
    int commands = 0;
    const auto run = [&](std::vector<std::string> args) {
        runCli(args);
        ++commands;
    };
    run({"tables", file, "--all"});
    run({"queries", file, "--all", "--format", "json"});
    const auto db = engine::AccessDatabase::open(file);
    for (const engine::TableInfo& table : db->catalogue().tables) {
        // A linked table reads the file beside this one: that one stays as it was, too.
        if (table.link.kind != engine::LinkKind::None)
            run({"dump", file, table.name, "--count"});
        if (table.system || table.columns.empty())
            continue;
        for (const auto& column : table.columns)
            if (column.type == engine::ColumnType::Complex)
                run({"attachments", file, table.name, column.name, "--output-dir",
                     (outputDir / "attachments").string()});
        const std::string field = table.columns.front().name;
        run({"fields", file, table.name});
        run({"values", file, table.name, field, "--max", "5", "--format", "jsonl"});
        run({"search", file, table.name, field, "Contains", "a", "--format", "csv", "--output",
             (outputDir / "out.csv").string()});
        run({"search", file, table.name, "--where", "[" + field + "] Is Not Null", "--and",
             "[" + field + "] <> ''", "--page", "2", "--page-size", "3", "--order",
             "[" + field + "] DESC"});
        run({"search", file, table.name, "--where", "True", "--count"});
        run({"dump", file, table.name, "--format", "json", "--output",
             (outputDir / "out.json").string()});
    }
    for (const engine::QueryInfo& query : db->catalogue().queries)
        run({"dump", file, query.name, "--count"});
    return commands;
}

TEST(NoWrites, EveryCliCommandLeavesTheDatabaseFilesAsTheyWere) {
    const test::ScratchFolder dir("no-writes");
    const fs::path files = dir / "files";
    const fs::path output = dir / "output";
    fs::create_directories(files);
    fs::create_directories(output);

    std::vector<std::string> fixtures = {"shop.mdb", "shop.accdb"};
    for (const auto& entry : fs::directory_iterator(test::dataDir() / "real"))
        if (entry.path().extension() == ".mdb" || entry.path().extension() == ".accdb")
            fixtures.push_back("real/" + entry.path().filename().string());

    std::map<std::string, Snapshot> before;
    for (const std::string& fixture : fixtures) {
        const std::string path = test::writableCopy(fixture, files);
        // An old time to the nanosecond, so that even a write in the same
        // second as the copy shows.
        test::setModified(path, timespec{978307200, 123456789});
        before[path] = {test::fileBytes(path), test::modifiedOf(path)};
    }
    const std::set<std::string> namesBefore = namesIn(files);

    int commands = 0;
    for (const auto& [path, snapshot] : before)
        commands += runEveryCommand(path, output);
    // The same again with the cache switched off: reading goes straight to the files.
    engine::AccessDatabase::setCacheEnabled(false);
    commands += runEveryCommand(before.begin()->first, output);
    engine::AccessDatabase::setCacheEnabled(true);

    for (const auto& [path, snapshot] : before) {
        EXPECT_TRUE(test::fileBytes(path) == snapshot.bytes) << path << ": contents changed";
        const timespec modified = test::modifiedOf(path);
        EXPECT_EQ(modified.tv_sec, snapshot.modified.tv_sec) << path;
        EXPECT_EQ(modified.tv_nsec, snapshot.modified.tv_nsec) << path;
    }
    EXPECT_EQ(namesIn(files), namesBefore);
    RecordProperty("commands", commands);
    EXPECT_GT(commands, 100);
}

} // namespace
