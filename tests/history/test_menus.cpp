#include "FakeSearchWindow.h"

#include "history/LastSearches.h"
#include "history/RecentFiles.h"
#include "history/SavedSearches.h"
#include "platform/MessageBox.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace quarix::history;
using quarix::platform::MessageBox;
using Menu = SavedSearchesMenu;

namespace {

QString entry(const QString& criterion) {
    return lastSearchEntry(u"Table"_s, u"Customers"_s, u"City"_s, criterion);
}

// The captions a menu shows.
template <typename M> QStringList captions(const M& menu) {
    return visibleCaptions(menu.items.begin(), menu.items.end());
}

} // namespace

TEST(LastSearches, RepeatsOfTheNewestAreNotAddedAgain) {
    LastSearchesMenu menu;
    const QString a = entry(u"A"_s), b = entry(u"B"_s);
    EXPECT_EQ(a, u"Table | Customers | City | A"_s);
    AddLastSearch(menu, a, true);
    AddLastSearch(menu, a, true);
    EXPECT_EQ(captions(menu), (QStringList{a}));
    AddLastSearch(menu, b, true);
    AddLastSearch(menu, a, true);
    EXPECT_EQ(captions(menu), (QStringList{a, b, a}));
    EXPECT_TRUE(menu.visible);
}

TEST(LastSearches, TheEleventhDropsTheOldestAndClearingHidesUntilTheNextSearch) {
    LastSearchesMenu menu;
    for (int i = 1; i <= 11; ++i)
        AddLastSearch(menu, entry(QString::number(i)), true);
    const QStringList shown = captions(menu);
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown.first(), entry(u"11"_s));
    EXPECT_EQ(shown.last(), entry(u"2"_s));

    ClearLastSearches(menu);
    EXPECT_FALSE(menu.visible);
    EXPECT_TRUE(captions(menu).isEmpty());
    AddLastSearch(menu, entry(u"B"_s), true);
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(captions(menu), (QStringList{entry(u"B"_s)}));
}

TEST(LastSearches, WithShowLast10OffEntriesAreKeptButTheMenuStaysHidden) {
    LastSearchesMenu menu;
    AddLastSearch(menu, entry(u"A"_s), false);
    AddLastSearch(menu, entry(u"A"_s), false);
    EXPECT_FALSE(menu.visible);
    EXPECT_EQ(captions(menu).size(), 1);
}

TEST(LastSearches, ReplayRunsTheStoredCriterionOnTheCurrentDatabase) {
    FakeSearchWindow window;
    window.CurrentDatabasePath = u"/data/shop.mdb"_s;
    window.searchState.CurrentPage = 3;
    window.value = u"lon"_s;
    LastSearchesMenu menu;
    AddLastSearch(
        menu, lastSearchEntry(u"Query"_s, u"London Customers"_s, u"Name"_s, u"[Name] Like 'A*'"_s),
        true);
    SearchWindowPort port = window.port();

    mnulast_Click(0, menu, port);
    EXPECT_EQ(window.calls, (QStringList{u"loadTables /data/shop.mdb"_s,
                                         u"loadFields London Customers"_s, u"runSearch"_s}));
    ASSERT_EQ(window.runs.size(), 1u);
    const auto& run = window.runs[0];
    EXPECT_EQ(run.kind, u"Query"_s);
    EXPECT_EQ(run.field, u"Name"_s);
    EXPECT_EQ(run.criterion, u"[Name] Like 'A*'"_s);
    EXPECT_TRUE(run.replay);
    EXPECT_EQ(window.searchState.CurrentPage, 0);
    EXPECT_EQ(window.search, run.criterion);
    // The boxes show what the criterion was built from.
    EXPECT_EQ(window.op, u"Begins"_s);
    EXPECT_EQ(window.value, u"A"_s);

    // A criterion containing the separator is cut there.
    const QString cut = entry(u"[City] = 'a | b' OR [City] = 'c'"_s);
    EXPECT_EQ(parseLastSearch(cut).criterion, u"[City] = 'a"_s);
    AddLastSearch(menu, cut, true);
    mnulast_Click(0, menu, port);
    ASSERT_EQ(window.runs.size(), 2u);
    EXPECT_EQ(window.runs[1].criterion, u"[City] = 'a"_s);
}

