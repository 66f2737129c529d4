#include "MainWindowFixture.h"
#include "tests/support/Screenshots.h"

#include "mainwindow/ResultGridView.h"

#include <QCalendarWidget>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {

using Icon = quarix::platform::MessageBox::Icon;

TEST_F(MainWindowTest, ControlsAndMenusCarryTheirNames) {
    for (const char* name : {"cmbTableQuery", "cmbTable", "CmbField", "cmbFunction", "cmbValues"})
        box(name);
    for (const char* name :
         {"cmdQuarix", "cmdFilter", "cmdClear", "cmdPage0", "cmdPage1", "cmdClearSQL"})
        button(name);
    control<QLineEdit>("txtSearch");
    control<QProgressBar>("progBar1");
    control<ResultGridView>("MSFlexGrid1");
    EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(box("cmbFunction")->currentText(), QStringLiteral("Contains"));
    EXPECT_EQ(box("cmbFunction")->count(), 9);
    EXPECT_EQ(action("mnuopen")->text(), QStringLiteral("New &Database"));
    EXPECT_EQ(action("mnuopen")->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
    EXPECT_EQ(action("mnuexit")->text(), QStringLiteral("E&xit"));
    EXPECT_TRUE(action("mnuValuePickList")->isChecked());
    EXPECT_TRUE(action("mnuautofit")->isChecked());
    EXPECT_TRUE(action("mnuExcel")->isEnabled());
    EXPECT_EQ(action("SQL18")->text(), QStringLiteral("IS [NOT] NULL"));
    EXPECT_TRUE(button("cmdPage0")->isHidden());
    EXPECT_TRUE(button("cmdPage1")->isHidden());
    EXPECT_TRUE(control<QLineEdit>("txtSearch")->isHidden());
}

TEST_F(MainWindowTest, SearchNeedsADatabaseAndATable) {
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("Please open a database first!"));
    EXPECT_EQ(messages()[0].icon, Icon::None);

    window->CurrentDatabasePath = QStringLiteral("/nowhere/shop.mdb");
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text, QStringLiteral("No Table Selected"));
    EXPECT_EQ(messages()[1].title, QStringLiteral("Quarix - Search Error"));
    EXPECT_EQ(messages()[1].icon, Icon::Warning);
}

TEST_F(MainWindowTest, NumericOperatorWithTextIsRefusedBeforeAnyQuery) {
    window->CurrentDatabasePath = QStringLiteral("/nowhere/shop.mdb");
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    box("CmbField")->setEditText(QStringLiteral("Age"));
    box("cmbFunction")->setCurrentText(QStringLiteral("< Less"));
    box("cmbValues")->setEditText(QStringLiteral("abc"));
    const QString caption = window->windowTitle();
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("The < Less operator requires a number."));
    EXPECT_EQ(messages()[0].title, QStringLiteral("Quarix - Search Error"));
    EXPECT_EQ(control<QProgressBar>("progBar1")->value(), 30);
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(window->gridModel()->Cols(), 0);
}

TEST_F(MainWindowTest, AFailedRunReportsTheEngineErrorAndForgetsTheCriterion) {
    window->CurrentDatabasePath = QStringLiteral("/nowhere/missing.mdb");
    window->searchState.CurrentWhere = QStringLiteral("[Name] Like '*a*'");
    window->settings.DebugSQL = true;
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    box("CmbField")->setEditText(QStringLiteral("Name"));
    box("cmbValues")->setEditText(QStringLiteral("b"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("GET DATA: ")));
    EXPECT_TRUE(messages()[0].text.endsWith(QStringLiteral(
        "\n\nCheck your search criteria.\n\nSome functions can only be used on numbers.")));
    EXPECT_EQ(messages()[0].title, QStringLiteral("Quarix - Search Error"));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Quarix - Search Error: ")));
    EXPECT_EQ(messages()[1].title, QStringLiteral("Quarix Debug SQL"));
    // The statement as it stood: the failed one never reached the screen.
    EXPECT_TRUE(messages()[1].text.startsWith(
        QStringLiteral("Select * from Customers where [Name] Like '*a*'\n")));
    EXPECT_TRUE(window->searchState.CurrentWhere.isEmpty());
}

TEST_F(MainWindowTest, CancellingTheOpenDialogLeavesTheBoxesEmpty) {
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    const QString caption = window->windowTitle();
    action("mnuopen")->trigger(); // nothing queued: the user cancels
    ASSERT_EQ(quarix::platform::FileDialog::shown().size(), 1u);
    EXPECT_EQ(quarix::platform::FileDialog::shown()[0].title, QStringLiteral("Open Database"));
    EXPECT_EQ(quarix::platform::FileDialog::shown()[0].filter,
              QStringLiteral("Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb"));
    EXPECT_TRUE(box("cmbTable")->currentText().isEmpty());
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_TRUE(window->CurrentDatabasePath.isEmpty());
}

