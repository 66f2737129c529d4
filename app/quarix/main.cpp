#include "app/quarix/ApplicationIcon.h"
#include "app/quarix/LaunchArguments.h"
#include "mainwindow/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char usage[] = "Usage: quarix [DATABASE] [/SWITCH ...]\n"
                     "Search Microsoft Access databases (.mdb, .accdb).\n"
                     "\n"
                     "DATABASE is opened at start, instead of the AutoLoad database. An argument\n"
                     "that names an existing file, or ends in .mdb or .accdb, is taken whole as\n"
                     "the database path; every other argument is split into switches at \"/\".\n"
                     "A file:// URI stands for the file's path.\n"
                     "\n"
                     "Switches (in any case; a later one overrides an earlier one):\n"
                     "  /K     lock down: hide Preferences, Office Tools, SQL Mode and help,\n"
                     "         disable the programs and saved-search changes, start maximised\n"
                     "         and do not show the recent databases\n"
                     "  /F     hide the Filter and Undo Filter buttons\n"
                     "  /L     hide the Last 10 Searches menu\n"
                     "  /O     hide the Preferences menu\n"
                     "  /X     show the Preferences menu and unlock the settings that the\n"
                     "         multi-user parameters or /T- and /Q- locked\n"
                     "  /TS    switch multi-user mode on (each user keeps own settings)\n"
                     "  /T-    do not offer tables, and lock the Show Tables setting\n"
                     "  /Q-    do not offer queries, and lock the Show Queries setting\n"
                     "  /WM    start maximised\n"
                     "\n"
                     "  --help       show this help and exit\n"
                     "  --version    show the version and exit\n";

// Qt aborts when it finds no display to connect to; say so plainly instead.
bool displayNamed(int argc, char* argv[]) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (const char* value = std::getenv(name); value && *value)
            return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Quarix %s\n", QUARIX_VERSION);
            return 0;
        }
    }
    if (!displayNamed(argc, argv)) {
        std::fputs("quarix: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
                   "not set);\nquarix-cli searches without a window.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarix"));
    QApplication::setApplicationVersion(QStringLiteral(QUARIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QUARIX_APP_ID));
    QApplication::setWindowIcon(applicationIcon());
    // A change of multi-user mode replaces the window with a new one.
    auto* window = new frmMain(SettingsEnvironment::system(),
                               withLocalPaths(QApplication::arguments().mid(1)));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return QApplication::exec();
}
