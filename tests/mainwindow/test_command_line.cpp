#include "mainwindow/CommandLine.h"

#include "settings/SettingsStore.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

namespace {

using Action = MenuEffect::Action;

class CommandLineTest : public ::testing::Test {
protected:
    CommandLineEffects run(const QStringList& arguments, const QString& tsParameters = {},
                           bool markerExists = false) {
        CommandLineInput input;
        input.TSParameters = tsParameters;
        input.arguments = arguments;
        input.fileExists = [this](const QString& path) { return existing.contains(path); };
        return GetCommandLine(input, values, location, markerExists);
    }
    static QStringList texts(const QList<CommandLineArgument>& arguments) {
        QStringList out;
        for (const auto& a : arguments)
            out << a.text;
        return out;
    }
    QStringList split(const QStringList& arguments, const QString& tsParameters = {}) {
        CommandLineInput input;
        input.TSParameters = tsParameters;
        input.arguments = arguments;
        input.fileExists = [this](const QString& path) { return existing.contains(path); };
        return texts(splitCommandLine(input));
    }
    bool hidden(const CommandLineEffects& e, const char* item) const {
        return e.menus.contains(MenuEffect{QLatin1String(item), -1, Action::Hide});
    }

    SettingsValues values;
    SettingsLocation location;
    QStringList existing;
};

TEST_F(CommandLineTest, SplitsAtSlashesAndTabsKeepingBlanks) {
    EXPECT_EQ(split({QStringLiteral("/K"), QStringLiteral("/F")}),
              (QStringList{QStringLiteral("K "), QStringLiteral("F")}));
    EXPECT_EQ(split({QStringLiteral("/K\t/ L ")}),
              (QStringList{QStringLiteral("K"), QStringLiteral(" L ")}));
    EXPECT_EQ(split({}, QStringLiteral("//K//")), QStringList{QStringLiteral("K")});
    // The multi-user parameters run straight into the first argument.
    EXPECT_EQ(split({QStringLiteral("Z")}, QStringLiteral("K")), QStringList{QStringLiteral("KZ")});
}

TEST_F(CommandLineTest, AFileAddressAsFileManagersPassItNamesTheDatabase) {
    EXPECT_EQ(run({QStringLiteral("file:///home/ann/My%20Data/stock.mdb")}).CmdLineDatabase,
              QStringLiteral("/home/ann/My Data/stock.mdb"));
    EXPECT_EQ(run({QStringLiteral("/K"), QStringLiteral("FILE:///srv/shop.accdb")}).CmdLineDatabase,
              QStringLiteral("/srv/shop.accdb"));
}

TEST_F(CommandLineTest, ANewWindowGetsTheSwitchesButNotTheDatabase) {
    EXPECT_EQ(switchesInForce({QStringLiteral("/k"), QStringLiteral("/srv/shop.mdb"),
                               QStringLiteral("/F /Z"), QStringLiteral("/t-")}),
              (QStringList{QStringLiteral("/K"), QStringLiteral("/F"), QStringLiteral("/T-")}));
    EXPECT_TRUE(switchesInForce({}).isEmpty());
}

TEST_F(CommandLineTest, NothingGivenChangesNothing) {
    values.WindowState = QStringLiteral("0");
    const CommandLineEffects e = run({});
    EXPECT_EQ(e.CmdLineDatabase, QString());
    EXPECT_TRUE(e.RecentShown);
    EXPECT_TRUE(e.menus.isEmpty());
    EXPECT_TRUE(e.messages.isEmpty());
    EXPECT_EQ(values.WindowState, QStringLiteral("0"));
}

TEST_F(CommandLineTest, LockDownHidesAndDisablesMenusAndMaximises) {
    const CommandLineEffects e = run({QStringLiteral("/k")});
    for (const char* item : {"mnuoptions", "mnuQuarixHelp", "mnuOfficelinks", "mnulineH1",
                             "mnuupdates", "mnuline5", "mnuline3", "mnuSQLmode", "mnuline7"})
        EXPECT_TRUE(hidden(e, item)) << item;
    EXPECT_TRUE(e.menus.contains(MenuEffect{QStringLiteral("mnusavedsearch"), 0, Action::Disable}));
    EXPECT_TRUE(
        e.menus.contains(MenuEffect{QStringLiteral("mnusavedsearch"), 23, Action::Disable}));
    for (const char* item :
         {"mnuTools", "mnuoptions", "mnuExcel", "mnuObject", "mnuAccess", "mnuCompact"})
        EXPECT_TRUE(e.menus.contains(MenuEffect{QLatin1String(item), -1, Action::Disable})) << item;
    EXPECT_EQ(values.WindowState, QStringLiteral("2"));
    EXPECT_FALSE(e.RecentShown);
    EXPECT_TRUE(e.messages.isEmpty());
}

TEST_F(CommandLineTest, SettingSwitches) {
    values.ShowTables = values.ShowQueries = 1;
    values.ShowLast10 = true;
    const CommandLineEffects e = run({QStringLiteral("/F/L/O/T-/q-/wm")});
    EXPECT_EQ(values.HideFilter, 1);
    EXPECT_FALSE(values.ShowLast10);
    EXPECT_TRUE(hidden(e, "mnulast10"));
    EXPECT_TRUE(hidden(e, "mnuoptions"));
    EXPECT_EQ(values.ShowTables, 0);
    EXPECT_EQ(values.ShowQueries, 0);
    EXPECT_TRUE(location.TablesLocked);
    EXPECT_TRUE(location.QueriesLocked);
    EXPECT_EQ(values.WindowState, QStringLiteral("2"));
    EXPECT_TRUE(e.messages.isEmpty());
}

TEST_F(CommandLineTest, XAfterMultiUserParametersUnlocksThePreferences) {
    location.TSLocked = true;
    values.ShowTables = values.ShowQueries = 1;
    const CommandLineEffects e = run({QStringLiteral("/X")}, QStringLiteral("/T-/Q-"));
    EXPECT_EQ(values.ShowTables, 0);
    EXPECT_EQ(values.ShowQueries, 0);
    EXPECT_FALSE(location.TablesLocked);
    EXPECT_FALSE(location.QueriesLocked);
    EXPECT_FALSE(location.TSLocked);
    EXPECT_EQ(e.menus.last(), (MenuEffect{QStringLiteral("mnuoptions"), -1, Action::Show}));
}

TEST_F(CommandLineTest, TSTurnsMultiUserModeOnOnlyWithoutMarker) {
    EXPECT_TRUE(run({QStringLiteral("/TS")}).enterMultiUserMode);
    EXPECT_FALSE(run({QStringLiteral("/ts")}, QString(), true).enterMultiUserMode);
}

TEST_F(CommandLineTest, UnknownArgumentsAreReportedAsSplit) {
    const CommandLineEffects e =
        run({QStringLiteral("/Z"), QStringLiteral("/K L"), QStringLiteral("/ K")});
    EXPECT_EQ(e.messages, (QStringList{QStringLiteral("Unknown Command: Z "),
                                       QStringLiteral("Unknown Command: K L "),
                                       QStringLiteral("Unknown Command:  K")}));
    EXPECT_TRUE(e.menus.isEmpty());
}

TEST_F(CommandLineTest, AnEleventhArgumentIsIgnoredSilently) {
    const CommandLineEffects e = run({QStringLiteral("/F/F/F/F/F/F/F/F/F/WM/Z")});
    EXPECT_TRUE(e.messages.isEmpty());
    EXPECT_EQ(values.WindowState, QStringLiteral("2"));
    CommandLineInput input;
    input.arguments = {QStringLiteral("/a/b/c/d/e/f/g/h/i"), QStringLiteral("/data/x.mdb"),
                       QStringLiteral("/j")};
    EXPECT_EQ(splitCommandLine(input).size(), 10);
    EXPECT_EQ(splitCommandLine(input).last(),
              (CommandLineArgument{QStringLiteral("/data/x.mdb"), true}));
}

TEST_F(CommandLineTest, DatabasePathsAreTakenWhole) {
    EXPECT_EQ(run({QStringLiteral("/K"), QStringLiteral("/srv/My Data/Sales.MDB")}).CmdLineDatabase,
              QStringLiteral("/srv/My Data/Sales.MDB"));
    EXPECT_EQ(values.WindowState, QStringLiteral("2")); // K applied

    existing << QStringLiteral("/srv/data/stock");
    EXPECT_EQ(run({QStringLiteral("/srv/data/stock"), QStringLiteral("/F")}).CmdLineDatabase,
              QStringLiteral("/srv/data/stock"));
    EXPECT_EQ(values.HideFilter, 1);

    // In double quotes, as a shortcut may pass it.
    EXPECT_EQ(run({QStringLiteral("\"/srv/My Data/Sales.accdb\"")}).CmdLineDatabase,
              QStringLiteral("/srv/My Data/Sales.accdb"));
    // A later database replaces an earlier one.
    EXPECT_EQ(run({QStringLiteral("a.mdb"), QStringLiteral("b.accdb")}).CmdLineDatabase,
              QStringLiteral("b.accdb"));
}

TEST_F(CommandLineTest, SplitArgumentsEndingInMdbAreDatabasesToo) {
    // "F C:\data\stock.mdb" ends in MDB, so F is not applied.
    const CommandLineEffects e = run({}, QStringLiteral("/K /F C:\\data\\stock.mdb"));
    EXPECT_EQ(e.CmdLineDatabase, QStringLiteral("F C:\\data\\stock.mdb"));
    EXPECT_EQ(values.HideFilter, 0);
    // A quoted Windows path in the multi-user parameters.
    EXPECT_EQ(run({}, QStringLiteral("/\"C:\\My Data\\Sales.accdb\"")).CmdLineDatabase,
              QStringLiteral("C:\\My Data\\Sales.accdb"));
    // Parameters without a leading "/" run into the first argument.
    EXPECT_EQ(run({QStringLiteral("C:\\db.mdb")}, QStringLiteral("K")).CmdLineDatabase,
              QStringLiteral("C:\\db.mdb"));
    values.WindowState.clear();
    EXPECT_EQ(run({QStringLiteral("accdb")}, QStringLiteral("/K ")).CmdLineDatabase,
              QStringLiteral("K accdb"));
    EXPECT_EQ(values.WindowState, QString()); // K was not applied
}

} // namespace

namespace {

TEST(CommandLineAndSettings, SwitchesAreSavedAsTheyLeftTheSettings) {
    const auto dir = quarix::test::scratchDir("command-line-save");
    const QString path = QString::fromStdString((dir / "Quarix.ini").string());
    SettingsValues values;
    LoadSettings(IniFile(path), values, {});
    SettingsLocation location;
    CommandLineInput input;
    input.arguments = {QStringLiteral("/F")};
    GetCommandLine(input, values, location, false);
    IniFile file(path);
    ASSERT_TRUE(SaveSettings(file, values, {}));
    EXPECT_EQ(IniFile(path).GetIniValue(QStringLiteral("Quarix"), QStringLiteral("HideFilter")),
              QStringLiteral("1"));
}

} // namespace
