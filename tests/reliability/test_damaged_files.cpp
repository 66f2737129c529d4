// Damaged copies of every fixture, each opened, listed and searched through
// the engine: each must end in data or an EngineError, and the test process
// must survive them all.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/reliability/DamagedCopies.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Opens, lists and searches one file the way the window does: every user
// table, and a Like search on the first text column found.
void openListAndSearch(const std::string& path) {
    const auto db = AccessDatabase::open(path);
    bool searched = false;
    for (const TableInfo& table : db->catalogue().tables) {
        if (table.system)
            continue;
        const auto rows = db->execute(table.name);
        if (rows->rowCount() > 0)
            rows->row(rows->rowCount() - 1);
        for (const ColumnInfo& column : table.columns) {
            if (searched || column.type != ColumnType::Text)
                continue;
            db->filter(table.name, "[" + column.name + "] Like '*a*'")->rowCount();
            searched = true;
        }
    }
}

struct SweepCounts {
    int copies = 0;
    int data = 0;
    std::map<int, int> errors; // by Access error number
};

TEST(DamagedFiles, EveryCopyEndsInDataOrAnEngineError) {
    const fs::path dir = quarix::test::scratchDir("damaged-files");
    AccessDatabase::setCacheEnabled(false);
    AccessFileReader::setWatchdogTimeout(std::chrono::seconds(3));

    std::vector<fs::path> fixtures = {quarix::test::dataFile("shop.mdb"),
                                      quarix::test::dataFile("shop.accdb")};
    for (const auto& entry : fs::directory_iterator(quarix::test::dataDir() / "real"))
        if (entry.path().extension() == ".mdb" || entry.path().extension() == ".accdb")
            fixtures.push_back(entry.path());
    std::sort(fixtures.begin(), fixtures.end());

    SweepCounts counts;
    std::uint32_t seed = 20261206;
    for (const fs::path& fixture : fixtures) {
        for (const auto& copy : quarix::test::damagedCopies(readBytes(fixture), seed++, 8, 8, 12)) {
            const fs::path path =
                dir / ("copy-" + std::to_string(counts.copies++) + fixture.extension().string());
            std::ofstream(path, std::ios::binary) << copy.bytes;
            try {
                openListAndSearch(path.string());
                ++counts.data;
                // Part of a page is missing: reading on would give fewer rows or wrong values.
                EXPECT_FALSE(copy.cutInsidePage)
                    << fixture.filename() << ", " << copy.how << " gave data";
            } catch (const EngineError& e) {
                ++counts.errors[e.number()];
                EXPECT_FALSE(e.description().empty()) << fixture.filename() << ", " << copy.how;
            } catch (const std::exception& e) {
                ADD_FAILURE() << fixture.filename() << ", " << copy.how
                              << ": not an engine error: " << e.what();
            }
            fs::remove(path);
        }
    }

    int errors = 0;
    std::ostringstream byNumber;
    for (const auto& [number, count] : counts.errors) {
        errors += count;
        byNumber << (byNumber.tellp() > 0 ? ", " : "") << number << ": " << count;
    }
    std::cout << "damaged-file sweep: " << counts.copies << " copies of " << fixtures.size()
              << " files, " << counts.data << " gave data, " << errors << " gave an engine error ("
              << byNumber.str() << ")\n";
    RecordProperty("copies", counts.copies);
    RecordProperty("data", counts.data);
    RecordProperty("engine_errors", errors);
    EXPECT_GE(counts.copies, 300);
    EXPECT_EQ(counts.data + errors, counts.copies);

    AccessFileReader::setWatchdogTimeout(std::chrono::seconds(20));
    AccessDatabase::setCacheEnabled(true);
    fs::remove_all(dir);
}

} // namespace
