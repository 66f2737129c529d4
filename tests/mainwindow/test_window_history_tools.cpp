#include "MainWindowFixture.h"

#include "history/SavedSearches.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <filesystem>

using namespace Qt::StringLiterals;

using quarix::tools::Launcher;

namespace {

class WindowHistoryTools : public MainWindowTest {
protected:
    void searchLondon(const QString& path) {
        openThroughDialog(path);
        search("Customers", "City", "Contains", "lon");
    }
};

TEST_F(WindowHistoryTools, SearchesAndDatabasesAreRemembered) {
    REQUIRE_ENGINE();
    const QString mdb = copyOf("shop.mdb");
    searchLondon(mdb);
    EXPECT_EQ(action("mnulast0")->text(), u"Table | Customers | City | [City] Like '*lon*'"_s);
    EXPECT_TRUE(action("mnulast0")->isVisible());
    EXPECT_EQ(window->settings.Recent1, mdb);
    EXPECT_EQ(action("mnuRecentFile0")->text(), u"&1 "_s + mdb);

    // Another database through the dialog: the last ten start again, the
    // recent list has both, newest first.
    const QString accdb = open("shop.accdb");
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
    forgetMessages();
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

TEST_F(WindowHistoryTools, ExportAsksWhereToSaveTheWorkbookAndHandsItToTheSpreadsheet) {
    REQUIRE_ENGINE();
    Launcher::setTestDefaultApplications(
        {{u"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"_s,
          u"libreoffice-calc.desktop"_s}});
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
    EXPECT_EQ(dialogs.back().title, u"Export Results to Excel"_s);
    EXPECT_EQ(dialogs.back().filter, u"Excel Workbook (*.xlsx)|*.xlsx"_s);
    EXPECT_EQ(QFileInfo(dialogs.back().startPath).fileName(), u"Customers.xlsx"_s);
    EXPECT_EQ(opened.size(), before);

    // A name without its extension gets one.
    const QString chosen = QFileInfo(mdb).absolutePath() + u"/London customers"_s;
    quarix::platform::FileDialog::queueAnswer(chosen);
    action("mnuExcel")->trigger();
    settle();
    ASSERT_EQ(opened.size(), before + 1);
    EXPECT_EQ(opened.back(), chosen + u".xlsx"_s);
    EXPECT_TRUE(QFileInfo::exists(opened.back()));
}

TEST_F(WindowHistoryTools, CompactTouchesNoFileAndSaysWhy) {
    REQUIRE_ENGINE();
    const QString mdb = open("shop.mdb");
    const auto before = std::filesystem::last_write_time(mdb.toStdString());
    action("mnuCompact")->trigger();
    settle();
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(messages().back().text.startsWith(u"The database cannot be compacted."_s));
    EXPECT_EQ(std::filesystem::last_write_time(mdb.toStdString()), before);
}

// A saved query is searched, filtered, paged and sorted as a table is.
TEST_F(WindowHistoryTools, SavedQueriesAreSearchedLikeTables) {
    REQUIRE_ENGINE();
    open("shop.accdb");
    box("cmbTableQuery")->setCurrentIndex(box("cmbTableQuery")->findText(u"Query"_s));
    window->cmbTableQuery_Click();
    settle();
    window->settings.MaxResults = u"10"_s;

    search("London Customers", "Name", "Contains", "a");
    const long all = window->searchState.ResultCount;
    ASSERT_GT(all, 10) << "more than one page";
    EXPECT_EQ(dataRows(), 10);
    EXPECT_EQ(window->gridModel()->TextMatrix(1, 2), u"London"_s);

    window->cmdPage_Click(1);
    settle();
    EXPECT_EQ(window->searchState.CurrentPage, 1);

    box("cmbFunction")->setCurrentText(u"Equals"_s);
    box("CmbField")->setEditText(u"Country"_s);
    box("cmbValues")->setEditText(u"UK"_s);
    window->cmdFilter_Click();
    settle();
    EXPECT_EQ(window->searchState.CurrentWhere, u"[Name] Like '*a*' AND [Country] Like 'UK'"_s);
    EXPECT_EQ(window->searchState.ResultCount, all) << "every London customer lives in the UK";

    window->MSFlexGrid1_HeaderClick(0);
    settle();
    EXPECT_EQ(window->searchState.SortClause, u"[CustomerID] ASC"_s);
    EXPECT_EQ(window->gridModel()->TextMatrix(0, 0), u"CustomerID"_s);
}

// A saved search is kept whole however long, shown short, and replayed on
// its own database with its operator and value back in their boxes.
TEST_F(WindowHistoryTools, ASavedSearchRunsWholeOnItsOwnDatabase) {
    REQUIRE_ENGINE();
    const QString mdb = open("shop.mdb");
    action("mnusavedsearch0")->trigger(); // before any search
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, quarix::history::kNothingToSaveMessage);

    const QString value = u"Lon"_s + QString(400, QLatin1Char('x'));
    choose(u"Customers"_s, u"City"_s, u"Not Contain"_s, value);
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(dataRows(), 240); // every city that is not empty
    action("mnusavedsearch0")->trigger();
    settle();
    const QString criterion = u"[City] Not Like '*"_s + value + u"*'"_s;
    EXPECT_EQ(window->settings.SavedSearches[0],
              u"Table | %1 | Customers | City | %2"_s.arg(mdb, criterion));
    QAction* slot = action("mnusavedsearch2");
    ASSERT_TRUE(slot->isVisible());
    EXPECT_TRUE(slot->toolTip().endsWith(criterion));
    EXPECT_LT(slot->text().size(), 200);

    open("shop.accdb");
    choose("Orders", "Status", "Equals", "");
    slot->trigger();
    settle();
    EXPECT_EQ(window->CurrentDatabasePath, mdb);
    EXPECT_EQ(window->searchState.CurrentWhere, criterion);
    EXPECT_EQ(clipboard(), u"Select * from Customers where "_s + criterion);
    EXPECT_EQ(dataRows(), 240);
    EXPECT_EQ(box("cmbFunction")->currentText(), u"Not Contain"_s);
    EXPECT_EQ(box("cmbValues")->currentText(), value);
}

} // namespace
