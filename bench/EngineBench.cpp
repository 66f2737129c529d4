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

// Seconds until a command's output is complete, and until it ends: quarix-cli
// indexes what it searched after its output.
Pair untilOutputAndEnd(const std::string& command) {
    const auto start = Clock::now();
    // exec: a shell left waiting would hold the pipe open until the end.
    FILE* out = popen(("exec " + command).c_str(), "r");
    if (!out)
        return {};
    char buffer[65536];
    while (std::fread(buffer, 1, sizeof buffer, out) > 0) {
    }
    const double output = std::chrono::duration<double>(Clock::now() - start).count();
    if (pclose(out) != 0)
        std::fprintf(stderr, "bench: command failed: %s\n", command.c_str());
    return {output, std::chrono::duration<double>(Clock::now() - start).count()};
}

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

// The bytes of the cache files below a cache folder.
std::uintmax_t cacheBytes(const fs::path& dir) {
    std::uintmax_t total = 0;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
        if (e.is_regular_file(ec))
            total += e.file_size(ec);
    return total;
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
    // The first search of a table: every matching row (181,581), and the
    // first page only, as the window shows it; mdb-export reads the table.
    const std::string coldSearch = std::string(QUARIX_CLI) + " search " + quoted(big) +
                                   " People City contains lon --format csv";
    std::vector<double> coldEnds;
    const auto coldRun = [&](const std::string& command) {
        return [&, command] {
            freshCache(work / "cache");
            const Pair times = untilOutputAndEnd(command);
            coldEnds.push_back(times.reference);
            return times.ours;
        };
    };
    const auto mdbExport = [&] {
        return shell("mdb-export " + quoted(big) + " People > /dev/null");
    };
    const Pair cold = sideBySide(3, coldRun(coldSearch), mdbExport);
    const double allEnd = median(coldEnds);
    coldEnds.clear();
    const Pair coldPage = sideBySide(3, coldRun(coldSearch + " --page 1"), mdbExport);
    const double catalogue =
        medianOf(3, [&] { quarix::engine::AccessFileReader::readCatalogue(big); });
    // The target is the window's first search: its count and first page.
    std::printf("cold first search, quarix-cli with an empty cache, count and first page: output "
                "complete %7.3f s   mdb-export %7.3f s   ratio %.2f (target <= 0.15); process ends "
                "after its index %7.3f s\n",
                coldPage.ours, coldPage.reference, coldPage.ours / coldPage.reference,
                median(coldEnds));
    std::printf(
        "cold first search, every matching row (181,581 as CSV): output complete %7.3f s   "
        "mdb-export %7.3f s   ratio %.2f (no target); process ends after its index %7.3f s\n",
        cold.ours, cold.reference, cold.ours / cold.reference, allEnd);
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
    // Whole processes on both sides, taken in turns: quarix-cli answers one
    // page and the count of every matching row with its cache warm, and the
    // sqlite3 tool answers the same page and count in one scan of a plain
    // copy. Each quarix-cli command runs once before it is timed, so that
    // what a first search leaves behind (its indexes) is there, as for a
    // user's second search.
    const std::string cli = std::string(QUARIX_CLI);
    const std::string file = quoted(big);
    const auto page = [](const std::string& where, const std::string& order, int offset) {
        return "SELECT *, count(*) OVER () FROM People WHERE " + where + " ORDER BY " + order +
               " COLLATE NOCASE, rowid LIMIT 50 OFFSET " + std::to_string(offset) + ";\n";
    };
    struct Case {
        const char* name;
        std::string ours;
        std::string reference;
        double target;
    };
    const std::string lon = "City LIKE '%lon%'";
    const std::string rare = "Email LIKE '%12345@e%'";
    const std::string unique = "Email LIKE 'david.rossi2@example.org'";
    const Case cases[] = {
        {"contains, common (page 1)",
         cli + " search " + file + " People City contains lon --page 1 --format csv",
         page(lon, "City", 0), 1.2},
        {"contains, common (page 2)",
         cli + " search " + file + " People City contains lon --page 2 --format csv",
         page(lon, "City", 50), 1.2},
        {"re-sort by LastName",
         cli + " search " + file +
             " People City contains lon --page 1 --order '[LastName] ASC' --format csv",
         page(lon, "LastName", 0), 1.2},
        {"equals, unique Email",
         cli + " search " + file +
             " People Email eq david.rossi2@example.org --page 1 --format csv",
         page(unique, "Email", 0), 0.25},
        {"contains, rare substring",
         cli + " search " + file + " People Email contains 12345@e --page 1 --format csv",
         page(rare, "Email", 0), 0.25},
        {"greater, Balance > 79990",
         cli + " search " + file + " People Balance gt 79990 --page 1 --format csv",
         page("Balance >= 79991", "Balance", 0), 0.25},
        {"pick list, unique Email", cli + " values " + file + " People Email --max 50 --format csv",
         "SELECT DISTINCT Email FROM People WHERE Email <> '' ORDER BY Email COLLATE NOCASE "
         "LIMIT 50;\n",
         1.5},
    };
    const fs::path script = work / "reference.sql";
    const auto sqliteTool = [&](const std::string& sql) {
        std::ofstream(script) << sql;
        return shell("sqlite3 " + quoted(plain.string()) + " < " + quoted(script.string()) +
                     " > /dev/null");
    };
    const std::uintmax_t plainCache = cacheBytes(work / "cache");
    constexpr int runs = 5;
    std::printf("Whole processes, quarix-cli against the sqlite3 tool on a plain copy:\n");
    for (const Case& c : cases) {
        const std::string ours = c.ours + " > /dev/null";
        shell(ours);
        const Pair pair = sideBySide(
            runs, [&] { return shell(ours); }, [&] { return sqliteTool(c.reference); });
        std::printf("%-26s quarix-cli %7.3f s   sqlite3 %7.3f s   ratio %.2f (target <= %.2f)\n",
                    c.name, pair.ours, pair.reference, pair.ours / pair.reference, c.target);
    }
    const std::uintmax_t indexedCache = cacheBytes(work / "cache");
    std::printf("cache with the searched columns indexed %.1f MB, without %.1f MB   ratio %.2f "
                "(target <= 2)\n",
                indexedCache / 1048576.0, plainCache / 1048576.0,
                static_cast<double>(indexedCache) / static_cast<double>(plainCache));
    std::printf("(medians of %d runs, each side by side with its reference)\n", runs);

    memoryFigures(argv[0], {(benchDir / "people-10k.mdb").string(),
                            (benchDir / "people-100k.accdb").string(), big});
    fs::remove_all(work);
    return 0;
}
