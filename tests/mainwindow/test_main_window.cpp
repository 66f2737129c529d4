#include "MainWindowFixture.h"
#include "tests/support/Screenshots.h"

#include "mainwindow/ResultGridView.h"

#include <QCalendarWidget>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

using Icon = quarix::platform::MessageBox::Icon;

TEST_F(MainWindowTest, StartsWithItsDefaultChoices) {
    EXPECT_EQ(window->objectName(), u"frmMain"_s);
    EXPECT_EQ(box("cmbFunction")->currentText(), u"Contains"_s);
    EXPECT_EQ(box("cmbFunction")->count(), 9);
    EXPECT_TRUE(action("mnuValuePickList")->isChecked());
    EXPECT_TRUE(action("mnuautofit")->isChecked());
    for (const char* name : {"cmdPage0", "cmdPage1", "cmdClearSQL"})
        EXPECT_TRUE(button(name)->isHidden()) << name;
    EXPECT_TRUE(control<QLineEdit>("txtSearch")->isHidden());
}

// A search refused before any query: its message, the caption of the
// database with no counts of an earlier run.
TEST_F(MainWindowTest, ASearchWithoutADatabaseTableOrNumberIsRefused) {
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, u"Please open a database first!"_s);
    EXPECT_EQ(messages()[0].icon, Icon::None);

    window->CurrentDatabasePath = u"/nowhere/shop.mdb"_s;
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text, u"No Table Selected"_s);
    EXPECT_EQ(messages()[1].title, u"Quarix - Search Error"_s);
    EXPECT_EQ(messages()[1].icon, Icon::Warning);

    box("cmbTable")->setEditText(u"Customers"_s);
    box("CmbField")->setEditText(u"Age"_s);
    box("cmbFunction")->setCurrentText(u"< Less"_s);
    box("cmbValues")->setEditText(u"abc"_s);
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2].text, u"The < Less operator requires a number."_s);
    EXPECT_EQ(messages()[2].title, u"Quarix - Search Error"_s);
    EXPECT_EQ(control<QProgressBar>("progBar1")->value(), 30);
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.mdb"_s);
    EXPECT_EQ(window->gridModel()->Cols(), 0);
}

TEST_F(MainWindowTest, AFailedRunReportsTheEngineErrorAndForgetsTheCriterion) {
    window->CurrentDatabasePath = u"/nowhere/missing.mdb"_s;
    window->searchState.CurrentWhere = u"[Name] Like '*a*'"_s;
    window->settings.DebugSQL = true;
    box("cmbTable")->setEditText(u"Customers"_s);
    box("CmbField")->setEditText(u"Name"_s);
    box("cmbValues")->setEditText(u"b"_s);
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages()[0].text.startsWith(u"GET DATA: "_s));
    EXPECT_TRUE(messages()[0].text.endsWith(
        u"\n\nCheck your search criteria.\n\nSome functions can only be used on numbers."_s));
    EXPECT_EQ(messages()[0].title, u"Quarix - Search Error"_s);
    EXPECT_TRUE(window->windowTitle().startsWith(u"Quarix - Search Error: "_s));
    EXPECT_EQ(messages()[1].title, u"Quarix Debug SQL"_s);
    // The statement as it stood: the failed one never reached the screen.
    EXPECT_TRUE(
        messages()[1].text.startsWith(u"Select * from Customers where [Name] Like '*a*'\n"_s));
    EXPECT_TRUE(window->searchState.CurrentWhere.isEmpty());
}

TEST_F(MainWindowTest, CancellingTheOpenDialogLeavesTheBoxesEmpty) {
    box("cmbTable")->setEditText(u"Customers"_s);
    const QString caption = window->windowTitle();
    action("mnuopen")->trigger(); // nothing queued: the user cancels
    ASSERT_EQ(quarix::platform::FileDialog::shown().size(), 1u);
    EXPECT_EQ(quarix::platform::FileDialog::shown()[0].title, u"Open Database"_s);
    EXPECT_EQ(quarix::platform::FileDialog::shown()[0].filter,
              u"Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb|All files (*)|*"_s);
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
    EXPECT_EQ(start->toolTip(), u"Double-click for calendar"_s);
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
    EXPECT_GE(window->width(), window->minimumSizeHint().width());
    EXPECT_GE(window->height(), window->minimumSizeHint().height());
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
    sql->setText(u"[Age] > 3"_s);
    window->mnuSQLmode_Click();
    EXPECT_TRUE(sql->isHidden());
    EXPECT_TRUE(sql->text().isEmpty());
    EXPECT_EQ(grid->geometry(), plain);
}

TEST_F(MainWindowTest, ScreenshotOfTheWindowBeforeASearch) {
    window->resize(1100, 640);
    window->UpdateTableQuery();
    box("cmbTable")->setEditText(u"Customers"_s);
    box("CmbField")->setEditText(u"City"_s);
    box("cmbValues")->setEditText(u"lon"_s);
    window->mnudebug_Click();
    window->mnuSQLmode_Click();
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(
        quarix::test::screenshotFolder() +
        u"/main-window-sql-mode%1.png"_s.arg(quarix::test::screenshotSuffix())));
}

} // namespace
