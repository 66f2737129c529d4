#include "MainWindowFixture.h"

#include "history/SavedSearches.h"
#include "platform/Shell.h"
#include "tools/Launcher.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <filesystem>

using quarix::tools::Launcher;

namespace {

class WindowHistoryTools : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Launcher::setTestMode(true);
        quarix::platform::Shell::setTestMode(true);
    }
    void TearDown() override {
        Launcher::setTestMode(false);
        quarix::platform::Shell::setTestMode(false);
        MainWindowTest::TearDown();
    }

    void searchLondon(const QString& path) {
        openThroughDialog(path);
        choose(QStringLiteral("Customers"), QStringLiteral("City"), QStringLiteral("Contains"),
               QStringLiteral("lon"));
        window->cmdQuarix_Click();
        settle();
    }
};

TEST_F(WindowHistoryTools, SearchesAndDatabasesAreRemembered) {
    REQUIRE_ENGINE();
    const QString mdb = copyOf("shop.mdb");
    searchLondon(mdb);
    EXPECT_EQ(action("mnulast0")->text(),
              QStringLiteral("Table | Customers | City | [City] Like '*lon*'"));
    EXPECT_TRUE(action("mnulast0")->isVisible());
    EXPECT_EQ(window->settings.Recent1, mdb);
    EXPECT_EQ(action("mnuRecentFile0")->text(), QStringLiteral("&1 ") + mdb);

    // Another database through the dialog: the last ten start again, the
    // recent list has both, newest first.
    const QString accdb = copyOf("shop.accdb");
    openThroughDialog(accdb);
    EXPECT_FALSE(action("mnulast0")->isVisible());
    EXPECT_EQ(window->settings.Recent1, accdb);
    EXPECT_EQ(window->settings.Recent2, mdb);

    // Replaying the recent .mdb entry opens it again.
    action("mnuRecentFile1")->trigger();
    settle();
    EXPECT_EQ(window->CurrentDatabasePath, mdb);
    EXPECT_EQ(window->settings.Recent1, mdb);
    EXPECT_EQ(window->settings.Recent2, accdb) << "moved to the top, not left twice";
}

TEST_F(WindowHistoryTools, ARecentFileThatIsGoneIsOfferedForRemoval) {
    REQUIRE_ENGINE();
    const QString gone = copyOf("shop.accdb");
    const QString mdb = copyOf("shop.mdb");
    openThroughDialog(gone);
    openThroughDialog(mdb);
    ASSERT_EQ(window->settings.Recent2, gone);
    QFile::remove(gone);
    quarix::platform::MessageBox::clearShown();
    quarix::platform::MessageBox::queueAnswer(QMessageBox::Yes);
    action("mnuRecentFile1")->trigger();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.contains(gone));
    EXPECT_EQ(window->CurrentDatabasePath, mdb) << "the open database stays open";
    EXPECT_EQ(window->settings.Recent1, mdb);
    EXPECT_TRUE(window->settings.Recent2.isEmpty());
    EXPECT_FALSE(action("mnuRecentFile1")->isVisible());
}

TEST_F(WindowHistoryTools, SavedSearchRunsOnItsOwnDatabase) {
    REQUIRE_ENGINE();
    const QString mdb = copyOf("shop.mdb");
    searchLondon(mdb);
    const int found = dataRows();
    ASSERT_GT(found, 0);
    action("mnusavedsearch0")->trigger();
    settle();
    EXPECT_EQ(window->settings.SavedSearches[0],
              QStringLiteral("Table | %1 | Customers | City | [City] Like '*lon*'").arg(mdb));
    EXPECT_TRUE(action("mnusavedsearch2")->isVisible());

    openThroughDialog(copyOf("shop.accdb"));
    action("mnusavedsearch2")->trigger();
    settle();
    EXPECT_EQ(window->CurrentDatabasePath, mdb);
    EXPECT_EQ(window->searchState.CurrentWhere, QStringLiteral("[City] Like '*lon*'"));
    EXPECT_EQ(dataRows(), found);
}

