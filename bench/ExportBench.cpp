// quarix-export-bench [DATABASE] [TABLE]: exports every row of a table to a
// workbook in the temporary folder and prints rows per second and the
// process's peak memory. Default: the 1M-row People table of the benchmark
// fixtures.
#include "engine/EngineError.h"
#include "engine/cache/CacheFolder.h"
#include "session/DatabaseHandle.h"
#include "session/ExportRows.h"
#include "session/XlsxExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <xlsxwriter.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

QString defaultDatabase() {
    const QByteArray dir = qgetenv("QUARIX_BENCH_DATA");
    const QString folder =
        dir.isEmpty() ? QStringLiteral("../shared/fixtures/bench") : QString::fromLocal8Bit(dir);
    return QDir(folder).filePath(QStringLiteral("people-1m.accdb"));
}

// The floor: libxlsxwriter in constant memory writing the same cells, read
// straight from the cached table (People's columns: ID, four texts, Age,
// Balance in ten-thousandths, Score, Joined as a serial date, Active) in
// the cache file of the database exported.
double floorSeconds(const QString& out, const QString& database) {
    namespace fs = std::filesystem;
    const fs::path cacheFile = quarix::engine::CacheFolder::fileFor(
        fs::absolute(database.toStdString()).lexically_normal().string());
    sqlite3* db = nullptr;
    sqlite3_open_v2(cacheFile.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* find = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid FROM quarix_tables WHERE name = 'People'", -1, &find,
                       nullptr);
    const std::string table =
        sqlite3_step(find) == SQLITE_ROW ? "t" + std::to_string(sqlite3_column_int64(find, 0)) : "";
    sqlite3_finalize(find);
    if (table.empty()) {
        std::fprintf(stderr, "export bench: no cached People table in %s\n", cacheFile.c_str());
        sqlite3_close(db);
        return 0;
    }
    QElapsedTimer clock;
    clock.start();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(out).constData(), &options);
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "yyyy-mm-dd");
    lxw_worksheet* sheet = workbook_add_worksheet(book, "People");
    const char* headers[] = {"ID",  "FirstName", "LastName", "City",   "Email",
                             "Age", "Balance",   "Score",    "Joined", "Active"};
    for (lxw_col_t c = 0; c < 10; ++c)
        worksheet_write_string(sheet, 0, c, headers[c], bold);
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(db, ("SELECT * FROM " + table + " ORDER BY rowid").c_str(), -1, &rows,
                       nullptr);
    lxw_row_t row = 0;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        ++row;
        for (lxw_col_t c = 0; c < 10; ++c) {
            const int type = sqlite3_column_type(rows, c);
            if (type == SQLITE_NULL)
                continue;
            if (type == SQLITE_TEXT)
                worksheet_write_string(sheet, row, c,
                                       reinterpret_cast<const char*>(sqlite3_column_text(rows, c)),
                                       nullptr);
            else if (c == 9)
                worksheet_write_boolean(sheet, row, c, sqlite3_column_int(rows, c) != 0, nullptr);
            else if (c == 6)
                worksheet_write_number(sheet, row, c, sqlite3_column_int64(rows, c) / 10000.0,
                                       nullptr);
            else
                worksheet_write_number(sheet, row, c, sqlite3_column_double(rows, c),
                                       c == 8 ? date : nullptr);
        }
    }
    sqlite3_finalize(rows);
    workbook_close(book);
    sqlite3_close(db);
    return clock.nsecsElapsed() / 1e9;
}

// The file pages this process holds: mostly the cache file SQLite maps.
long mappedFileMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssFile:", 0) == 0)
            return std::stol(line.substr(8)) / 1024;
    return 0;
}

long peakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    // The benchmark file, or the folder that holds it.
    QString database = args.size() > 1 ? args[1] : defaultDatabase();
    if (QFileInfo(database).isDir())
        database = QDir(database).filePath(QStringLiteral("people-1m.accdb"));
    const QString table = args.size() > 2 ? args[2] : QStringLiteral("People");
    if (!QFileInfo::exists(database)) {
        std::fprintf(stderr, "export bench: %s not found (set QUARIX_BENCH_DATA)\n",
                     qPrintable(database));
        return 2;
    }
    using namespace quarix;
    try {
        // A child reads the table into the cache, so that the peak memory
        // measured here is the export's own, not the first read's.
        QElapsedTimer clock;
        clock.start();
        const pid_t reader = fork();
        if (reader == 0) {
            try {
                session::DatabaseHandle(database).open()->execute(table.toStdString());
            } catch (const engine::EngineError&) {
                _exit(1);
            }
            _exit(0);
        }
        int status = 0;
        waitpid(reader, &status, 0);
        const double openSeconds = clock.nsecsElapsed() / 1e9;
        session::DatabaseHandle handle(database);
        handle.open()->execute(table.toStdString());
        const long memoryAfterOpen = peakMemoryMb();
        const QString out =
            QDir(QDir::tempPath()).filePath(QStringLiteral("quarix-export-bench.xlsx"));
        // Ours and the floor in turns, the median of each.
        std::vector<double> ours, floor;
        session::WorkbookResult result;
        long peak = 0;
        for (int run = 0; run < 3; ++run) {
            clock.restart();
            session::ResultExportRows rows(handle.open()->execute(table.toStdString()));
            result = session::writeWorkbook(rows, {out, table});
            ours.push_back(clock.nsecsElapsed() / 1e9);
            if (!result.ok) {
                std::fprintf(stderr, "export bench: %s\n", qPrintable(result.error));
                return 1;
            }
            peak = peakMemoryMb(); // before the floor adds its own
            if (table == QStringLiteral("People"))
                floor.push_back(floorSeconds(out + QStringLiteral(".floor.xlsx"), database));
        }
        std::sort(ours.begin(), ours.end());
        const double seconds = ours[1];
        std::printf(
            "export %s (%ld rows, %lld MB workbook): read into the cache %.2f s, write %.2f s, "
            "%.0f rows/s, peak memory %ld MB (%ld MB before writing, %ld MB of the mapped cache "
            "file at the end; target <= 100 MB)\n",
            qPrintable(QFileInfo(database).fileName()), result.rowsWritten,
            static_cast<long long>(QFileInfo(out).size() / (1024 * 1024)), openSeconds, seconds,
            result.rowsWritten / seconds, peak, memoryAfterOpen, mappedFileMb());
        if (!floor.empty()) {
            std::sort(floor.begin(), floor.end());
            std::printf("libxlsxwriter constant-memory floor, the same cells: %.2f s   ratio %.2f "
                        "(target <= 1.15)\n",
                        floor[1], seconds / floor[1]);
        }
        QFile::remove(out + QStringLiteral(".floor.xlsx"));
        QFile::remove(out);
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "export bench: %d %s\n", e.number(), e.description().c_str());
        return 1;
    }
    return 0;
}
