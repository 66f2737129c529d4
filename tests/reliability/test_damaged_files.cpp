// Damaged copies of every fixture, each opened, listed, read whole and
// searched through the engine: each must end in an EngineError or in the
// answer the undamaged file gives, and the test process must survive them
// all. Access files carry no checksums, so a byte flipped inside a value,
// or inside an object's name or flags, is a valid other value that no
// reader can tell from the first: such answers are counted and listed.
// Pages zeroed or cut away must never go unnoticed, no damage may lose or
// invent rows without a word, and no flipped byte may change more rows
// than one.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/support/AccessPages.h"
#include "tests/support/ResultRowsText.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

// One damaged version of a file and how it was made, for the failure text.
struct DamagedCopy {
    std::string how; // "truncated at 4096", "page 3 zeroed", "7 bytes flipped (copy 12)"
    std::string bytes;
    int flippedBytes = 0; // bytes changed in place (not cut or zeroed)
};

// Damaged versions of a file, the same on every run: cut at page
// boundaries, inside pages and within the header; whole pages zeroed (the
// header page and catalogue pages included); and bytes flipped, mostly in
// the first pages where the catalogue and table definitions live.
std::vector<DamagedCopy> damagedCopies(const std::string& original, std::uint32_t seed,
                                       int truncations, int zeroedPages, int flips) {
    std::mt19937 random(seed);
    const std::size_t pageSize = quarix::test::AccessPages(original).pageSize();
    const std::size_t pages = std::max<std::size_t>(1, original.size() / pageSize);
    const auto below = [&](std::size_t limit) {
        return std::uniform_int_distribution<std::size_t>(0, limit - 1)(random);
    };
    std::vector<DamagedCopy> copies;

    for (int i = 0; i < truncations; ++i) {
        // A page boundary, anywhere, in the header and catalogue, or the last page cut short.
        const std::size_t at = i % 4 == 0   ? below(pages) * pageSize
                               : i % 4 == 1 ? below(original.size())
                               : i % 4 == 2
                                   ? below(std::min<std::size_t>(original.size(), 3 * pageSize))
                                   : original.size() - 1 - below(pageSize);
        copies.push_back({"truncated at " + std::to_string(at), original.substr(0, at)});
    }

    for (int i = 0; i < zeroedPages; ++i) {
        // The first copies hit the header page and the pages right after it.
        const std::size_t page = i < 3 ? std::min<std::size_t>(i, pages - 1) : below(pages);
        std::string bytes = original;
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(page * pageSize),
                    std::min(pageSize, bytes.size() - page * pageSize), '\0');
        copies.push_back({"page " + std::to_string(page) + " zeroed", std::move(bytes)});
    }

    for (int i = 0; i < flips; ++i) {
        std::string bytes = original;
        const int count = 1 + static_cast<int>(below(24));
        const std::size_t region = i % 2 ? bytes.size() : std::min(bytes.size(), 16 * pageSize);
        for (int f = 0; f < count; ++f)
            bytes[below(region)] ^= static_cast<char>(1 + below(255));
        copies.push_back({std::to_string(count) + " bytes flipped (copy " + std::to_string(i) + ")",
                          std::move(bytes), count});
    }
    return copies;
}

// What a file answers the way the window asks: its user tables, every row
// of each as text, and a Like search on the first text column found.
struct Answer {
    std::vector<std::string> tables;
    std::map<std::string, std::vector<std::string>> rows;
    std::int64_t searched = -1;
};

Answer answerOf(const std::string& path) {
    Answer answer;
    const auto db = AccessDatabase::open(path);
    for (const TableInfo& table : db->catalogue().tables) {
        if (table.system)
            continue;
        answer.tables.push_back(table.name);
        // A linked table's rows are another file's, not this copy's.
        if (table.link.kind != LinkKind::None)
            continue;
        answer.rows[table.name] = quarix::test::rowsOf(*db, table.name);
        for (const ColumnInfo& column : table.columns) {
            if (answer.searched >= 0 || column.type != ColumnType::Text)
                continue;
            answer.searched =
                db->filter(table.name, "[" + column.name + "] Like '*a*'")->rowCount();
        }
    }
    return answer;
}

