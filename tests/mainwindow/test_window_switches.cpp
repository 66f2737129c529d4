#include "SettingsWindowFixture.h"

#include <QCheckBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

bool hidden(frmMain* window, const char* item) {
    const QAction* action = window->findChild<QAction*>(QString::fromLatin1(item));
    return action && !action->isVisible();
}

bool disabled(frmMain* window, const char* item) {
    const QAction* action = window->findChild<QAction*>(QString::fromLatin1(item));
    return action && !action->isEnabled();
}

// A new window is started locked down as this one is.
TEST_F(SettingsWindowTest, LockDownHidesAndDisablesTheMenus) {
    frmMain* window = start({u"/k"_s, u"/L"_s});
    for (const char* item : {"mnuoptions", "mnuQuarixHelp", "mnuOfficelinks", "mnulineH1",
                             "mnuupdates", "mnuline5", "mnuline3", "mnuSQLmode", "mnuline7"})
        EXPECT_TRUE(hidden(window, item)) << item;
    for (const char* item : {"mnusavedsearch0", "mnusavedsearch23", "mnuTools", "mnuoptions",
                             "mnuExcel", "mnuObject", "mnuAccess", "mnuCompact"})
        EXPECT_TRUE(disabled(window, item)) << item;
    EXPECT_FALSE(window->RecentShown);
    EXPECT_EQ(window->settings.WindowState, u"2"_s);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(messages().empty());

    window->findChild<QAction*>(u"mnuNew"_s)->trigger();
    ASSERT_EQ(quarix::tools::Launcher::started().size(), 1u);
    EXPECT_EQ(quarix::tools::Launcher::started()[0].arguments, (QStringList{u"/K"_s, u"/L"_s}));
}

TEST_F(SettingsWindowTest, FilterLast10AndMaximisedSwitches) {
    frmMain* window = start({u"/F"_s, u"/L"_s, u"/WM"_s});
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(window->RecentShown);
    EXPECT_TRUE(control<QPushButton>(window, "cmdFilter")->isHidden());
    EXPECT_TRUE(control<QPushButton>(window, "cmdClear")->isHidden());
    EXPECT_TRUE(hidden(window, "mnulast10"));
    EXPECT_FALSE(window->settings.ShowLast10);
    // The switches win over the settings again at every activation.
    window->settings.HideFilter = 0;
    window->settings.ShowLast10 = true;
    window->Form_Activate();
    EXPECT_EQ(window->settings.HideFilter, 1);
    EXPECT_FALSE(window->settings.ShowLast10);
    window->close();
    EXPECT_EQ(iniValue(allUsers, "Quarix", "HideFilter"), u"1"_s);
    EXPECT_EQ(iniValue(allUsers, "Quarix", "ShowLast10"), u"False"_s);
}

// /O among the multi-user parameters hides the Preferences item; /X brings it back.
TEST_F(SettingsWindowTest, MultiUserLocksAreUndoneByXOnTheRealCommandLine) {
    writeFile(allUsers + u"/TermServ"_s, "/T-/Q-/O\n");
    frmMain* window = start({u"/X"_s});
    EXPECT_TRUE(control<QAction>(window, "mnuoptions")->isVisible());
    EXPECT_TRUE(window->location.TermServMode);
    EXPECT_EQ(window->location.SettingsFolder, perUser + QLatin1Char('/'));
    EXPECT_EQ(window->settings.ShowTables, 0);
    EXPECT_EQ(window->settings.ShowQueries, 0);
    window->UpdateTableQuery();
    EXPECT_EQ(control<QComboBox>(window, "cmbTableQuery")->count(), 0);

    frmSettings* dialog = openPreferences(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(control<QCheckBox>(dialog, "chkTableon")->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(dialog, "chkQueryon")->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(dialog, "chkTermServ")->isEnabled());
}

TEST_F(SettingsWindowTest, MultiUserParametersLockThePreferencesWithoutX) {
    writeFile(allUsers + u"/TermServ"_s, "/T-\n");
    frmMain* window = start();
    window->Form_Activate();
    EXPECT_FALSE(control<QLabel>(window, "lblMultiUser")->isHidden());
    frmSettings* dialog = openPreferences(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(control<QCheckBox>(dialog, "chkTableon")->isEnabled());
    EXPECT_TRUE(control<QCheckBox>(dialog, "chkQueryon")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>(dialog, "chkTermServ")->isEnabled());
}

// An unknown command is shown at start and again at every activation, which
// coming back from a form is and coming back from other windows is not.
TEST_F(SettingsWindowTest, ComingBackFromAFormActivatesTheWindowButNotFromOtherWindows) {
    frmMain* window = start({u"/Z"_s});
    ASSERT_GE(countShown(u"Unknown Command: Z"_s), 1);
    EXPECT_EQ(messages().front().title, u"Quarix"_s);
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    quarix::platform::MessageBox::clearShown();

    QWidget other; // a message box, a file dialog, another program
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    EXPECT_EQ(countShown(u"Unknown Command: Z"_s), 0);

    frmSettings* dialog = openPreferences(window);
    ASSERT_NE(dialog, nullptr);
    dialog->activateWindow();
    QTRY_VERIFY(dialog->isActiveWindow());
    QTest::mouseClick(control<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    EXPECT_EQ(countShown(u"Unknown Command: Z"_s), 1);
}

TEST_F(SettingsWindowTest, TheTsSwitchTurnsMultiUserModeOnOnce) {
    frmMain* first = new frmMain(environment(), {u"/ts"_s});
    first->show();
    frmMain* reloaded = successorOf(first);
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(readFile(allUsers + u"/TermServ"_s), QByteArray("\n"));
    EXPECT_TRUE(reloaded->location.TermServMode);
    EXPECT_TRUE(reloaded->location.TSParameters.isEmpty());
    // The marker exists now: activations reload nothing.
    QPointer<frmMain> kept(reloaded);
    reloaded->Form_Activate();
    // A reload would be queued as a zero timer and a deferred delete: run
    // both kinds of pending work, however slowly they were posted.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(kept.isNull());
    EXPECT_TRUE(messages().empty());
}

// A database named on the command line, here by a relative path, is opened
// by its absolute path instead of the auto-load one, and remembered so.
TEST_F(SettingsWindowTest, ADatabaseArgumentIsOpenedAtStartInsteadOfTheAutoLoadOne) {
    REQUIRE_ENGINE();
    const QString autoLoad = copyOf("shop.accdb");
    const QString named = copyOf("shop.mdb");
    writeFile(allUsers + u"/Quarix.ini"_s,
              "[AutoLoad]\nUseDefault=1\nDatabase=" + autoLoad.toUtf8() + "\n");
    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(named).absolutePath());
    frmMain* window = start({u"./sub/../shop.mdb"_s});
    QDir::setCurrent(before);
    EXPECT_EQ(window->CmdLineDatabase, named);
    EXPECT_EQ(window->CurrentDatabasePath, named);
    EXPECT_EQ(window->settings.Recent1, named);
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.mdb"_s);
    EXPECT_GT(control<QComboBox>(window, "cmbTable")->count(), 0);
    EXPECT_TRUE(messages().empty());
    window->close();
    EXPECT_EQ(iniValue(allUsers, "History", "Recent1"), named);
}

} // namespace
