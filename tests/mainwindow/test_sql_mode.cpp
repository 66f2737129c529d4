#include "MainWindowFixture.h"

#include <QLabel>
#include <QMenu>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

using Icon = quarix::platform::MessageBox::Icon;

class SqlModeTest : public MainWindowTest {
protected:
    QLineEdit* sqlBox() const { return control<QLineEdit>("txtSearch"); }

    // Picks a value from the value list as a user would.
    void pick(const char* op, const char* value) {
        box("cmbFunction")->setCurrentText(QString::fromLatin1(op));
        box("cmbValues")->setEditText(QString::fromLatin1(value));
        window->cmbValues_Click();
    }

    // Runs a typed criterion on the Customers table.
    void runTyped(const char* criterion) {
        forgetMessages();
        sqlBox()->setText(QString::fromLatin1(criterion));
        window->cmdQuarix_Click();
        settle();
    }
};

TEST_F(SqlModeTest, EveryMenuItemInsertsItsTextAndLeavesTheClipboardEmpty) {
    window->mnuSQLmode_Click();
    // The items by number, an empty text where a number has no item.
    const QStringList items =
        u"*|?|+|-||/|AND |||CDbl |CONTAINS |DateAdd() |DateDiff() |DatePart() ||GROUP BY |Int() |"
        u"IsDate() |IS [NOT] NULL ||IsNull() |IsNumeric() |Left() |Len() |LIKE |Max() |Min() |"
        u"MONTH() |Not |OR ||Right() |Round() |SIN() |TAN() |UPPER() |YEAR() "_s.split(u'|');
    ASSERT_EQ(items.size(), 37);
    for (qsizetype index = 0; index < items.size(); ++index) {
        SCOPED_TRACE(index);
        if (items[index].isEmpty()) {
            EXPECT_EQ(window->menus().SQL[static_cast<std::size_t>(index)], nullptr);
            continue;
        }
        sqlBox()->clear();
        quarix::platform::Clipboard::setText(u"left over"_s);
        action(QStringLiteral("SQL%1").arg(index).toLatin1().constData())->trigger();
        EXPECT_EQ(sqlBox()->text(), items[index]);
        EXPECT_TRUE(clipboard().isEmpty());
    }
}

TEST_F(SqlModeTest, InsertionGoesToTheCursorAndReplacesTheSelection) {
    window->mnuSQLmode_Click();
    sqlBox()->setText(u"[Age] XX 30"_s);
    sqlBox()->setSelection(6, 2);
    window->SQL_Click(24);
    EXPECT_EQ(sqlBox()->text(), u"[Age] LIKE  30"_s);
    sqlBox()->setText(u"([Age])"_s);
    sqlBox()->setCursorPosition(1);
    window->SQL_Click(16);
    EXPECT_EQ(sqlBox()->text(), u"(Int() [Age])"_s);
    sqlBox()->setText(u"[A] [B]"_s);
    sqlBox()->setCursorPosition(3);
    window->SQL_Click(5);
    EXPECT_EQ(sqlBox()->text(), u"[A]/ [B]"_s);
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
        SCOPED_TRACE(p.op);
        sqlBox()->setText(u"[F]"_s);
        pick(p.op, p.value);
        EXPECT_EQ(sqlBox()->text(), u"[F]"_s + QString::fromLatin1(p.fragment));
        EXPECT_EQ(clipboard(), QString::fromLatin1(p.fragment));
    }
    EXPECT_TRUE(messages().empty());

    // A number is needed: the message, nothing inserted, an empty clipboard.
    sqlBox()->setText(u"[Age]"_s);
    pick("> Greater", "abc");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, u"The > Greater operator requires a number."_s);
    EXPECT_EQ(sqlBox()->text(), u"[Age]"_s);
    EXPECT_TRUE(clipboard().isEmpty());

    // Out of SQL mode a pick only clears the clipboard.
    window->mnuSQLmode_Click();
    quarix::platform::Clipboard::setText(u"left over"_s);
    pick("Begins", "Lon");
    EXPECT_TRUE(clipboard().isEmpty());
    EXPECT_TRUE(sqlBox()->text().isEmpty());
}

