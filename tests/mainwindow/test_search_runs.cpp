#include "MainWindowFixture.h"
#include "tests/support/Screenshots.h"

#include <QDir>
#include <QRegularExpression>

namespace {

using Icon = quarix::platform::MessageBox::Icon;

// "(... in 0.12 seconds)": the run's time is not known in advance.
QString withoutSeconds(QString caption) {
    return caption.replace(QRegularExpression(QStringLiteral("\\d+\\.\\d\\d seconds")),
                           QStringLiteral("S seconds"));
}

TEST_F(MainWindowTest, EveryOperatorRunsAndLeavesItsStatementOnTheClipboard) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    struct Case {
        const char* field;
        const char* op;
        const char* value;
        const char* criterion;
        int rows;
    };
    const Case cases[] = {
        {"Name", "Contains", "a", "[Name] Like '*a*'", 215},
        {"City", "Begins", "Lon", "[City] Like 'Lon*'", 43},
        {"City", "Equals", "London", "[City] Like 'London'", 22},
        {"City", "Not Contain", "London", "[City] Not Like 'London'", -1},
        {"Age", "> Greater", "50", "Int([Age]) > 50", 108},
        {"Age", "< Less", "30", "Int([Age]) < 30", 54},
        {"Age", ">=", "$50.99", "Int([Age]) >= 50", 108},
        {"Age", "<=", "30", "Int([Age]) <= 30", 54},
        {"Age", "<> Not", "40", "Int([Age]) <> 40", 245},
        {"City", "<> Not", "London", "[City] <> 'London'", -1},
        {"Name", "Equals", "Carla O'Brien", "[Name] Like 'Carla O''Brien'", 1},
    };
    for (const Case& c : cases) {
        choose(QStringLiteral("Customers"), QString::fromLatin1(c.field), QString::fromLatin1(c.op),
               QString::fromUtf8(c.value));
        window->cmdQuarix_Click();
        settle();
        EXPECT_TRUE(messages().empty()) << c.op << ": " << messages().front().text.toStdString();
        quarix::platform::MessageBox::clearShown();
        EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where ") +
                                   QString::fromUtf8(c.criterion));
        if (c.rows >= 0)
            EXPECT_EQ(dataRows(), c.rows) << c.criterion;
        else
            EXPECT_GT(dataRows(), 0) << c.criterion;
    }
}

TEST_F(MainWindowTest, FiltersStackAndUndoShowsTheFirstSearchAgain) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    QTest::mouseClick(button("cmdQuarix"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 215);
    EXPECT_EQ(withoutSeconds(window->windowTitle()),
              QStringLiteral("Quarix - Customers (215 results in S seconds) - shop.mdb"));

    choose(QStringLiteral("Customers"), QStringLiteral("Country"), QStringLiteral("Begins"),
           QStringLiteral("U"));
    QTest::mouseClick(button("cmdFilter"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 54);
    EXPECT_EQ(withoutSeconds(window->windowTitle()),
              QStringLiteral("Quarix - Customers (54 filtered results in S seconds) - shop.mdb"));

    choose(QStringLiteral("Customers"), QStringLiteral("Age"), QStringLiteral("> Greater"),
           QStringLiteral("40"));
    QTest::mouseClick(button("cmdFilter"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 28);
    EXPECT_EQ(
        clipboard(),
        QStringLiteral("Select * from Customers where [Name] Like '*a*' AND [Country] Like 'U*' "
                       "AND Int([Age]) > 40"));
    EXPECT_EQ(window->searchState.SavedWhere, QStringLiteral("[Name] Like '*a*'"));

    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 215);
    EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where [Name] Like '*a*'"));

    // Nothing left to undo: every record.
    QTest::mouseClick(button("cmdClear"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 250);
    EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowTest, AnEmptyFilterJoinsTheNextSearchAndAFailureEndsTheChain) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    choose(QStringLiteral("Customers"), QStringLiteral("City"), QStringLiteral("Equals"),
           QStringLiteral("Atlantis"));
    window->cmdFilter_Click();
    settle();
    EXPECT_EQ(dataRows(), 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quarix - Customers - shop.mdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Begins"),
           QStringLiteral("B"));
    window->cmdQuarix_Click();
    settle();
    EXPECT_EQ(clipboard(),
              QStringLiteral("Select * from Customers where [Name] Like '*a*' AND [City] Like "
                             "'Atlantis' AND [Name] Like 'B*'"));

    choose(QStringLiteral("Customers"), QStringLiteral("NoSuchField"), QStringLiteral("Contains"),
           QStringLiteral("x"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("GET DATA: ")));
    EXPECT_TRUE(window->searchState.CurrentWhere.isEmpty());
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Begins"),
           QStringLiteral("B"));
    window->cmdFilter_Click();
    settle();
    EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where [Name] Like 'B*'"));
}

