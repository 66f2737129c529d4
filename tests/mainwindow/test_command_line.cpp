#include "mainwindow/CommandLine.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Action = MenuEffect::Action;

class CommandLineTest : public ::testing::Test {
protected:
    CommandLineInput input(const QStringList& arguments, const QString& tsParameters) {
        CommandLineInput in;
        in.TSParameters = tsParameters;
        in.arguments = arguments;
        in.fileExists = [this](const QString& path) { return existing.contains(path); };
        return in;
    }
    CommandLineEffects run(const QStringList& arguments, const QString& tsParameters = {},
                           bool markerExists = false) {
        return GetCommandLine(input(arguments, tsParameters), values, location, markerExists);
    }
    QStringList split(const QStringList& arguments, const QString& tsParameters = {}) {
        QStringList out;
        for (const auto& a : splitCommandLine(input(arguments, tsParameters)))
            out << a.text;
        return out;
    }
    bool hidden(const CommandLineEffects& e, const char* item) const {
        return e.menus.contains(MenuEffect{QLatin1String(item), -1, Action::Hide});
    }
    // The database the arguments name.
    QString database(const QStringList& arguments, const QString& tsParameters = {}) {
        return run(arguments, tsParameters).CmdLineDatabase;
    }

    SettingsValues values;
    SettingsLocation location;
    QStringList existing;
};

TEST_F(CommandLineTest, SplitsAtSlashesAndTabsKeepingBlanks) {
    EXPECT_EQ(split({u"/K"_s, u"/F"_s}), (QStringList{u"K "_s, u"F"_s}));
    EXPECT_EQ(split({u"/K\t/ L "_s}), (QStringList{u"K"_s, u" L "_s}));
    EXPECT_EQ(split({}, u"//K//"_s), QStringList{u"K"_s});
    // The multi-user parameters run straight into the first argument.
    EXPECT_EQ(split({u"Z"_s}, u"K"_s), QStringList{u"KZ"_s});
}

TEST_F(CommandLineTest, ANewWindowGetsTheSwitchesButNotTheDatabase) {
    EXPECT_EQ(switchesInForce({u"/k"_s, u"/srv/shop.mdb"_s, u"/F /Z"_s, u"/t-"_s}),
              (QStringList{u"/K"_s, u"/F"_s, u"/T-"_s}));
    EXPECT_TRUE(switchesInForce({}).isEmpty());
}

TEST_F(CommandLineTest, NothingGivenChangesNothing) {
    values.WindowState = u"0"_s;
    const CommandLineEffects e = run({});
    EXPECT_EQ(e.CmdLineDatabase, QString());
    EXPECT_TRUE(e.RecentShown);
    EXPECT_TRUE(e.menus.isEmpty());
    EXPECT_TRUE(e.messages.isEmpty());
    EXPECT_EQ(values.WindowState, u"0"_s);
}

TEST_F(CommandLineTest, SettingSwitches) {
    values.ShowTables = values.ShowQueries = 1;
    values.ShowLast10 = true;
    const CommandLineEffects e = run({u"/F/L/O/T-/q-/wm"_s});
    EXPECT_EQ(values.HideFilter, 1);
    EXPECT_FALSE(values.ShowLast10);
    EXPECT_TRUE(hidden(e, "mnulast10"));
    EXPECT_TRUE(hidden(e, "mnuoptions"));
    EXPECT_EQ(values.ShowTables, 0);
    EXPECT_EQ(values.ShowQueries, 0);
    EXPECT_TRUE(location.TablesLocked);
    EXPECT_TRUE(location.QueriesLocked);
    EXPECT_EQ(values.WindowState, u"2"_s);
    EXPECT_TRUE(e.messages.isEmpty());
}

TEST_F(CommandLineTest, UnknownArgumentsAreReportedAsSplit) {
    const CommandLineEffects e = run({u"/Z"_s, u"/K L"_s, u"/ K"_s});
    EXPECT_EQ(e.messages, (QStringList{u"Unknown Command: Z "_s, u"Unknown Command: K L "_s,
                                       u"Unknown Command:  K"_s}));
    EXPECT_TRUE(e.menus.isEmpty());
}

TEST_F(CommandLineTest, AnEleventhArgumentIsIgnoredSilently) {
    const CommandLineEffects e = run({u"/F/F/F/F/F/F/F/F/F/WM/Z"_s});
    EXPECT_TRUE(e.messages.isEmpty());
    EXPECT_EQ(values.WindowState, u"2"_s);
    const auto split =
        splitCommandLine(input({u"/a/b/c/d/e/f/g/h/i"_s, u"/data/x.mdb"_s, u"/j"_s}, {}));
    EXPECT_EQ(split.size(), 10);
    EXPECT_EQ(split.last(), (CommandLineArgument{u"/data/x.mdb"_s, true}));
}

TEST_F(CommandLineTest, DatabasePathsAreTakenWhole) {
    EXPECT_EQ(database({u"/K"_s, u"/srv/My Data/Sales.MDB"_s}), u"/srv/My Data/Sales.MDB"_s);
    EXPECT_EQ(values.WindowState, u"2"_s); // K applied
    // A file address as file managers pass it.
    EXPECT_EQ(database({u"file:///home/ann/My%20Data/stock.mdb"_s}),
              u"/home/ann/My Data/stock.mdb"_s);
    EXPECT_EQ(database({u"/K"_s, u"FILE:///srv/shop.accdb"_s}), u"/srv/shop.accdb"_s);

    existing << u"/srv/data/stock"_s;
    EXPECT_EQ(database({u"/srv/data/stock"_s, u"/F"_s}), u"/srv/data/stock"_s);
    EXPECT_EQ(values.HideFilter, 1);

    // In double quotes, as a shortcut may pass it.
    EXPECT_EQ(database({u"\"/srv/My Data/Sales.accdb\""_s}), u"/srv/My Data/Sales.accdb"_s);
    // A later database replaces an earlier one.
    EXPECT_EQ(database({u"a.mdb"_s, u"b.accdb"_s}), u"b.accdb"_s);
}

TEST_F(CommandLineTest, SplitArgumentsEndingInMdbAreDatabasesToo) {
    // "F C:\data\stock.mdb" ends in MDB, so F is not applied.
    EXPECT_EQ(database({}, u"/K /F C:\\data\\stock.mdb"_s), u"F C:\\data\\stock.mdb"_s);
    EXPECT_EQ(values.HideFilter, 0);
    // A quoted Windows path in the multi-user parameters.
    EXPECT_EQ(database({}, u"/\"C:\\My Data\\Sales.accdb\""_s), u"C:\\My Data\\Sales.accdb"_s);
    // Parameters without a leading "/" run into the first argument.
    EXPECT_EQ(database({u"C:\\db.mdb"_s}, u"K"_s), u"C:\\db.mdb"_s);
    values.WindowState.clear();
    EXPECT_EQ(database({u"accdb"_s}, u"/K "_s), u"K accdb"_s);
    EXPECT_EQ(values.WindowState, QString()); // K was not applied
}

} // namespace