namespace {

const QString A = u"/data/a.mdb"_s;
const QString B = u"/data/b.mdb"_s;
const QString C = u"/data/c.accdb"_s;

QStringList recent(const SettingsValues& s) {
    return {s.Recent1, s.Recent2, s.Recent3};
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
    EXPECT_EQ(captions(menu), (QStringList{A, B, C}));
    EXPECT_TRUE(menu.separatorVisible);

    open(A); // already the newest: unchanged
    EXPECT_EQ(recent(settings), (QStringList{A, B, C}));
    const QString d = u"/data/d.mdb"_s;
    open(d); // a fourth database pushes the oldest out
    EXPECT_EQ(recent(settings), (QStringList{d, A, B}));
}

TEST_F(RecentFilesTest, PathsDifferingInCaseAreDifferentEntries) {
    open(A);
    open(A.toUpper());
    EXPECT_EQ(recent(settings), (QStringList{A.toUpper(), A, QString()}));
    EXPECT_EQ(captions(menu), (QStringList{A.toUpper(), A}));
}

TEST_F(RecentFilesTest, WithRecentShownOffTheListIsKeptButNothingShows) {
    UpdateRecentFiles(settings, A, false, menu);
    UpdateRecentFiles(settings, B, false, menu);
    EXPECT_EQ(recent(settings), (QStringList{B, A, QString()}));
    EXPECT_TRUE(captions(menu).isEmpty());
    EXPECT_FALSE(menu.separatorVisible);
}

TEST_F(RecentFilesTest, WithoutDatabaseAndEmptyListTheMenuStaysHidden) {
    settings.Recent2 = B; // only reachable through an edited settings file
    UpdateRecentFiles(settings, QString(), true, menu);
    EXPECT_TRUE(captions(menu).isEmpty());
    EXPECT_TRUE(menu.items[1].caption.isEmpty());
}

TEST_F(RecentFilesTest, ExitMovesANewDatabaseOverRecent2) {
    settings.Recent1 = A;
    settings.Recent2 = B;
    settings.Recent3 = C;
    EXPECT_TRUE(recordRecentAtExit(settings, QString()).isEmpty());
    EXPECT_TRUE(recordRecentAtExit(settings, A).isEmpty());
    EXPECT_EQ(recent(settings), (QStringList{A, B, C}));

    const QString d = u"/data/d.mdb"_s;
    EXPECT_EQ(recordRecentAtExit(settings, d), d);
    EXPECT_EQ(recent(settings), (QStringList{d, A, C}));
    // The oldest entry moves up without being listed twice.
    EXPECT_EQ(recordRecentAtExit(settings, C), C);
    EXPECT_EQ(recent(settings), (QStringList{C, d, A}));
}

TEST(RecentFileClick, OpensTheDatabaseWithTheAutoLoadChoiceAndAnEmptyGrid) {
    FakeSearchWindow window;
    window.settings.AutoLoadDatabase = B;
    window.settings.AutoLoadTable = u"Orders"_s;
    window.settings.AutoLoadField = u"Status"_s;
    window.field = u"City"_s;
    RecentFilesMenu menu;
    menu.items[0] = {A, true};
    menu.items[1] = {B, true};
    SearchWindowPort port = window.port();

    mnuRecentFile_Click(0, menu, port);
    EXPECT_EQ(window.CurrentDatabasePath, A);
    EXPECT_TRUE(window.field.isEmpty());
    EXPECT_EQ(window.calls,
              (QStringList{u"updateTableQuery"_s, u"loadTables "_s + A, u"resetGrid"_s,
                           u"clearLastSearches"_s, u"loadFields "_s}));
    EXPECT_EQ(window.caption, u"Quarix - a.mdb"_s);

    mnuRecentFile_Click(1, menu, port);
    EXPECT_EQ(window.table, u"Orders"_s);
    EXPECT_EQ(window.field, u"Status"_s);
    EXPECT_EQ(window.calls.last(), u"loadFields Orders"_s);
}

TEST(RecentFileClick, AnEmptyPatternOpensNothing) {
    FakeSearchWindow window;
    RecentFilesMenu menu;
    menu.items[0] = {u"*.mdb"_s, true};
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
    EXPECT_EQ(captions(menu), (QStringList{missing, A}));
    MessageBox::setTestMode(false);
}

namespace {

QString saved(const QString& kind, const QString& path, const QString& table,
              const QString& criterion = {}) {
    return savedSearchEntry({kind, path, table, u"City"_s, criterion});
}

QStringList savedEntries(const Menu& menu) {
    return visibleCaptions(menu.items.begin() + Menu::kFirstSlot,
                           menu.items.begin() + Menu::kLastSlot + 1);
}

bool listFrameShown(const Menu& menu) {
    return menu.item(Menu::kTopSeparator).visible && menu.item(Menu::kBottomSeparator).visible &&
           menu.item(Menu::kDeleteMode).visible;
}

struct SavedSearchesTest : ::testing::Test {
    FakeSearchWindow window;
    Menu menu;

