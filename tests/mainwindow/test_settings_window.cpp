#include "SettingsWindowFixture.h"

#include "mainwindow/ResultGridView.h"
#include "session/DatabaseWorker.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

using Icon = quarix::platform::MessageBox::Icon;

// Settings and the normal placement survive restarts; a window closed
// maximised keeps the placement it had before.
TEST_F(SettingsWindowTest, SettingsAndPlacementSurviveARestart) {
    frmMain* first = start();
    EXPECT_EQ(first->location.SettingsFolder, allUsers + QLatin1Char('/'));
    first->settings.MaxResults = u"77"_s;
    first->settings.GridPaging = true;
    first->settings.HideFilter = 1;
    first->settings.SavedSearches[0] = QString(150, QLatin1Char('s'));
    first->move(40, 60);
    first->resize(1000, 600);
    const QPoint corner = first->pos();
    ASSERT_TRUE(first->close());
    delete first;
    EXPECT_EQ(iniValue(allUsers, "Quarix", "MaxResults"), u"77"_s);
    const QString top = iniValue(allUsers, "Windows", "MainWindowTop");
    const QString width = iniValue(allUsers, "Windows", "MainWindowWidth");
    ASSERT_FALSE(top.isEmpty());

    frmMain* second = start();
    EXPECT_EQ(second->settings.MaxResults, u"77"_s);
    EXPECT_TRUE(second->settings.GridPaging);
    EXPECT_EQ(second->settings.SavedSearches[0], QString(150, QLatin1Char('s')));
    EXPECT_TRUE(control<QPushButton>(second, "cmdFilter")->isHidden());
    EXPECT_EQ(second->pos(), corner);
    EXPECT_EQ(second->size(), QSize(1000, 600));
    second->setWindowState(Qt::WindowMaximized);
    QApplication::processEvents();
    ASSERT_TRUE(second->isMaximized());
    second->close();
    delete second;
    EXPECT_EQ(iniValue(allUsers, "Windows", "MainWindowTop"), top);
    EXPECT_EQ(iniValue(allUsers, "Windows", "MainWindowWidth"), width);
    EXPECT_EQ(iniValue(allUsers, "Windows", "WindowState"), u"0"_s);

    frmMain* third = start();
    EXPECT_FALSE(third->isMaximized());
    EXPECT_EQ(third->size(), QSize(1000, 600));
    EXPECT_TRUE(messages().empty());
}

TEST_F(SettingsWindowTest, AnEditedPlacementBeyondTheScreensIsBroughtBackOnThem) {
    writeFile(allUsers + u"/Quarix.ini"_s,
              "[Windows]\r\nMainWindowLeft=99999999\r\nMainWindowWidth=2147483647\r\n"
              "MainWindowHeight=1e300\r\n");
    frmMain* window = start();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(QRect(window->pos(), window->size())))
        << window->x() << "," << window->y() << " " << window->width() << "x" << window->height();
}

TEST_F(SettingsWindowTest, SaveDataZeroWritesNothing) {
    const QByteArray file = "[Quarix]\r\nSaveData=0\r\nMaxResults=33\r\n";
    writeFile(allUsers + u"/Quarix.ini"_s, file);
    frmMain* window = start();
    EXPECT_EQ(window->settings.MaxResults, u"33"_s);
    window->settings.MaxResults = u"90"_s;
    window->CurrentDatabasePath = u"/nowhere/shop.mdb"_s;
    window->Form_Activate(); // would save, with a database open
    window->close();
    EXPECT_EQ(readFile(allUsers + u"/Quarix.ini"_s), file);
}

TEST_F(SettingsWindowTest, AnUnreadableShowLast10ShowsTheReadDataMessageOnce) {
    writeFile(allUsers + u"/Quarix.ini"_s, "[Quarix]\nShowLast10=maybe\n");
    frmMain* window = start();
    EXPECT_EQ(countShown(kReadDataMessage), 1);
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().front().title, u"Quarix - Error"_s);
    EXPECT_EQ(messages().front().icon, Icon::Warning);
    EXPECT_TRUE(window->settings.ShowLast10);
}

TEST_F(SettingsWindowTest, TheReservedPathClosesTheWindowWithoutSaving) {
    frmMain* window = start();
    window->settings.MaxResults = u"90"_s;
    window->CurrentDatabasePath = u"**"_s;
    window->Form_Activate();
    QTRY_VERIFY(!window->isVisible());
    EXPECT_FALSE(QFileInfo::exists(allUsers + u"/Quarix.ini"_s));
}

TEST_F(SettingsWindowTest, ResetColoursAreSavedAsTheirSettingsNumbers) {
    frmMain* window = start();
    frmSettings* dialog = openPreferences(window);
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(control<QPushButton>(dialog, "cmdBgcolor_3"), Qt::LeftButton);
    ASSERT_TRUE(settled(window));
    EXPECT_EQ(window->gridColourValue(GridColour::Background), kSystemAppWorkspace);
    EXPECT_FALSE(window->grid()->styleSheet().isEmpty());
    window->close();
    EXPECT_EQ(iniValue(allUsers, "Grid", "GridBackColor"), u"-2147483636"_s);
    EXPECT_EQ(iniValue(allUsers, "Grid", "GridCellColor"), u"-2147483643"_s);
    EXPECT_EQ(iniValue(allUsers, "Grid", "GridTextColor"), u"-2147483640"_s);
}

