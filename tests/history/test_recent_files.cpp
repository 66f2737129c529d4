#include "FakeSearchWindow.h"

#include "history/RecentFiles.h"
#include "platform/MessageBox.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

using namespace quarix::history;
using quarix::platform::MessageBox;

namespace {

const QString A = QStringLiteral("/data/a.mdb");
const QString B = QStringLiteral("/data/b.mdb");
const QString C = QStringLiteral("/data/c.accdb");

QStringList recent(const SettingsValues& s) {
    return {s.Recent1, s.Recent2, s.Recent3};
}

QStringList shownCaptions(const RecentFilesMenu& menu) {
    QStringList shown;
    for (const MenuItem& item : menu.items)
        if (item.visible)
            shown << item.caption;
    return shown;
}

struct RecentFilesTest : ::testing::Test {
    SettingsValues settings;
    RecentFilesMenu menu;

    void open(const QString& path) { UpdateRecentFiles(settings, path, true, menu); }
};

} // namespace

TEST_F(RecentFilesTest, NewestFirstAndAMovedEntryLeavesItsOldPlace) {
    open(A);
    open(B);
    open(C);
    EXPECT_EQ(recent(settings), (QStringList{C, B, A}));
    open(B);
    EXPECT_EQ(recent(settings), (QStringList{B, C, A}));
    open(A);
    EXPECT_EQ(recent(settings), (QStringList{A, B, C}));
    EXPECT_EQ(shownCaptions(menu), (QStringList{A, B, C}));
    EXPECT_TRUE(menu.separatorVisible);

    open(A); // already the newest: unchanged
    EXPECT_EQ(recent(settings), (QStringList{A, B, C}));
    const QString d = QStringLiteral("/data/d.mdb");
    open(d); // a fourth database pushes the oldest out
    EXPECT_EQ(recent(settings), (QStringList{d, A, B}));
}

TEST_F(RecentFilesTest, PathsDifferingInCaseAreDifferentEntries) {
    open(A);
    open(A.toUpper());
    EXPECT_EQ(recent(settings), (QStringList{A.toUpper(), A, QString()}));
    EXPECT_EQ(shownCaptions(menu), (QStringList{A.toUpper(), A}));
}

TEST_F(RecentFilesTest, WithRecentShownOffTheListIsKeptButNothingShows) {
    UpdateRecentFiles(settings, A, false, menu);
    UpdateRecentFiles(settings, B, false, menu);
    EXPECT_EQ(recent(settings), (QStringList{B, A, QString()}));
    EXPECT_TRUE(shownCaptions(menu).isEmpty());
    EXPECT_FALSE(menu.separatorVisible);
}

TEST_F(RecentFilesTest, WithoutDatabaseAndEmptyListTheMenuStaysHidden) {
    settings.Recent2 = B; // only reachable through an edited settings file
    UpdateRecentFiles(settings, QString(), true, menu);
    EXPECT_TRUE(shownCaptions(menu).isEmpty());
    EXPECT_TRUE(menu.items[1].caption.isEmpty());
}

TEST_F(RecentFilesTest, ExitMovesANewDatabaseOverRecent2) {
    settings.Recent1 = A;
    settings.Recent2 = B;
    settings.Recent3 = C;
    EXPECT_TRUE(recordRecentAtExit(settings, QString()).isEmpty());
    EXPECT_TRUE(recordRecentAtExit(settings, A).isEmpty());
    EXPECT_EQ(recent(settings), (QStringList{A, B, C}));

    const QString d = QStringLiteral("/data/d.mdb");
    EXPECT_EQ(recordRecentAtExit(settings, d), d);
    EXPECT_EQ(recent(settings), (QStringList{d, A, C}));
    // The oldest entry moves up without being listed twice.
    EXPECT_EQ(recordRecentAtExit(settings, C), C);
    EXPECT_EQ(recent(settings), (QStringList{C, d, A}));
}

TEST(RecentFileClick, OpensTheDatabaseWithTheAutoLoadChoiceAndAnEmptyGrid) {
    FakeSearchWindow window;
    window.settings.AutoLoadDatabase = B;
    window.settings.AutoLoadTable = QStringLiteral("Orders");
    window.settings.AutoLoadField = QStringLiteral("Status");
    window.field = QStringLiteral("City");
    RecentFilesMenu menu;
    menu.items[0] = {A, true};
    menu.items[1] = {B, true};
    SearchWindowPort port = window.port();

    mnuRecentFile_Click(0, menu, port);
    EXPECT_EQ(window.CurrentDatabasePath, A);
    EXPECT_TRUE(window.field.isEmpty());
    EXPECT_EQ(window.calls,
              (QStringList{QStringLiteral("updateTableQuery"), QStringLiteral("loadTables ") + A,
                           QStringLiteral("resetGrid"), QStringLiteral("clearLastSearches"),
                           QStringLiteral("loadFields ")}));
    EXPECT_EQ(window.caption, QStringLiteral("Quarix - a.mdb"));

    mnuRecentFile_Click(1, menu, port);
    EXPECT_EQ(window.table, QStringLiteral("Orders"));
    EXPECT_EQ(window.field, QStringLiteral("Status"));
    EXPECT_EQ(window.calls.last(), QStringLiteral("loadFields Orders"));
}

TEST(RecentFileClick, AnEmptyPatternOpensNothing) {
    FakeSearchWindow window;
    RecentFilesMenu menu;
    menu.items[0] = {QStringLiteral("*.mdb"), true};
    SearchWindowPort port = window.port();
    mnuRecentFile_Click(0, menu, port);
    EXPECT_FALSE(menu.items[0].visible);
    EXPECT_TRUE(window.calls.isEmpty());
}

// A database deleted since it was used still moves to the top (the list is
// updated as its tables start loading), then the open reports the failure.
TEST(RecentFileClick, AMissingDatabaseMovesToTheTopThenFailsToOpen) {
    MessageBox::setTestMode(true);
    const QString missing =
        QString::fromStdString((quarix::test::scratchDir("recent") / "gone.mdb").string());
    FakeSearchWindow window;
    window.settings.Recent1 = A;
    window.settings.Recent2 = missing;
    RecentFilesMenu menu;
    UpdateRecentFiles(window.settings, QString(), true, menu);
    // As the window's table loading does: record the path, then read.
    window.onLoadTables = [&](const QString& path) {
        UpdateRecentFiles(window.settings, path, true, menu);
    };
    mnuRecentFile_Click(1, menu, window.port());
    EXPECT_EQ(recent(window.settings), (QStringList{missing, A, QString()}));
    EXPECT_EQ(shownCaptions(menu), (QStringList{missing, A}));
    MessageBox::setTestMode(false);
}
