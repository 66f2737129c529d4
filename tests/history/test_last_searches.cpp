#include "FakeSearchWindow.h"

#include "history/LastSearches.h"

#include <gtest/gtest.h>

using namespace quarix::history;

namespace {

QString entry(const QString& criterion) {
    return lastSearchEntry(QStringLiteral("Table"), QStringLiteral("Customers"),
                           QStringLiteral("City"), criterion);
}

QStringList captions(const LastSearchesMenu& menu) {
    QStringList shown;
    for (const MenuItem& item : menu.items)
        if (item.visible)
            shown << item.caption;
    return shown;
}

} // namespace

TEST(LastSearches, RepeatsOfTheNewestAreNotAddedAgain) {
    LastSearchesMenu menu;
    const QString a = entry(QStringLiteral("A")), b = entry(QStringLiteral("B"));
    EXPECT_EQ(a, QStringLiteral("Table | Customers | City | A"));
    AddLastSearch(menu, a, true);
    AddLastSearch(menu, a, true);
    EXPECT_EQ(captions(menu), (QStringList{a}));
    AddLastSearch(menu, b, true);
    AddLastSearch(menu, a, true);
    EXPECT_EQ(captions(menu), (QStringList{a, b, a}));
    EXPECT_TRUE(menu.visible);
}

TEST(LastSearches, TheEleventhDropsTheOldest) {
    LastSearchesMenu menu;
    for (int i = 1; i <= 11; ++i)
        AddLastSearch(menu, entry(QString::number(i)), true);
    const QStringList shown = captions(menu);
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown.first(), entry(QStringLiteral("11")));
    EXPECT_EQ(shown.last(), entry(QStringLiteral("2")));
}

TEST(LastSearches, ClearingEmptiesAndHidesUntilTheNextSearch) {
    LastSearchesMenu menu;
    AddLastSearch(menu, entry(QStringLiteral("A")), true);
    ClearLastSearches(menu);
    EXPECT_FALSE(menu.visible);
    EXPECT_TRUE(captions(menu).isEmpty());
    AddLastSearch(menu, entry(QStringLiteral("B")), true);
    EXPECT_TRUE(menu.visible);
    EXPECT_EQ(captions(menu), (QStringList{entry(QStringLiteral("B"))}));
}

TEST(LastSearches, WithShowLast10OffEntriesAreKeptButTheMenuStaysHidden) {
    LastSearchesMenu menu;
    AddLastSearch(menu, entry(QStringLiteral("A")), false);
    AddLastSearch(menu, entry(QStringLiteral("A")), false);
    EXPECT_FALSE(menu.visible);
    EXPECT_EQ(captions(menu).size(), 1);
}

TEST(LastSearches, ReplayRunsTheStoredCriterionOnTheCurrentDatabase) {
    FakeSearchWindow window;
    window.CurrentDatabasePath = QStringLiteral("/data/shop.mdb");
    window.searchState.CurrentPage = 3;
    window.value = QStringLiteral("lon");
    LastSearchesMenu menu;
    AddLastSearch(menu,
                  lastSearchEntry(QStringLiteral("Query"), QStringLiteral("London Customers"),
                                  QStringLiteral("Name"), QStringLiteral("[Name] Like 'A*'")),
                  true);
    SearchWindowPort port = window.port();

    mnulast_Click(0, menu, port);
    EXPECT_EQ(window.calls, (QStringList{QStringLiteral("loadTables /data/shop.mdb"),
                                         QStringLiteral("loadFields London Customers"),
                                         QStringLiteral("runSearch")}));
    ASSERT_EQ(window.runs.size(), 1u);
    const auto& run = window.runs[0];
    EXPECT_EQ(run.kind, QStringLiteral("Query"));
    EXPECT_EQ(run.field, QStringLiteral("Name"));
    EXPECT_EQ(run.criterion, QStringLiteral("[Name] Like 'A*'"));
    EXPECT_TRUE(run.replay);
    EXPECT_EQ(window.searchState.CurrentPage, 0);
    EXPECT_EQ(window.search, run.criterion);
    // The boxes show what the criterion was built from.
    EXPECT_EQ(window.op, QStringLiteral("Begins"));
    EXPECT_EQ(window.value, QStringLiteral("A"));
}

TEST(LastSearches, ACriterionContainingTheSeparatorIsCutThere) {
    const QString stored = entry(QStringLiteral("[City] = 'a | b' OR [City] = 'c'"));
    EXPECT_EQ(parseLastSearch(stored).criterion, QStringLiteral("[City] = 'a"));

    FakeSearchWindow window;
    LastSearchesMenu menu;
    AddLastSearch(menu, stored, true);
    SearchWindowPort port = window.port();
    mnulast_Click(0, menu, port);
    ASSERT_EQ(window.runs.size(), 1u);
    EXPECT_EQ(window.runs[0].criterion, QStringLiteral("[City] = 'a"));
}
