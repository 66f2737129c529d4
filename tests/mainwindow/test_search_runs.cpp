#include "MainWindowFixture.h"
#include "tests/support/Screenshots.h"

#include <QLabel>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The caption with "(... in 0.12 seconds)" as "S seconds": the run's time is not known in advance.
QString caption(const frmMain& window) {
    return window.windowTitle().replace(QRegularExpression(u"\\d+\\.\\d\\d seconds"_s),
                                        u"S seconds"_s);
}

QString select(const QString& criterion) {
    return u"Select * from Customers where "_s + criterion;
}

TEST_F(MainWindowTest, EveryOperatorRunsAndLeavesItsStatementOnTheClipboard) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    const struct {
        const char* field;
        const char* op;
        const char* value;
        const char* criterion;
        int rows; // -1: some
    } cases[] = {
        {"Name", "Contains", "a", "[Name] Like '*a*'", 215},
        {"City", "Begins", "Lon", "[City] Like 'Lon*'", 43},
        {"City", "Equals", "London", "[City] Like 'London'", 22},
        {"City", "Not Contain", "lon", "[City] Not Like '*lon*'", 197},
        {"Age", "> Greater", "50", "Int([Age]) > 50", 108},
        {"Age", "< Less", "30", "Int([Age]) < 30", 54},
        {"Age", ">=", "$50.99", "Int([Age]) >= 50", 108},
        {"Age", "<=", "30", "Int([Age]) <= 30", 54},
        {"Age", "<> Not", "40", "Int([Age]) <> 40", 245},
        {"City", "<> Not", "London", "[City] <> 'London'", -1},
        {"Name", "Equals", "Carla O'Brien", "[Name] Like 'Carla O''Brien'", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.criterion);
        search("Customers", c.field, c.op, c.value);
        EXPECT_TRUE(messages().empty()) << messages().front().text.toStdString();
        forgetMessages();
        EXPECT_EQ(clipboard(), select(QString::fromUtf8(c.criterion)));
        if (c.rows >= 0)
            EXPECT_EQ(dataRows(), c.rows);
        else
            EXPECT_GT(dataRows(), 0);
    }
}

TEST_F(MainWindowTest, FiltersStackAndUndoShowsTheFirstSearchAgain) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    choose("Customers", "Name", "Contains", "a");
    QTest::mouseClick(button("cmdQuarix"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 215);
    EXPECT_EQ(caption(*window), u"Quarix - Customers (215 results in S seconds) - shop.mdb"_s);

    choose("Customers", "Country", "Begins", "U");
    QTest::mouseClick(button("cmdFilter"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 54);
    EXPECT_EQ(caption(*window),
              u"Quarix - Customers (54 filtered results in S seconds) - shop.mdb"_s);

    choose("Customers", "Age", "> Greater", "40");
    QTest::mouseClick(button("cmdFilter"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 28);
    EXPECT_EQ(clipboard(),
              select(u"[Name] Like '*a*' AND [Country] Like 'U*' AND Int([Age]) > 40"_s));
    EXPECT_EQ(window->searchState.SavedWhere, u"[Name] Like '*a*'"_s);

    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 215);
    EXPECT_EQ(clipboard(), select(u"[Name] Like '*a*'"_s));

    // Nothing left to undo: every record.
    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 250);
    EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowTest, AFilterThatFindsNothingShowsThatItNarrowsTheNextSearch) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    search("Customers", "City", "Equals", "London");
    auto* armed = control<QLabel>("lblFilterArmed");
    QPushButton* drop = button("cmdDropFilter");
    EXPECT_FALSE(armed->isVisibleTo(window.get()));

    filter("Customers", "Name", "Equals", "Nobody");
    ASSERT_EQ(dataRows(), 0);
    EXPECT_TRUE(armed->isVisibleTo(window.get()));
    EXPECT_TRUE(armed->toolTip().endsWith(u"[City] Like 'London' AND [Name] Like 'Nobody'"_s));
    QTest::mouseClick(drop, Qt::LeftButton);
    EXPECT_FALSE(armed->isVisibleTo(window.get()));
    EXPECT_FALSE(drop->isVisibleTo(window.get()));
    search("Customers", "City", "Equals", "Paris");
    EXPECT_EQ(clipboard(), select(u"[City] Like 'Paris'"_s));

    // Armed again, then another database: its first filter stands alone.
    filter("Customers", "Name", "Equals", "Nobody");
    ASSERT_TRUE(armed->isVisibleTo(window.get()));
    open("shop.accdb");
    EXPECT_FALSE(armed->isVisibleTo(window.get()));
    filter("Customers", "City", "Equals", "Paris");
    EXPECT_EQ(clipboard(), select(u"[City] Like 'Paris'"_s));
    window->cmdClear_Click(); // undoes nothing of the other database
    settle();
    EXPECT_FALSE(clipboard().contains(u"London"_s)) << clipboard().toStdString();
}

TEST_F(MainWindowTest, PagedSearchShowsPagesWithTheirButtonsAndCaptions) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = u"100"_s;
    open("shop.accdb");
    EXPECT_TRUE(window->PagedMode);
    search("Customers", "Name", "Contains", "");
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    EXPECT_EQ(dataRows(), 100);
    EXPECT_EQ(caption(*window), u"Quarix - Customers (100 results shown out of 250 on page 1 out "
                                u"of 3 pages  in S seconds) - shop.accdb"_s);
    EXPECT_TRUE(button("cmdPage0")->isHidden());
    EXPECT_EQ(button("cmdPage1")->text(), u"Next (2)"_s);
    EXPECT_EQ(clipboard(), select(u"[Name] Like '**'"_s));
    const QString firstOfPage1 = window->gridModel()->TextMatrix(1, 1);

    QTest::mouseClick(button("cmdPage1"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 100);
    EXPECT_EQ(button("cmdPage0")->text(), u"Prev (1)"_s);
    EXPECT_EQ(button("cmdPage1")->text(), u"Next (3)"_s);
    EXPECT_NE(window->gridModel()->TextMatrix(1, 1), firstOfPage1);

    QTest::mouseClick(button("cmdPage1"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 50);
    EXPECT_EQ(caption(*window), u"Quarix - Customers (50 results shown out of 250 on page 3 out "
                                u"of 3 pages  in S seconds) - shop.accdb"_s);
    EXPECT_FALSE(button("cmdPage0")->isHidden());
    EXPECT_TRUE(button("cmdPage1")->isHidden());
    window->cmdPage_Click(1); // no further page
    settle();
    EXPECT_EQ(window->searchState.CurrentPage, 2);

    QTest::mouseClick(button("cmdPage0"), Qt::LeftButton);
    settle();
    EXPECT_EQ(window->searchState.CurrentPage, 1);
    EXPECT_EQ(dataRows(), 100);
}

TEST_F(MainWindowTest, ScreenshotWithResults) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = u"40"_s;
    window->resize(1100, 640);
    open("shop.accdb");
    search("Customers", "City", "Contains", "on");
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(quarix::test::screenshotFolder() +
                                    u"/main-window%1.png"_s.arg(quarix::test::screenshotSuffix())));
}

} // namespace
