#include "history/HistoryPreview.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestData.h"

#include <QDir>

#include <filesystem>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

// The AutoLoad dialog and the saved searches menu drawn off screen; the
// pictures for the documentation are saved when a folder is named.
TEST(HistoryScreenshot, AutoLoadDialogAndSavedSearchesMenu) {
    const QString folder = qEnvironmentVariable("QUARIX_SCREENSHOT_DIR");
    const quarix::test::ScratchFolder scratch("history-screenshots");
    // A short folder name for the pictures, as they show the path.
    const fs::path dir =
        folder.isEmpty() ? scratch.path() : fs::temp_directory_path() / "Databases";
    fs::create_directories(dir);
    fs::copy_file(quarix::test::dataFile("shop.accdb"), dir / "shop.accdb",
                  fs::copy_options::overwrite_existing);
    const QString path = QString::fromStdString((dir / "shop.accdb").string());
    const QImage dialog = quarix::history::renderAutoLoadDialogPreview(path);
    const QImage menu = quarix::history::renderSavedSearchesMenuPreview(path);
    EXPECT_GT(dialog.width(), 300);
    EXPECT_GT(dialog.height(), 100);
    EXPECT_GT(menu.width(), 100);
    EXPECT_GT(menu.height(), 60);
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    const QString suffix = quarix::test::screenshotSuffix();
    EXPECT_TRUE(dialog.save(folder + QStringLiteral("/autoload-dialog%1.png").arg(suffix)));
    EXPECT_TRUE(menu.save(folder + QStringLiteral("/saved-searches-menu%1.png").arg(suffix)));
    fs::remove_all(dir);
}
