#include "mainwindow/frmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

const char usage[] =
    "Usage: quarix [DATABASE] [/SWITCH ...]\n"
    "Search Microsoft Access databases (.mdb, .accdb).\n"
    "\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n";

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarix"));
    QApplication::setApplicationVersion(QStringLiteral(QUARIX_VERSION));
    frmMain window;
    window.show();
    return QApplication::exec();
}
