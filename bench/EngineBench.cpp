// Measures the engine on the big benchmark files and prints each figure
// with its ratio to the reference the engine is held to, both measured in
// turns in the same run. Prints; does not pass or fail.
#include "engine/AccessDatabase.h"
#include "engine/reader/AccessFileReader.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using quarix::engine::AccessDatabase;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median of a few runs, so that one disturbed run does not decide.
double medianOf(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(seconds(work));
    return median(times);
}

struct Pair {
    double ours = 0;
    double reference = 0;
};

// Ours and the reference taken in turns, so that both see the same load;
// the median of each.
Pair sideBySide(int runs, const std::function<double()>& ours,
                const std::function<double()>& reference) {
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(ours());
        b.push_back(reference());
    }
    return {median(a), median(b)};
}

double shell(const std::string& command) {
    return seconds([&] {
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "bench: command failed: %s\n", command.c_str());
    });
}

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

const std::string searchSql =
    "select * from [People] WHERE [City] Like '*lon*' ORDER BY [City] ASC";

// One search as the window runs it: the statement, its count and one page.
void search(AccessDatabase& db, const std::string& sql, long firstRow = 0) {
    auto rs = db.execute(sql);
    for (long r = firstRow; r < firstRow + 50 && r < rs->rowCount(); ++r)
        rs->row(r);
}

void freshCache(const fs::path& dir) {
    fs::remove_all(dir);
    ::setenv("XDG_CACHE_HOME", dir.c_str(), 1);
    AccessDatabase::setCacheEnabled(true);
}