TEST_F(MainWindowTest, ClockAlternatesDateAndWeekdayEveryThreeTicks) {
    auto* date = control<QLabel>("lblDate");
    auto* day = control<QLabel>("lblDay");
    EXPECT_TRUE(date->isHidden());
    EXPECT_FALSE(day->isHidden());
    EXPECT_EQ(day->text(), QLocale::system().dayName(QDate::currentDate().dayOfWeek()));
    window->Form_Activate();
    window->Timer1_Timer();
    window->Timer1_Timer();
    EXPECT_TRUE(date->isHidden());
    window->Timer1_Timer();
    EXPECT_FALSE(date->isHidden());
    EXPECT_TRUE(day->isHidden());
    EXPECT_FALSE(control<QLabel>("lblTime")->text().isEmpty());
}

TEST_F(MainWindowTest, CalendarAidTogglesOnDoubleClick) {
    auto* calendar = control<QCalendarWidget>("calender");
    auto* start = control<QLabel>("calstart");
    EXPECT_EQ(start->toolTip(), QStringLiteral("Double-click for calendar"));
    QTest::mouseDClick(start, Qt::LeftButton);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate::currentDate());
    QTest::mouseDClick(start, Qt::LeftButton);
    EXPECT_FALSE(calendar->isVisible());
    QTest::mouseDClick(start, Qt::LeftButton);
    emit calendar->clicked(QDate::currentDate());
    EXPECT_FALSE(calendar->isVisible());
}

TEST_F(MainWindowTest, LayoutKeepsAMinimumSizeAndMakesRoomForSql) {
    window->resize(100, 100);
    QApplication::processEvents();
    EXPECT_GE(window->width(), window->minimumWidth());
    EXPECT_GT(window->minimumWidth(), 600);
    window->resize(1200, 800);
    QApplication::processEvents();
    auto* grid = control<ResultGridView>("MSFlexGrid1");
    const QRect plain = grid->geometry();
    EXPECT_GE(grid->y(), control<QProgressBar>("progBar1")->geometry().bottom());
    window->mnuSQLmode_Click();
    EXPECT_TRUE(action("mnuSQLmode")->isChecked());
    auto* sql = control<QLineEdit>("txtSearch");
    EXPECT_FALSE(sql->isHidden());
    EXPECT_GT(grid->y(), plain.y());
    EXPECT_GE(grid->y(), sql->geometry().bottom());
    EXPECT_EQ(grid->geometry().bottom(), plain.bottom());
    sql->setText(QStringLiteral("[Age] > 3"));
    window->mnuSQLmode_Click();
    EXPECT_TRUE(sql->isHidden());
    EXPECT_TRUE(sql->text().isEmpty());
    EXPECT_EQ(grid->geometry(), plain);
}

TEST_F(MainWindowTest, SqlFunctionsAndValuePicksPasteIntoTheSqlBox) {
    window->mnuSQLmode_Click();
    auto* sql = control<QLineEdit>("txtSearch");
    window->SQL_Click(18);
    EXPECT_EQ(sql->text(), QStringLiteral("IS [NOT] NULL "));
    EXPECT_TRUE(clipboard().isEmpty());
    sql->setText(QStringLiteral("[City]"));
    box("cmbFunction")->setCurrentText(QStringLiteral("Begins"));
    box("cmbValues")->setEditText(QStringLiteral("Lon"));
    window->cmbValues_Click();
    EXPECT_EQ(sql->text(), QStringLiteral("[City] Like 'Lon*'"));
    EXPECT_EQ(clipboard(), QStringLiteral(" Like 'Lon*'"));
    box("cmbFunction")->setCurrentText(QStringLiteral("> Greater"));
    box("cmbValues")->setEditText(QStringLiteral("abc"));
    window->cmbValues_Click();
    EXPECT_EQ(messages().back().text, QStringLiteral("The > Greater operator requires a number."));
    EXPECT_TRUE(clipboard().isEmpty());
    window->mnudebug_Click();
    EXPECT_TRUE(window->settings.DebugSQL);
    EXPECT_FALSE(control<QLabel>("lblDebug")->isHidden());
}

TEST_F(MainWindowTest, ScreenshotOfTheWindowBeforeASearch) {
    const QString folder = quarix::test::screenshotFolder();
    window->resize(1100, 640);
    window->UpdateTableQuery();
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    box("CmbField")->setEditText(QStringLiteral("City"));
    box("cmbValues")->setEditText(QStringLiteral("lon"));
    window->mnudebug_Click();
    window->mnuSQLmode_Click();
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(
        folder +
        QStringLiteral("/main-window-sql-mode%1.png").arg(quarix::test::screenshotSuffix())));
}

TEST_F(MainWindowTest, ReservedPathClosesTheWindowAtItsNextActivation) {
    window->CurrentDatabasePath = QStringLiteral("**");
    window->Form_Activate();
    QTRY_VERIFY(!window->isVisible());
}

} // namespace