// How a damaged copy's answer differs from the sound file's, when it does.
enum class Difference { None, Tables, Rows, Values };

Difference differenceOf(const Answer& sound, const Answer& damaged, std::size_t& valuesChanged) {
    if (sound.tables != damaged.tables)
        return Difference::Tables;
    valuesChanged = 0;
    for (const auto& [table, rows] : sound.rows) {
        const auto& other = damaged.rows.at(table);
        if (other.size() != rows.size())
            return Difference::Rows;
        for (std::size_t r = 0; r < rows.size(); ++r)
            valuesChanged += rows[r] != other[r];
    }
    if (valuesChanged > 0 || sound.searched != damaged.searched)
        return Difference::Values;
    return Difference::None;
}

struct SweepCounts {
    int copies = 0;
    int sameAnswer = 0;
    std::map<int, int> errors;               // by Access error number
    std::map<Difference, int> silent;        // answers that differ without a word
    std::vector<std::string> changedInPlace; // what each silent value change was
};

TEST(DamagedFiles, EveryCopyEndsInTheSoundAnswerOrAnEngineError) {
    const quarix::test::ScratchFolder dir("damaged-files");
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
        const Answer sound = answerOf(fixture.string());
        for (const auto& copy :
             damagedCopies(quarix::test::fileBytes(fixture), seed++, 12, 20, 20)) {
            const fs::path path =
                dir / ("copy-" + std::to_string(counts.copies++) + fixture.extension().string());
            quarix::test::writeBytes(path, copy.bytes);
            const std::string what = fixture.filename().string() + ", " + copy.how;
            try {
                const Answer damaged = answerOf(path.string());
                std::size_t valuesChanged = 0;
                const Difference difference = differenceOf(sound, damaged, valuesChanged);
                if (difference == Difference::None) {
                    ++counts.sameAnswer;
                    continue;
                }
                ++counts.silent[difference];
                const std::string change =
                    difference == Difference::Tables ? "other tables listed"
                    : difference == Difference::Rows
                        ? "rows lost or invented"
                        : std::to_string(valuesChanged) + " rows with other values";
                // A flipped byte changes the value it falls in, one row's at
                // most: more means the table's definition was read wrongly.
                if (copy.flippedBytes > 0 && difference != Difference::Rows &&
                    valuesChanged <= static_cast<std::size_t>(copy.flippedBytes))
                    counts.changedInPlace.push_back(what + ": " + change);
                else
                    ADD_FAILURE() << what << ": " << change << " without an error";
            } catch (const EngineError& e) {
                ++counts.errors[e.number()];
                EXPECT_FALSE(e.description().empty()) << what;
            } catch (const std::exception& e) {
                ADD_FAILURE() << what << ": not an engine error: " << e.what();
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
    const int silent = counts.silent[Difference::Tables] + counts.silent[Difference::Rows] +
                       counts.silent[Difference::Values];
    std::cout << "damaged-file sweep: " << counts.copies << " copies of " << fixtures.size()
              << " files, " << counts.sameAnswer << " gave the sound answer, " << errors
              << " gave an engine error (" << byNumber.str() << "), " << silent
              << " differed without a word (" << counts.silent[Difference::Tables]
              << " other tables listed, " << counts.silent[Difference::Rows]
              << " rows lost or invented, " << counts.silent[Difference::Values]
              << " with other values)\n";
    for (const std::string& change : counts.changedInPlace)
        std::cout << "  changed in place: " << change << "\n";
    RecordProperty("copies", counts.copies);
    RecordProperty("sound_answer", counts.sameAnswer);
    RecordProperty("engine_errors", errors);
    RecordProperty("silent_differences", silent);
    EXPECT_GE(counts.copies, 500);
    EXPECT_EQ(counts.sameAnswer + errors + silent, counts.copies);

    AccessFileReader::setWatchdogTimeout(std::chrono::seconds(20));
    AccessDatabase::setCacheEnabled(true);
}

} // namespace