    void SetUp() override {
        MessageBox::setTestMode(true);
        window.settings.ShowTables = 1;
        window.settings.ShowQueries = 1;
    }
    void TearDown() override { MessageBox::setTestMode(false); }

    void click(int index) {
        SearchWindowPort port = window.port();
        mnusavedsearch_Click(index, menu, port);
    }
};

} // namespace

// Saving stores the current search, until the twentieth fills the last slot.
TEST_F(SavedSearchesTest, TheTwentiethFillsTheLastSlotAndTheTwentyFirstIsRefused) {
    EXPECT_FALSE(listFrameShown(menu));
    window.CurrentDatabasePath = u"/data/shop.mdb"_s;
    window.table = u"Customers"_s;
    window.field = u"City"_s;
    for (int n = 1; n <= 20; ++n) {
        window.searchState.CurrentWhere = u"criterion %1"_s.arg(n, 2, 10, QLatin1Char('0'));
        click(Menu::kSave);
    }
    EXPECT_TRUE(menu.item(Menu::kLastSlot).visible);
    EXPECT_TRUE(MessageBox::shown().empty());
    const QStringList full = savedEntries(menu);
    const QString first = u"Table | /data/shop.mdb | Customers | City | criterion 01"_s;
    EXPECT_EQ(full.first(), first);
    EXPECT_EQ(window.settings.SavedSearches[0], first);
    EXPECT_TRUE(listFrameShown(menu));

    window.searchState.CurrentWhere = u"one too many"_s;
    click(Menu::kSave);
    ASSERT_EQ(MessageBox::shown().size(), 1u);
    EXPECT_EQ(MessageBox::shown()[0].text,
              u"Cannot save search.  20 Saved Searches - Saved searches full."_s);
    EXPECT_EQ(MessageBox::shown()[0].icon, MessageBox::Icon::Information);
    EXPECT_EQ(savedEntries(menu), full);
}

TEST_F(SavedSearchesTest, TablesComeBeforeQueriesThenCaseInsensitiveTextOrder) {
    const QString q = saved(u"Query"_s, u"/a.mdb"_s, u"Countries"_s);
    const QString t2 = saved(u"Table"_s, u"/z.mdb"_s, u"Orders"_s);
    const QString t1 = saved(u"Table"_s, u"/b.mdb"_s, u"orders"_s);
    const QString t0 = saved(u"Table"_s, u"/b.mdb"_s, u"Customers"_s);
    for (const QString& entry : {q, t2, t1, t0})
        saveSearch(menu, window.settings, entry);
    EXPECT_EQ(savedEntries(menu), (QStringList{t0, t1, t2, q}));
    EXPECT_EQ(window.settings.SavedSearches[3], q);
}

TEST_F(SavedSearchesTest, HiddenKindsStayListedDisabledButCanBeDeleted) {
    window.settings.ShowQueries = 0;
    const QString t = saved(u"Table"_s, u"/a.mdb"_s, u"Orders"_s);
    const QString q = saved(u"Query"_s, u"/a.mdb"_s, u"Countries"_s);
    saveSearch(menu, window.settings, t);
    saveSearch(menu, window.settings, q);
    EXPECT_TRUE(menu.item(2).enabled);
    EXPECT_FALSE(menu.item(3).enabled);
    EXPECT_TRUE(menu.item(3).visible);

    click(Menu::kDeleteMode);
    EXPECT_TRUE(menu.item(Menu::kDeleteMode).checked);
    EXPECT_TRUE(menu.item(3).enabled);
    MessageBox::queueAnswer(QMessageBox::No);
    click(3);
    EXPECT_EQ(savedEntries(menu), (QStringList{t, q})) << "not deleted without a yes";
    EXPECT_TRUE(menu.item(Menu::kDeleteMode).checked);
    MessageBox::queueAnswer(QMessageBox::Yes);
    click(3);
    ASSERT_EQ(MessageBox::shown().size(), 2u);
    EXPECT_EQ(MessageBox::shown()[1].text, u"Delete this saved search?\n\n"_s + q);
    EXPECT_EQ(savedEntries(menu), (QStringList{t}));
    EXPECT_TRUE(window.runs.empty());

    // The delete left delete mode: hidden kinds are disabled again.
    EXPECT_FALSE(menu.item(Menu::kDeleteMode).checked);
    saveSearch(menu, window.settings, q);
    EXPECT_FALSE(menu.item(3).enabled);
}

TEST_F(SavedSearchesTest, SavingBeforeAnySearchSaysThereIsNothingToSave) {
    window.table = u"Customers"_s;
    for (const char* where : {"", " "}) {
        window.searchState.CurrentWhere = QString::fromLatin1(where);
        click(Menu::kSave);
    }
    ASSERT_EQ(MessageBox::shown().size(), 2u);
    EXPECT_EQ(MessageBox::shown()[0].text, kNothingToSaveMessage);
    EXPECT_TRUE(savedEntries(menu).isEmpty());
}

TEST_F(SavedSearchesTest, DeletingTheLastEntryLeavesDeleteMode) {
    saveSearch(menu, window.settings, saved(u"Table"_s, u"/a.mdb"_s, u"T"_s));
    click(Menu::kDeleteMode);
    click(Menu::kFirstSlot);
    EXPECT_TRUE(savedEntries(menu).isEmpty());
    EXPECT_FALSE(listFrameShown(menu));
    EXPECT_FALSE(menu.item(Menu::kDeleteMode).checked);
    EXPECT_TRUE(window.settings.SavedSearches[0].isEmpty());
}

TEST_F(SavedSearchesTest, AnEntryOfAnotherDatabaseSwitchesToItAndRunsItsCriterion) {
    window.CurrentDatabasePath = u"/data/old.mdb"_s;
    window.kind = u"Table"_s;
    window.table = u"Orders"_s;
    window.field = u"Status"_s;
    saveSearch(menu, window.settings,
               savedSearchEntry({u"Query"_s, u"/data/shop.accdb"_s, u"London Customers"_s,
                                 u"Name"_s, u"[Name] Like 'A*' | rest"_s}));
    click(Menu::kFirstSlot);

    EXPECT_EQ(window.CurrentDatabasePath, u"/data/shop.accdb"_s);
    EXPECT_EQ(window.calls,
              (QStringList{u"clearLastSearches"_s, u"loadTables /data/shop.accdb"_s,
                           u"loadFields London Customers"_s, u"loadValueList"_s, u"runSearch"_s}));
    ASSERT_EQ(window.runs.size(), 1u);
    const auto& run = window.runs[0];
    EXPECT_EQ(run.kind, u"Query"_s);
    EXPECT_EQ(run.field, u"Name"_s);
    EXPECT_EQ(run.criterion, u"[Name] Like 'A*'"_s);
    EXPECT_TRUE(run.replay);
    EXPECT_EQ(window.search, run.criterion);
}

TEST_F(SavedSearchesTest, AnEntryOfTheCurrentDatabaseKeepsTheLastTenList) {
    window.CurrentDatabasePath = u"/data/shop.mdb"_s;
    saveSearch(menu, window.settings, saved(u"Table"_s, u"/data/shop.mdb"_s, u"Customers"_s));
    click(Menu::kFirstSlot);
    EXPECT_FALSE(window.calls.contains(u"clearLastSearches"_s));
    EXPECT_EQ(window.runs.size(), 1u);
}

// The entries travel through the settings file and come back sorted.
TEST_F(SavedSearchesTest, EntriesSurviveASaveAndLoadOfTheSettings) {
    const QString longCriterion =
        u"[City] = '"_s + QString(240, QLatin1Char('x')) + QLatin1Char('\'');
    const QString longEntry = saved(u"Table"_s, u"/b.mdb"_s, u"T"_s, longCriterion);
    const QString shortEntry = saved(u"Query"_s, u"/a.mdb"_s, u"Q"_s);
    ASSERT_LE(longEntry.size(), 297);
    saveSearch(menu, window.settings, shortEntry);
    saveSearch(menu, window.settings, longEntry);

    const QString path = QString::fromStdString(
        (quarix::test::scratchDir("saved-searches") / "Quarix.ini").string());
    window.settings.SaveData = true;
    IniFile out(path);
    ASSERT_TRUE(SaveSettings(out, window.settings, SettingsWindowPort{}));

    SettingsValues loaded;
    Menu reloaded;
    SettingsWindowPort port;
    port.sortSavedSearches = [&] { loadSavedSearches(reloaded, loaded); };
    LoadSettings(IniFile(path), loaded, port);
    EXPECT_EQ(savedEntries(reloaded), (QStringList{longEntry, shortEntry}));
    EXPECT_TRUE(listFrameShown(reloaded));
    EXPECT_TRUE(reloaded.item(Menu::kFirstSlot + 1).enabled);
}
