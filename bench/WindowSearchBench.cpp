// Measures what the main window adds to a search: the time from the search
// button to the first page on screen, against the engine's own time for
// the same search, both with a warm cache. Prints; does not pass or fail.
#include "bench/WindowIdle.h"
#include "engine/AccessDatabase.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Each run starts on a new connection, so that no run is answered from the
// results an earlier run left behind.
double bestOf(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        quarix::engine::AccessDatabase::setCacheEnabled(true);
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// The engine alone: the statement, its count and the first page of 50 rows.
double engineSearch(const std::string& path, const std::string& sql) {
    const auto once = [&] {
        auto rs = quarix::engine::AccessDatabase::open(path)->execute(sql);
        for (long r = 0; r < 50 && r < rs->rowCount(); ++r)
            rs->row(r);
    };
    once(); // fills the cache
    return bestOf(3, once);
}

// The window: a click on the search button until the page is painted.
double windowSearch(const QString& path, const char* table, const char* field, const char* value) {
    frmMain window;
    window.settings.MaxResults = QStringLiteral("50");
    window.show();
    window.openDatabaseAtStart(path);
    waitForWindow(window);
    window.findChild<QComboBox*>(QStringLiteral("cmbTable"))
        ->setEditText(QString::fromLatin1(table));
    window.findChild<QComboBox*>(QStringLiteral("CmbField"))
        ->setEditText(QString::fromLatin1(field));
    window.findChild<QComboBox*>(QStringLiteral("cmbValues"))
        ->setEditText(QString::fromLatin1(value));
    auto* button = window.findChild<QPushButton*>(QStringLiteral("cmdQuarix"));
    const auto once = [&] {
        button->click();
        waitForWindow(window);
    };
    once();
    const double best = bestOf(3, once);
    if (!quarix::platform::MessageBox::shown().empty())
        std::fprintf(stderr, "window bench: %s\n",
                     qPrintable(quarix::platform::MessageBox::shown().back().text));
    return best;
}

// The window's field list of a table not read yet: the time from leaving
// the table box until the fields are listed.
double coldFieldList(const QString& path, const char* table) {
    frmMain window;
    window.show();
    window.openDatabaseAtStart(path);
    waitForWindow(window);
    window.findChild<QComboBox*>(QStringLiteral("cmbTable"))
        ->setEditText(QString::fromLatin1(table));
    const auto start = Clock::now();
    window.Load_Fields();
    waitForWindow(window);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    if (window.findChild<QComboBox*>(QStringLiteral("CmbField"))->count() == 0)
        std::fprintf(stderr, "window bench: no fields listed\n");
    return elapsed;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quarix-window-bench BENCH_FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const fs::path cache = fs::temp_directory_path() / "quarix-window-bench-cache";
    fs::remove_all(cache);
    ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    QApplication app(argc, argv);
    quarix::platform::MessageBox::setTestMode(true);

    const fs::path folder = argv[1];
    const fs::path big = folder / "people-1m.accdb";
    if (fs::exists(big))
        std::printf("Field list of a table not read yet, people-1m.accdb: %.3f s (target at most "
                    "0.05)\n",
                    coldFieldList(QString::fromStdString(big.string()), "People"));
    std::printf("Main window (warm cache, best of 3):\n");
    if (fs::exists(big)) {
        const double engine = engineSearch(
            big.string(), "select * from [People] WHERE [City] Like '*lon*' ORDER BY [City] ASC");
        const double window =
            windowSearch(QString::fromStdString(big.string()), "People", "City", "lon");
        std::printf("  search button to first page, people-1m.accdb: %.3f s; engine alone %.3f s; "
                    "ratio %.2f "
                    "(target at most 1.2)\n",
                    window, engine, window / engine);
    }
    const fs::path mdb = folder / "people-100k.mdb";
    if (fs::exists(mdb)) {
        const double window =
            windowSearch(QString::fromStdString(mdb.string()), "People", "City", "lon");
        std::printf("  search button to first screen, people-100k.mdb (all rows, read as "
                    "scrolled): %.3f s\n",
                    window);
    }
    fs::remove_all(cache);
    return 0;
}
