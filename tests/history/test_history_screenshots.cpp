#include "history/HistoryPreview.h"
#include "tests/support/Screenshots.h"
#include "tests/support/TestData.h"

#include <QDir>

#include <filesystem>

#include <gtest/gtest.h>

// Pictures for the documentation.
TEST(HistoryScreenshot, AutoLoadDialogAndSavedSearchesMenu) {
    const QString folder = quarix::test::screenshotFolder();
    // A short folder name, as the pictures show the path.
    const auto dir = std::filesystem::temp_directory_path() / "Databases";
    std::filesystem::create_directories(dir);
    const auto copy = dir / "shop.accdb";
    std::filesystem::copy_file(quarix::test::dataFile("shop.accdb"), copy,
                               std::filesystem::copy_options::overwrite_existing);
    const QString path = QString::fromStdString(copy.string());
    const QString suffix = quarix::test::screenshotSuffix();
    EXPECT_TRUE(quarix::history::renderAutoLoadDialogPreview(path).save(
        folder + QStringLiteral("/autoload-dialog%1.png").arg(suffix)));
    EXPECT_TRUE(quarix::history::renderSavedSearchesMenuPreview(path).save(
        folder + QStringLiteral("/saved-searches-menu%1.png").arg(suffix)));
    std::filesystem::remove_all(dir);
}