TEST_F(SettingsWindowTest, PreferencesOkAppliesFontFilterAndPageSizeToTheWindow) {
    REQUIRE_ENGINE();
    frmMain* window = start({copyOf("shop.accdb")});
    ASSERT_TRUE(window->PagedMode);
    frmSettings* dialog = openPreferences(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    // A second click brings the open dialog forward instead of a new one.
    control<QAction>(window, "mnusettings")->trigger();
    EXPECT_EQ(window->findChildren<frmSettings*>().size(), 1);

    control<QComboBox>(dialog, "cmbFontSize")->setCurrentText(u"14"_s);
    control<QCheckBox>(dialog, "chkHidefilter")->setChecked(true);
    control<QLineEdit>(dialog, "txtResultMax")->setText(u"20"_s);
    QTest::mouseClick(control<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    ASSERT_TRUE(settled(window));
    QTRY_VERIFY(window->findChild<frmSettings*>() == nullptr || !dialog->isVisible());
    window->Form_Activate();

    EXPECT_EQ(window->grid()->font().pointSizeF(), 14.0);
    EXPECT_TRUE(control<QPushButton>(window, "cmdFilter")->isHidden());
    EXPECT_TRUE(control<QPushButton>(window, "cmdClear")->isHidden());
    EXPECT_EQ(iniValue(allUsers, "Quarix", "MaxResults"),
              u"20"_s); // saved at activation

    search(window, u"Name"_s, u"Contains"_s, QString());
    EXPECT_EQ(window->gridModel()->Rows() - 1, 20);

    // OK empties the grid: caption and status bar no longer count its rows.
    dialog = openPreferences(window);
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(control<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    ASSERT_TRUE(settled(window));
    EXPECT_TRUE(window->gridModel()->TextMatrix(0, 0).isEmpty());
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.accdb"_s);
    EXPECT_TRUE(control<QLabel>(window, "lblStatus")->text().isEmpty());
}

// The reload replaces the window: it waits until the read the window
// started has stopped, and the new window works.
TEST_F(SettingsWindowTest, AReloadDuringAReadWaitsForItToStop) {
    REQUIRE_ENGINE();
    frmMain* machine = start({u"/X"_s});
    std::atomic<bool> held{true};
    machine->worker().setGate([&held](const std::atomic<bool>& cancel) {
        while (held && !cancel)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    machine->openDatabaseAtStart(copyOf("shop.mdb"));
    ASSERT_FALSE(machine->databaseIdle());
    frmSettings* dialog = openPreferences(machine);
    ASSERT_NE(dialog, nullptr);
    control<QCheckBox>(dialog, "chkTermServ")->setChecked(true);
    QTest::mouseClick(control<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    held = false; // later reads run at once
    frmMain* user = successorOf(machine);
    ASSERT_NE(user, nullptr);
    EXPECT_TRUE(user->location.TermServMode);
    ASSERT_TRUE(settled(user));
    user->openDatabaseAtStart(copyOf("shop.accdb"));
    ASSERT_TRUE(settled(user));
    EXPECT_GT(user->findChild<QComboBox*>(u"cmbTable"_s)->count(), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SettingsWindowTest, MultiUserModeRoundTripThroughThePreferencesDialog) {
    // /X leaves the multi-user controls free after the marker file is read.
    frmMain* machine = start({u"/X"_s});
    EXPECT_FALSE(machine->location.TermServMode);
    frmSettings* dialog = openPreferences(machine);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(control<QLabel>(dialog, "lblDataFile")->text(), u"Machine Data File"_s);
    control<QLineEdit>(dialog, "txtResultMax")->setText(u"77"_s);
    control<QCheckBox>(dialog, "chkTermServ")->setChecked(true);
    control<QLineEdit>(dialog, "txtTSparameters")->setText(u"/L"_s);
    QTest::mouseClick(control<QPushButton>(dialog, "OKButton"), Qt::LeftButton);

    frmMain* user = successorOf(machine);
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(readFile(allUsers + u"/TermServ"_s), QByteArray("/L\n"));
    EXPECT_EQ(iniValue(allUsers, "Quarix", "MaxResults"),
              u"77"_s); // saved on the way out
    EXPECT_TRUE(user->location.TermServMode);
    EXPECT_EQ(user->location.SettingsFolder, perUser + QLatin1Char('/'));
    EXPECT_EQ(user->settings.MaxResults, u"50"_s); // a first start in this mode
    EXPECT_FALSE(user->settings.ShowLast10);       // the parameters apply
    user->Form_Activate();
    const QLabel* indicator = control<QLabel>(user, "lblMultiUser");
    EXPECT_FALSE(indicator->isHidden());
    EXPECT_EQ(indicator->text(), u"Multi User"_s);

    user->settings.MaxResults = u"12"_s;
    dialog = openPreferences(user);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(control<QLabel>(dialog, "lblDataFile")->text(), u"User Data File"_s);
    ASSERT_TRUE(control<QCheckBox>(dialog, "chkTermServ")->isEnabled());
    control<QCheckBox>(dialog, "chkTermServ")->setChecked(false);
    QTest::mouseClick(control<QPushButton>(dialog, "OKButton"), Qt::LeftButton);

    frmMain* again = successorOf(user);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(QFileInfo::exists(allUsers + u"/TermServ"_s));
    EXPECT_EQ(iniValue(perUser, "Quarix", "MaxResults"), u"12"_s);
    EXPECT_FALSE(again->location.TermServMode);
    EXPECT_EQ(again->settings.MaxResults, u"77"_s);
    EXPECT_TRUE(messages().empty());
}

} // namespace