// Peak memory of reading one file, measured in a child process so that the
// figures of the three sizes do not mix.
void memoryFigures(const std::string& self, const std::vector<std::string>& files) {
    std::printf("\nPeak memory while reading (this process + reader process):\n");
    for (const auto& file : files) {
        if (!fs::exists(file))
            continue;
        std::fflush(stdout); // the child's lines come after what is printed so far
        const pid_t pid = fork();
        if (pid == 0) {
            execl(self.c_str(), self.c_str(), "--memory", file.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
}

int memoryChild(const std::string& file) {
    const fs::path cache =
        fs::temp_directory_path() / ("quarix-bench-mem-" + std::to_string(getpid()));
    freshCache(cache);
    auto db = AccessDatabase::open(file);
    const long rows = db->execute("People")->rowCount();
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf("  %-22s %8ld rows: %6.1f MB + %6.1f MB\n", fs::path(file).filename().c_str(), rows,
                self.ru_maxrss / 1024.0, children.ru_maxrss / 1024.0);
    fs::remove_all(cache);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return memoryChild(argv[2]);
    const fs::path benchDir = argc > 1 ? fs::path(argv[1]) : fs::path("../shared/fixtures/bench");
    const std::string big = (benchDir / "people-1m.accdb").string();
    if (!fs::exists(big)) {
        std::fprintf(stderr, "bench: %s not found; pass the folder of the benchmark files\n",
                     big.c_str());
        return 1;
    }
    const fs::path work = fs::temp_directory_path() / ("quarix-bench-" + std::to_string(getpid()));
    fs::create_directories(work);

    std::printf("Engine on %s (1,000,000 rows)\n\n", big.c_str());
    const Pair cold = sideBySide(
        3,
        [&] {
            freshCache(work / "cache");
            return seconds([&] {
                auto db = AccessDatabase::open(big);
                search(*db, searchSql);
            });
        },
        [&] { return shell("mdb-export " + quoted(big) + " People > /dev/null"); });
    const double catalogue =
        medianOf(3, [&] { quarix::engine::AccessFileReader::readCatalogue(big); });
    std::printf("cold search (open + first search, empty cache) %7.3f s   mdb-export %7.3f s   "
                "ratio %.2f (target <= 0.12)\n",
                cold.ours, cold.reference, cold.ours / cold.reference);
    std::printf("catalogue listing                               %7.3f s   ratio to cold search "
                "%.3f (target <= 0.05)\n\n",
                catalogue, catalogue / cold.ours);

    // The reference: the same SQL through the sqlite3 tool on a plain copy.
    const fs::path plain = work / "plain.db";
    {
        auto db = AccessDatabase::open(big);
        db->execute("People");
        sqlite3* cache = nullptr;
        std::string cacheFile;
        for (const auto& e : fs::directory_iterator(work / "cache" / "quarix"))
            if (e.path().extension() == ".sqlite")
                cacheFile = e.path().string();
        sqlite3_open(cacheFile.c_str(), &cache);
        sqlite3_stmt* find = nullptr;
        sqlite3_prepare_v2(cache, "SELECT rowid FROM quarix_tables WHERE name = 'People'", -1,
                           &find, nullptr);
        const std::string table = sqlite3_step(find) == SQLITE_ROW
                                      ? "t" + std::to_string(sqlite3_column_int64(find, 0))
                                      : "t1";
        sqlite3_finalize(find);
        const std::string copy = "ATTACH " + quoted(plain.string()) +
                                 " AS plain; "
                                 "CREATE TABLE plain.People AS SELECT c0 AS ID, c1 AS FirstName, "
                                 "c2 AS LastName, c3 AS City, "
                                 "c4 AS Email, c5 AS Age, c6 / 10000.0 AS Balance, c7 AS Score, c8 "
                                 "AS Joined, c9 AS Active FROM " +
                                 table + ";";
        sqlite3_exec(cache, copy.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(cache);
    }
    // The reference answers what the window shows: one page of 50 rows in
    // the same order (ties by rowid, as the engine breaks them) and the
    // count of all matching rows.
    const std::string count = "SELECT count(*) FROM People WHERE City LIKE '%lon%';\n";
    struct Case {
        const char* name;
        std::string ours;
        long firstRow;
        std::string reference;
    };
    const Case cases[] = {
        {"warm search", searchSql, 0,
         "SELECT * FROM People WHERE City LIKE '%lon%' ORDER BY City COLLATE NOCASE, rowid LIMIT "
         "50;\n" +
             count},
        {"page 2 of 50 rows", searchSql, 50,
         "SELECT * FROM People WHERE City LIKE '%lon%' ORDER BY City COLLATE NOCASE, rowid LIMIT "
         "50 OFFSET 50;\n" +
             count},
        {"re-sort by LastName",
         "select * from [People] WHERE [City] Like '*lon*' ORDER BY [LastName] ASC", 0,
         "SELECT * FROM People WHERE City LIKE '%lon%' ORDER BY LastName COLLATE NOCASE, rowid "
         "LIMIT 50;\n" +
             count},
        {"distinct City values", "select DISTINCT [City] from [People] ORDER BY [City] ASC", 0,
         "SELECT DISTINCT City FROM People ORDER BY City COLLATE NOCASE;\n"},
    };
    const fs::path script = work / "reference.sql";
    const auto sqliteTool = [&](const std::string& sql) {
        std::ofstream(script) << sql;
        return shell("sqlite3 " + quoted(plain.string()) + " < " + quoted(script.string()) +
                     " > /dev/null");
    };
    constexpr int runs = 5;
    double warmEngine = 0;
    for (const Case& c : cases) {
        // A page change follows the first page's search in the same session;
        // every other case starts on a new connection, as a new run would.
        const bool nextPage = c.firstRow > 0;
        const Pair pair = sideBySide(
            runs,
            [&] {
                AccessDatabase::setCacheEnabled(true);
                if (nextPage)
                    search(*AccessDatabase::open(big), c.ours, 0);
                return seconds([&] { search(*AccessDatabase::open(big), c.ours, c.firstRow); });
            },
            [&] { return sqliteTool(c.reference); });
        if (&c == &cases[0])
            warmEngine = pair.ours;
        std::printf("%-22s engine %7.3f s   sqlite3 %7.3f s   ratio %.2f (target <= 1.2)\n", c.name,
                    pair.ours, pair.reference, pair.ours / pair.reference);
    }

    // The same search as a whole quarix-cli process, as scripts run it,
    // against the whole sqlite3 process answering the same page and count.
    const std::string cliSearch =
        std::string(QUARIX_CLI) + " search " + quoted(big) +
        " People City contains lon --page 1 --page-size 50 --format csv > /dev/null";
    freshCache(work / "cli-cache");
    const double cliCold = shell(cliSearch);
    const Pair cli = sideBySide(
        runs, [&] { return shell(cliSearch); }, [&] { return sqliteTool(cases[0].reference); });
    std::printf("\nquarix-cli search, whole process: cold %7.3f s (engine %7.3f s)   warm %7.3f s "
                "(engine %7.3f s)\n",
                cliCold, cold.ours, cli.ours, warmEngine);
    std::printf(
        "quarix-cli warm search %7.3f s   sqlite3 tool %7.3f s   ratio %.2f (target <= 1.2)\n",
        cli.ours, cli.reference, cli.ours / cli.reference);
    std::printf("(medians of %d runs, each side by side with its reference)\n", runs);

    memoryFigures(argv[0], {(benchDir / "people-10k.mdb").string(),
                            (benchDir / "people-100k.accdb").string(), big});
    fs::remove_all(work);
    return 0;
}
