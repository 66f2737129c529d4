#include "FakeSearchWindow.h"

#include "history/SavedSearches.h"
#include "platform/MessageBox.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

using namespace quarix::history;
using quarix::platform::MessageBox;
using Menu = SavedSearchesMenu;

namespace {

QString saved(const QString& kind, const QString& path, const QString& table,
              const QString& criterion = {}) {
    return savedSearchEntry({kind, path, table, QStringLiteral("City"), criterion});
}

QStringList savedEntries(const Menu& menu) {
    QStringList shown;
    for (int i = Menu::kFirstSlot; i <= Menu::kLastSlot; ++i)
        if (menu.item(i).visible)
            shown << menu.item(i).caption;
    return shown;
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

TEST_F(SavedSearchesTest, SavingStoresTheCurrentSearch) {
    EXPECT_FALSE(listFrameShown(menu));
    window.CurrentDatabasePath = QStringLiteral("/data/shop.mdb");
    window.table = QStringLiteral("Customers");
    window.field = QStringLiteral("City");
    window.searchState.CurrentWhere = QStringLiteral("[City] Like '*lon*'");
    click(Menu::kSave);
    const QString expected =
        QStringLiteral("Table | /data/shop.mdb | Customers | City | [City] Like '*lon*'");
    EXPECT_EQ(savedEntries(menu), (QStringList{expected}));
    EXPECT_TRUE(listFrameShown(menu));
    EXPECT_EQ(window.settings.SavedSearches[0], expected);
}

TEST_F(SavedSearchesTest, TheTwentiethFillsTheLastSlotAndTheTwentyFirstIsRefused) {
    for (int n = 1; n <= 20; ++n) {
        window.searchState.CurrentWhere =
            QStringLiteral("criterion %1").arg(n, 2, 10, QLatin1Char('0'));
        click(Menu::kSave);
    }
    EXPECT_TRUE(menu.item(Menu::kLastSlot).visible);
    EXPECT_TRUE(MessageBox::shown().empty());
    const QStringList full = savedEntries(menu);

    window.searchState.CurrentWhere = QStringLiteral("one too many");
    click(Menu::kSave);
    ASSERT_EQ(MessageBox::shown().size(), 1u);
    EXPECT_EQ(MessageBox::shown()[0].text,
              QStringLiteral("Cannot save search.  20 Saved Searches - Saved searches full."));
    EXPECT_EQ(MessageBox::shown()[0].icon, MessageBox::Icon::Information);
    EXPECT_EQ(savedEntries(menu), full);
}

TEST_F(SavedSearchesTest, TablesComeBeforeQueriesThenCaseInsensitiveTextOrder) {
    const QString q =
        saved(QStringLiteral("Query"), QStringLiteral("/a.mdb"), QStringLiteral("Countries"));
    const QString t2 =
        saved(QStringLiteral("Table"), QStringLiteral("/z.mdb"), QStringLiteral("Orders"));
    const QString t1 =
        saved(QStringLiteral("Table"), QStringLiteral("/b.mdb"), QStringLiteral("orders"));
    const QString t0 =
        saved(QStringLiteral("Table"), QStringLiteral("/b.mdb"), QStringLiteral("Customers"));
    for (const QString& entry : {q, t2, t1, t0})
        saveSearch(menu, window.settings, entry);
    EXPECT_EQ(savedEntries(menu), (QStringList{t0, t1, t2, q}));
    EXPECT_EQ(window.settings.SavedSearches[3], q);
}

TEST_F(SavedSearchesTest, HiddenKindsStayListedDisabledButCanBeDeleted) {
    window.settings.ShowQueries = 0;
    const QString t =
        saved(QStringLiteral("Table"), QStringLiteral("/a.mdb"), QStringLiteral("Orders"));
    const QString q =
        saved(QStringLiteral("Query"), QStringLiteral("/a.mdb"), QStringLiteral("Countries"));
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
    EXPECT_EQ(MessageBox::shown()[1].text, QStringLiteral("Delete this saved search?\n\n") + q);
    EXPECT_EQ(savedEntries(menu), (QStringList{t}));
    EXPECT_TRUE(window.runs.empty());

    // The delete left delete mode: hidden kinds are disabled again.
    EXPECT_FALSE(menu.item(Menu::kDeleteMode).checked);
    saveSearch(menu, window.settings, q);
    EXPECT_FALSE(menu.item(3).enabled);
}

TEST_F(SavedSearchesTest, SavingBeforeAnySearchSaysThereIsNothingToSave) {
    window.table = QStringLiteral("Customers");
    for (const char* where : {"", " "}) {
        window.searchState.CurrentWhere = QString::fromLatin1(where);
        click(Menu::kSave);
    }
    ASSERT_EQ(MessageBox::shown().size(), 2u);
    EXPECT_EQ(MessageBox::shown()[0].text, kNothingToSaveMessage);
    EXPECT_TRUE(savedEntries(menu).isEmpty());
}

TEST_F(SavedSearchesTest, DeletingTheLastEntryLeavesDeleteMode) {
    saveSearch(menu, window.settings,
               saved(QStringLiteral("Table"), QStringLiteral("/a.mdb"), QStringLiteral("T")));
    click(Menu::kDeleteMode);
    click(Menu::kFirstSlot);
    EXPECT_TRUE(savedEntries(menu).isEmpty());
    EXPECT_FALSE(listFrameShown(menu));
    EXPECT_FALSE(menu.item(Menu::kDeleteMode).checked);
    EXPECT_TRUE(window.settings.SavedSearches[0].isEmpty());
}

TEST_F(SavedSearchesTest, AnEntryOfAnotherDatabaseSwitchesToItAndRunsItsCriterion) {
    window.CurrentDatabasePath = QStringLiteral("/data/old.mdb");
    window.kind = QStringLiteral("Table");
    window.table = QStringLiteral("Orders");
    window.field = QStringLiteral("Status");
    saveSearch(menu, window.settings,
               savedSearchEntry({QStringLiteral("Query"), QStringLiteral("/data/shop.accdb"),
                                 QStringLiteral("London Customers"), QStringLiteral("Name"),
                                 QStringLiteral("[Name] Like 'A*' | rest")}));
    click(Menu::kFirstSlot);

    EXPECT_EQ(window.CurrentDatabasePath, QStringLiteral("/data/shop.accdb"));
    EXPECT_EQ(window.calls,
              (QStringList{QStringLiteral("clearLastSearches"),
                           QStringLiteral("loadTables /data/shop.accdb"),
                           QStringLiteral("loadFields London Customers"),
                           QStringLiteral("loadValueList"), QStringLiteral("runSearch")}));
    ASSERT_EQ(window.runs.size(), 1u);
    const auto& run = window.runs[0];
    EXPECT_EQ(run.kind, QStringLiteral("Query"));
    EXPECT_EQ(run.field, QStringLiteral("Name"));
    EXPECT_EQ(run.criterion, QStringLiteral("[Name] Like 'A*'"));
    EXPECT_TRUE(run.replay);
    EXPECT_EQ(window.search, run.criterion);
}

TEST_F(SavedSearchesTest, AnEntryOfTheCurrentDatabaseKeepsTheLastTenList) {
    window.CurrentDatabasePath = QStringLiteral("/data/shop.mdb");
    saveSearch(menu, window.settings,
               saved(QStringLiteral("Table"), QStringLiteral("/data/shop.mdb"),
                     QStringLiteral("Customers")));
    click(Menu::kFirstSlot);
    EXPECT_FALSE(window.calls.contains(QStringLiteral("clearLastSearches")));
    EXPECT_EQ(window.runs.size(), 1u);
}

// The entries travel through the settings file and come back sorted.
TEST_F(SavedSearchesTest, EntriesSurviveASaveAndLoadOfTheSettings) {
    const QString longCriterion =
        QStringLiteral("[City] = '") + QString(240, QLatin1Char('x')) + QLatin1Char('\'');
    const QString longEntry = saved(QStringLiteral("Table"), QStringLiteral("/b.mdb"),
                                    QStringLiteral("T"), longCriterion);
    const QString shortEntry =
        saved(QStringLiteral("Query"), QStringLiteral("/a.mdb"), QStringLiteral("Q"));
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
