// quarix-tools-screenshots DATABASE OUTPUT_FOLDER: writes object-viewer.png,
// programs.png and about.png into the folder.
#include "tools/ToolScreenshots.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: quarix-tools-screenshots DATABASE OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    const QDir out(args[2]);
    using namespace quarix::tools;
    const bool ok =
        saveObjectViewerScreenshot(args[1], out.filePath(QStringLiteral("object-viewer.png"))) &&
        saveProgramsScreenshot(out.filePath(QStringLiteral("programs.png"))) &&
        saveAboutScreenshot(out.filePath(QStringLiteral("about.png")));
    return ok ? 0 : 1;
}
