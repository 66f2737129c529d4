#include "history/HistoryPreview.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestData.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The AutoLoad dialog and the saved searches menu drawn off screen: the
// pictures for the documentation.
TEST(HistoryScreenshot, AutoLoadDialogAndSavedSearchesMenu) {
    const QString folder = quarix::test::screenshotFolder();
    // A short folder name, as the pictures show the path.
    const auto dir = std::filesystem::temp_directory_path() / "Databases";
    std::filesystem::create_directories(dir);
    const auto copy = dir / "shop.accdb";
    std::filesystem::copy_file(quarix::test::dataFile("shop.accdb"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    const QString path = QString::fromStdString(copy.string());
    const QImage dialog = quarix::history::renderAutoLoadDialogPreview(path);
    const QImage menu = quarix::history::renderSavedSearchesMenuPreview(path);
    EXPECT_GT(dialog.width(), 300);
    EXPECT_GT(dialog.height(), 100);
    EXPECT_GT(menu.width(), 100);
    EXPECT_GT(menu.height(), 60);
    const QString suffix = quarix::test::screenshotSuffix();
    EXPECT_TRUE(dialog.save(folder + u"/autoload-dialog%1.png"_s.arg(suffix)));
    EXPECT_TRUE(menu.save(folder + u"/saved-searches-menu%1.png"_s.arg(suffix)));
    std::filesystem::remove_all(dir);
}