TEST_F(WindowHistoryTools, ExportAsksWhereToSaveTheWorkbookAndHandsItToTheSpreadsheet) {
    REQUIRE_ENGINE();
    Launcher::setTestDefaultApplications(
        {{QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"),
          QStringLiteral("libreoffice-calc.desktop")}});
    const auto& opened = quarix::platform::Shell::opened();
    const auto& dialogs = quarix::platform::FileDialog::shown();
    const auto before = opened.size();
    action("mnuExcel")->trigger();
    settle();
    EXPECT_EQ(opened.size(), before) << "nothing to export before a search";

    const QString mdb = copyOf("shop.mdb");
    searchLondon(mdb);
    const auto dialogsBefore = dialogs.size();
    action("mnuExcel")->trigger(); // nothing queued: the user cancels the Save As dialog
    ASSERT_EQ(dialogs.size(), dialogsBefore + 1);
    EXPECT_EQ(dialogs.back().title, QStringLiteral("Export Results to Excel"));
    EXPECT_EQ(dialogs.back().filter, QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx"));
    EXPECT_EQ(QFileInfo(dialogs.back().startPath).fileName(), QStringLiteral("Customers.xlsx"));
    EXPECT_EQ(opened.size(), before);

    // A name without its extension gets one.
    const QString chosen = QFileInfo(mdb).absolutePath() + QStringLiteral("/London customers");
    quarix::platform::FileDialog::queueAnswer(chosen);
    action("mnuExcel")->trigger();
    settle();
    ASSERT_EQ(opened.size(), before + 1);
    EXPECT_EQ(opened.back(), chosen + QStringLiteral(".xlsx"));
    EXPECT_TRUE(QFileInfo::exists(opened.back()));
}

TEST_F(WindowHistoryTools, CompactTouchesNoFileAndSaysWhy) {
    REQUIRE_ENGINE();
    const QString mdb = copyOf("shop.mdb");
    openThroughDialog(mdb);
    const auto before = std::filesystem::last_write_time(mdb.toStdString());
    action("mnuCompact")->trigger();
    settle();
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(
        messages().back().text.startsWith(QStringLiteral("The database cannot be compacted.")));
    EXPECT_EQ(std::filesystem::last_write_time(mdb.toStdString()), before);
}

} // namespace

namespace {

// A saved query is searched, filtered, paged and sorted as a table is.
TEST_F(WindowHistoryTools, SavedQueriesAreSearchedLikeTables) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.accdb"));
    box("cmbTableQuery")->setCurrentIndex(box("cmbTableQuery")->findText(QStringLiteral("Query")));
    window->cmbTableQuery_Click();
    settle();
    window->settings.MaxResults = QStringLiteral("10");

    choose(QStringLiteral("London Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    const long all = window->searchState.ResultCount;
    ASSERT_GT(all, 10) << "more than one page";
    EXPECT_EQ(dataRows(), 10);
    EXPECT_EQ(window->gridModel()->TextMatrix(1, 2), QStringLiteral("London"));

    window->cmdPage_Click(1);
    settle();
    EXPECT_EQ(window->searchState.CurrentPage, 1);

    box("cmbFunction")->setCurrentText(QStringLiteral("Equals"));
    box("CmbField")->setEditText(QStringLiteral("Country"));
    box("cmbValues")->setEditText(QStringLiteral("UK"));
    window->cmdFilter_Click();
    settle();
    EXPECT_EQ(window->searchState.CurrentWhere,
              QStringLiteral("[Name] Like '*a*' AND [Country] Like 'UK'"));
    EXPECT_EQ(window->searchState.ResultCount, all) << "every London customer lives in the UK";

    window->MSFlexGrid1_HeaderClick(0);
    settle();
    EXPECT_EQ(window->searchState.SortClause, QStringLiteral("[CustomerID] ASC"));
    EXPECT_EQ(window->gridModel()->TextMatrix(0, 0), QStringLiteral("CustomerID"));
}

} // namespace

namespace {

TEST_F(WindowHistoryTools, ALongSavedSearchIsShownShortAndReplaysWhole) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    action("mnusavedsearch0")->trigger(); // before any search
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, quarix::history::kNothingToSaveMessage);

    const QString value = QStringLiteral("Lon") + QString(400, QLatin1Char('x'));
    choose(QStringLiteral("Customers"), QStringLiteral("City"), QStringLiteral("Not Contain"),
           value);
    window->cmdQuarix_Click();
    settle();
    action("mnusavedsearch0")->trigger();
    QAction* slot = action("mnusavedsearch2");
    ASSERT_TRUE(slot->isVisible());
    const QString criterion = QStringLiteral("[City] Not Like '*") + value + QStringLiteral("*'");
    EXPECT_TRUE(slot->toolTip().endsWith(criterion));
    EXPECT_LT(slot->text().size(), 200);

    choose(QStringLiteral("Orders"), QStringLiteral("Status"), QStringLiteral("Equals"), QString());
    slot->trigger();
    settle();
    EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where ") + criterion);
    EXPECT_EQ(dataRows(), 240); // every city that is not empty
    EXPECT_EQ(box("cmbFunction")->currentText(), QStringLiteral("Not Contain"));
    EXPECT_EQ(box("cmbValues")->currentText(), value);
}

} // namespace