TEST_F(SqlModeTest, ModeAndClearButtonEmptyTheBoxWithoutSearching) {
    window->mnuSQLmode_Click();
    EXPECT_TRUE(window->menus().mnuSQL->menuAction()->isVisible());
    EXPECT_FALSE(button("cmdClearSQL")->isHidden());
    sqlBox()->setText(u"[Age] > 3"_s);
    const QString caption = window->windowTitle();
    QTest::mouseClick(button("cmdClearSQL"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(sqlBox()->text().isEmpty());
    EXPECT_EQ(window->windowTitle(), caption);
    sqlBox()->setText(u"[Age] > 3"_s);
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
    const auto shownWithoutTime = [] {
        return QString(messages()[0].text)
            .replace(QRegularExpression(u"\\d+\\.\\d\\d Seconds"_s), u"S Seconds"_s);
    };
    // Paged: the statement with its ORDER BY part.
    open("shop.accdb");
    search("Customers", "City", "Equals", "London");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].title, u"Quarix Debug SQL"_s);
    EXPECT_EQ(messages()[0].icon, Icon::Information);
    EXPECT_EQ(shownWithoutTime(),
              u"Select * from Customers where [City] Like 'London' ORDER BY [City] ASC\n22 "
              u"Records\nS Seconds\n\nThe SQL string has been copied to the clipboard."_s);

    // Not paged: no ORDER BY part.
    open("shop.mdb");
    window->mnuSQLmode_Click();
    box("cmbTable")->setEditText(u"Customers"_s);
    runTyped("[Age] > 30 OR [Age] < 5");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(shownWithoutTime(),
              u"Select * from Customers where [Age] > 30 OR [Age] < 5\n191 Records\nS "
              u"Seconds\n\nThe SQL string has been copied to the clipboard."_s);

    action("mnudebug")->trigger();
    settle();
    EXPECT_FALSE(window->settings.DebugSQL);
    EXPECT_TRUE(label->isHidden());
    runTyped("[Age] > 30");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(clipboard(), u"Select * from Customers where [Age] > 30"_s);
}

// The engine's own tests run each function of the menu in a criterion; here
// the ones they run only as values or not at all, typed into the SQL box.
TEST_F(SqlModeTest, MenuFunctionsRunInTheEngine) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    window->mnuSQLmode_Click();
    box("cmbTable")->setEditText(u"Customers"_s);
    const struct {
        const char* criterion;
        int rows;
    } cases[] = {{"[Name] Like '?nna*'", 13},
                 {"[Age] / 2 > 30", 54},
                 {"Int([Score] * 10) = 1", 1},
                 {"SIN([Age]) > 0", 110},
                 {"TAN([Age]) > 0", 109}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.criterion);
        runTyped(c.criterion);
        EXPECT_TRUE(messages().empty()) << messages().front().text.toStdString();
        EXPECT_EQ(dataRows(), c.rows);
    }

    // CONTAINS and GROUP BY are no parts of a criterion, and aggregates belong
    // to grouped queries: the engine refuses them.
    const std::pair<const char*, const char*> refused[] = {
        {"CONTAINS([Name], 'a')", "GET DATA: "},
        {"[Age] > 3 GROUP BY [Age]", "GET DATA: "},
        {"Max([Age]) > 3", "GET DATA: 3096 Cannot have aggregate function in WHERE clause"},
        {"Min([Age]) > 3", "GET DATA: 3096 Cannot have aggregate function in WHERE clause"}};
    for (const auto& [criterion, message] : refused) {
        SCOPED_TRACE(criterion);
        runTyped(criterion);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_TRUE(messages()[0].text.startsWith(QString::fromLatin1(message)))
            << messages()[0].text.toStdString();
    }
}

} // namespace
