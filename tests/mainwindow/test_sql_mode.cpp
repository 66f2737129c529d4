#include "MainWindowFixture.h"

#include <QLabel>
#include <QMenu>
#include <QRegularExpression>

namespace {

using Icon = quarix::platform::MessageBox::Icon;

class SqlModeTest : public MainWindowTest {
protected:
    QLineEdit* sqlBox() const { return control<QLineEdit>("txtSearch"); }

    // Picks a value from the value list as a user would.
    void pick(const QString& op, const QString& value) {
        box("cmbFunction")->setCurrentText(op);
        box("cmbValues")->setEditText(value);
        window->cmbValues_Click();
    }

    // Runs a typed criterion on the Customers table.
    void runTyped(const QString& criterion) {
        quarix::platform::MessageBox::clearShown();
        sqlBox()->setText(criterion);
        window->cmdQuarix_Click();
        settle();
    }
};

TEST_F(SqlModeTest, EveryMenuItemInsertsItsTextAndLeavesTheClipboardEmpty) {
    window->mnuSQLmode_Click();
    const std::pair<int, const char*> items[] = {{0, "*"},
                                                 {1, "?"},
                                                 {2, "+"},
                                                 {3, "-"},
                                                 {5, "/"},
                                                 {6, "AND "},
                                                 {9, "CDbl "},
                                                 {10, "CONTAINS "},
                                                 {11, "DateAdd() "},
                                                 {12, "DateDiff() "},
                                                 {13, "DatePart() "},
                                                 {15, "GROUP BY "},
                                                 {16, "Int() "},
                                                 {17, "IsDate() "},
                                                 {18, "IS [NOT] NULL "},
                                                 {20, "IsNull() "},
                                                 {21, "IsNumeric() "},
                                                 {22, "Left() "},
                                                 {23, "Len() "},
                                                 {24, "LIKE "},
                                                 {25, "Max() "},
                                                 {26, "Min() "},
                                                 {27, "MONTH() "},
                                                 {28, "Not "},
                                                 {29, "OR "},
                                                 {31, "Right() "},
                                                 {32, "Round() "},
                                                 {33, "SIN() "},
                                                 {34, "TAN() "},
                                                 {35, "UPPER() "},
                                                 {36, "YEAR() "}};
    for (const auto& [index, text] : items) {
        sqlBox()->clear();
        quarix::platform::Clipboard::setText(QStringLiteral("left over"));
        action(QStringLiteral("SQL%1").arg(index).toLatin1().constData())->trigger();
        EXPECT_EQ(sqlBox()->text(), QString::fromLatin1(text)) << index;
        EXPECT_TRUE(clipboard().isEmpty()) << index;
    }
    for (int unused : {4, 7, 8, 14, 19, 30})
        EXPECT_EQ(window->menus().SQL[static_cast<std::size_t>(unused)], nullptr) << unused;
}

TEST_F(SqlModeTest, InsertionGoesToTheCursorAndReplacesTheSelection) {
    window->mnuSQLmode_Click();
    sqlBox()->setText(QStringLiteral("[Age] XX 30"));
    sqlBox()->setSelection(6, 2);
    window->SQL_Click(24);
    EXPECT_EQ(sqlBox()->text(), QStringLiteral("[Age] LIKE  30"));
    sqlBox()->setText(QStringLiteral("([Age])"));
    sqlBox()->setCursorPosition(1);
    window->SQL_Click(16);
    EXPECT_EQ(sqlBox()->text(), QStringLiteral("(Int() [Age])"));
    sqlBox()->setText(QStringLiteral("[A] [B]"));
    sqlBox()->setCursorPosition(3);
    window->SQL_Click(5);
    EXPECT_EQ(sqlBox()->text(), QStringLiteral("[A]/ [B]"));
}

TEST_F(SqlModeTest, ValuePicksInsertTheirFragmentAndKeepItOnTheClipboard) {
    window->mnuSQLmode_Click();
    const struct {
        const char* op;
        const char* value;
        const char* fragment;
    } picks[] = {
        {"Begins", "Lon", " Like 'Lon*'"},
        {"Contains", "on", " Like '*on*'"},
        {"Equals", "London", " Like 'London'"},
        {"> Greater", "30", " > 30"},
        {"< Less", "30", " < 30"},
        {">=", "$5.50", " >= 5.5"},
        {"<=", " 7 ", " <= 7"},
        {"<> Not", "40", " <> 40"},
        {"<> Not", "abc", " <> 'abc'"},
    };
    for (const auto& p : picks) {
        sqlBox()->setText(QStringLiteral("[F]"));
        pick(QString::fromLatin1(p.op), QString::fromLatin1(p.value));
        EXPECT_EQ(sqlBox()->text(), QStringLiteral("[F]") + QString::fromLatin1(p.fragment))
            << p.op;
        EXPECT_EQ(clipboard(), QString::fromLatin1(p.fragment)) << p.op;
    }
    EXPECT_TRUE(messages().empty());

    // A number is needed: the message, nothing inserted, an empty clipboard.
    sqlBox()->setText(QStringLiteral("[Age]"));
    pick(QStringLiteral("> Greater"), QStringLiteral("abc"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("The > Greater operator requires a number."));
    EXPECT_EQ(sqlBox()->text(), QStringLiteral("[Age]"));
    EXPECT_TRUE(clipboard().isEmpty());

    // Out of SQL mode a pick only clears the clipboard.
    window->mnuSQLmode_Click();
    quarix::platform::Clipboard::setText(QStringLiteral("left over"));
    pick(QStringLiteral("Begins"), QStringLiteral("Lon"));
    EXPECT_TRUE(clipboard().isEmpty());
    EXPECT_TRUE(sqlBox()->text().isEmpty());
}

TEST_F(SqlModeTest, ModeAndClearButtonEmptyTheBoxWithoutSearching) {
    window->mnuSQLmode_Click();
    EXPECT_TRUE(window->menus().mnuSQL->menuAction()->isVisible());
    EXPECT_FALSE(button("cmdClearSQL")->isHidden());
    sqlBox()->setText(QStringLiteral("[Age] > 3"));
    const QString caption = window->windowTitle();
    QTest::mouseClick(button("cmdClearSQL"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(sqlBox()->text().isEmpty());
    EXPECT_EQ(window->windowTitle(), caption);
    sqlBox()->setText(QStringLiteral("[Age] > 3"));
    action("mnuSQLmode")->trigger();
    settle();
    EXPECT_FALSE(window->settings.SQLMode);
    EXPECT_FALSE(window->menus().mnuSQL->menuAction()->isVisible());
    EXPECT_TRUE(button("cmdClearSQL")->isHidden());
    action("mnuSQLmode")->trigger();
    settle();
    EXPECT_TRUE(window->settings.SQLMode);
    EXPECT_TRUE(sqlBox()->text().isEmpty());
}

TEST_F(SqlModeTest, DebugSqlTogglesItsLabelAndShowsEachRun) {
    auto* label = control<QLabel>("lblDebug");
    EXPECT_TRUE(label->isHidden());
    action("mnudebug")->trigger();
    settle();
    EXPECT_TRUE(window->settings.DebugSQL);
    EXPECT_TRUE(action("mnudebug")->isChecked());
    EXPECT_FALSE(label->isHidden());
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    window->mnuSQLmode_Click();
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    runTyped(QStringLiteral("[Age] > 30 OR [Age] < 5"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, QStringLiteral("Quarix Debug SQL"));
    EXPECT_EQ(messages()[0].icon, Icon::Information);
    QString text = messages()[0].text;
    text.replace(QRegularExpression(QStringLiteral("\\d+\\.\\d\\d Seconds")),
                 QStringLiteral("S Seconds"));
    // Not paged: no ORDER BY part.
    EXPECT_EQ(
        text,
        QStringLiteral(
            "Select * from Customers where [Age] > 30 OR [Age] < 5\n191 Records\nS Seconds\n\n"
            "The SQL string has been copied to the clipboard."));

    // A failed run shows its error, then the statement as it stands.
    runTyped(QStringLiteral("[Age] >"));
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("GET DATA: ")));
    EXPECT_EQ(messages()[1].title, QStringLiteral("Quarix Debug SQL"));

    action("mnudebug")->trigger();
    settle();
    EXPECT_FALSE(window->settings.DebugSQL);
    EXPECT_TRUE(label->isHidden());
    runTyped(QStringLiteral("[Age] > 30"));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where [Age] > 30"));
}

// Every function and operator of the menu, completed into a criterion, runs
// in the engine with the records Access would give.
TEST_F(SqlModeTest, EveryMenuFunctionRunsInTheEngine) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    window->mnuSQLmode_Click();
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    const struct {
        const char* criterion;
        int rows;
    } cases[] = {
        {"[Name] Like 'A*'", 13},
        {"[Name] Like '?nna*'", 13},
        {"[City] + [Country] = 'LondonUK'", 22},
        {"[Age] + 1 > 60", 81},
        {"[Age] - 1 > 60", 54},
        {"[Age] / 2 > 30", 54},
        {"[Age] > 30 AND [Age] < 40", 55},
        {"[Age] < 20 OR [Age] > 60", 81},
        {"CDbl([Balance]) > 0", 182},
        {"DateAdd('yyyy', 1, [Joined]) > #2010-01-01#", 26},
        {"DateDiff('d', [Joined], #2020-01-01#) > 5000", 149},
        {"DatePart('m', [Joined]) = 1", 19},
        {"Int([Score] * 10) = 1", 1},
        {"IsDate([Joined])", 250},
        {"[Notes] IS NOT NULL", 25},
        {"[Notes] IS NULL", 225},
        {"IsNull([Notes])", 225},
        {"IsNumeric([Code])", 250},
        {"Left([Name], 1) = 'A'", 13},
        {"Len([Name]) > 10", 154},
        {"MONTH([Joined]) = 1", 19},
        {"Not [Active]", 83},
        {"Right([Name], 5) = 'Smith'", 20},
        {"Round([Balance], 0) > 100", 171},
        {"SIN([Age]) > 0", 110},
        {"TAN([Age]) > 0", 109},
        {"UPPER([City]) = 'LONDON'", 22},
        {"YEAR([Joined]) = 2001", 28},
    };
    for (const auto& c : cases) {
        runTyped(QString::fromLatin1(c.criterion));
        EXPECT_TRUE(messages().empty())
            << c.criterion << ": " << messages().front().text.toStdString();
        EXPECT_EQ(dataRows(), c.rows) << c.criterion;
    }

    // CONTAINS and GROUP BY are no parts of a criterion: the engine says so.
    for (const char* misplaced : {"CONTAINS([Name], 'a')", "[Age] > 3 GROUP BY [Age]"}) {
        runTyped(QString::fromLatin1(misplaced));
        ASSERT_EQ(messages().size(), 1u) << misplaced;
        EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("GET DATA: "))) << misplaced;
    }

    // Aggregates belong to grouped queries: the engine's clear refusal.
    for (const char* aggregate : {"Max([Age]) > 3", "Min([Age]) > 3"}) {
        runTyped(QString::fromLatin1(aggregate));
        ASSERT_EQ(messages().size(), 1u) << aggregate;
        EXPECT_TRUE(messages()[0].text.startsWith(
            QStringLiteral("GET DATA: 3096 Cannot have aggregate function in WHERE clause")))
            << messages()[0].text.toStdString();
    }
}

} // namespace