TEST_F(MainWindowTest, PagedSearchShowsPagesWithTheirButtonsAndCaptions) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = QStringLiteral("100");
    openThroughDialog(copyOf("shop.accdb"));
    EXPECT_TRUE(window->PagedMode);
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QString());
    window->cmdQuarix_Click();
    settle();
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    EXPECT_EQ(dataRows(), 100);
    EXPECT_EQ(withoutSeconds(window->windowTitle()),
              QStringLiteral(
                  "Quarix - Customers (100 results shown out of 250 on page 1 out of 3 pages  in S "
                  "seconds) - shop.accdb"));
    EXPECT_TRUE(button("cmdPage0")->isHidden());
    EXPECT_EQ(button("cmdPage1")->text(), QStringLiteral("Next (2)"));
    EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where [Name] Like '**'"));
    const QString firstOfPage1 = window->gridModel()->TextMatrix(1, 1);

    QTest::mouseClick(button("cmdPage1"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 100);
    EXPECT_EQ(button("cmdPage0")->text(), QStringLiteral("Prev (1)"));
    EXPECT_EQ(button("cmdPage1")->text(), QStringLiteral("Next (3)"));
    EXPECT_NE(window->gridModel()->TextMatrix(1, 1), firstOfPage1);

    QTest::mouseClick(button("cmdPage1"), Qt::LeftButton);
    settle();
    EXPECT_EQ(dataRows(), 50);
    EXPECT_EQ(withoutSeconds(window->windowTitle()),
              QStringLiteral(
                  "Quarix - Customers (50 results shown out of 250 on page 3 out of 3 pages  in S "
                  "seconds) - shop.accdb"));
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

TEST_F(MainWindowTest, PagedSearchOfExactlyFullPagesHasNoEmptyPage) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = QStringLiteral("11");
    openThroughDialog(copyOf("shop.accdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("City"), QStringLiteral("Equals"),
           QStringLiteral("London"));
    window->cmdQuarix_Click(); // 22 records: two full pages
    settle();
    EXPECT_EQ(dataRows(), 11);
    EXPECT_EQ(withoutSeconds(window->windowTitle()),
              QStringLiteral(
                  "Quarix - Customers (11 results shown out of 22 on page 1 out of 2 pages  in S "
                  "seconds) - shop.accdb"));
    window->cmdPage_Click(1);
    settle();
    EXPECT_EQ(dataRows(), 11);
    EXPECT_TRUE(button("cmdPage1")->isHidden());
}

TEST_F(MainWindowTest, DebugSqlShowsTheStatementCountAndTime) {
    REQUIRE_ENGINE();
    window->mnudebug_Click();
    openThroughDialog(copyOf("shop.accdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("City"), QStringLiteral("Equals"),
           QStringLiteral("London"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, QStringLiteral("Quarix Debug SQL"));
    EXPECT_EQ(messages()[0].icon, Icon::Information);
    QString text = messages()[0].text;
    text.replace(QRegularExpression(QStringLiteral("\\d+\\.\\d\\d Seconds")),
                 QStringLiteral("S Seconds"));
    EXPECT_EQ(
        text,
        QStringLiteral("Select * from Customers where [City] Like 'London' ORDER BY [City] ASC\n22 "
                       "Records\nS Seconds\n\nThe SQL string has been copied to the clipboard."));
}

TEST_F(MainWindowTest, ScreenshotWithResults) {
    REQUIRE_ENGINE();
    const QString folder = quarix::test::screenshotFolder();
    window->settings.MaxResults = QStringLiteral("40");
    window->resize(1100, 640);
    openThroughDialog(copyOf("shop.accdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("City"), QStringLiteral("Contains"),
           QStringLiteral("on"));
    window->cmdQuarix_Click();
    settle();
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(
        folder + QStringLiteral("/main-window%1.png").arg(quarix::test::screenshotSuffix())));
}

} // namespace
