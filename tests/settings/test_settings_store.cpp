#include "settings/SettingsStore.h"

#include "SettingsTestSupport.h"

#include <QMap>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::test;

namespace {

// The main window as loading and saving see it.
struct FakeWindow {
    QMap<GridColour, qint32> colours{{GridColour::Background, -2147483636},
                                     {GridColour::Cell, -2147483643},
                                     {GridColour::Text, -2147483640}};
    QMap<WindowEdge, double> placement{{WindowEdge::Top, 1200},
                                       {WindowEdge::Left, 600},
                                       {WindowEdge::Width, 12000},
                                       {WindowEdge::Height, 9000}};
    int state = 0;
    bool pickListChecked = true;
    int sorts = 0;
    QStringList errors;

    SettingsWindowPort port() {
        SettingsWindowPort p;
        p.applyGridColour = [this](GridColour c, qint32 v) { colours[c] = v; };
        p.gridColour = [this](GridColour c) { return colours.value(c); };
        p.applyPlacement = [this](WindowEdge e, double v) { placement[e] = v; };
        p.placement = [this](WindowEdge e) { return placement.value(e); };
        p.windowState = [this] { return state; };
        p.applyWindowState = [this](int s) { state = s; };
        p.uncheckValuePickList = [this] { pickListChecked = false; };
        p.sortSavedSearches = [this] { ++sorts; };
        p.showError = [this](const QString& text) { errors << text; };
        return p;
    }
};

class SettingsStoreTest : public ::testing::Test {
protected:
    QString path() const { return qpath(dir / "Quarix.ini"); }
    SettingsValues load(FakeWindow& window, SettingsValues values = {}) {
        LoadSettings(IniFile(path()), values, window.port());
        return values;
    }
    bool save(SettingsValues& values, FakeWindow& window) {
        IniFile file(path());
        return SaveSettings(file, values, window.port());
    }
    // A value of the saved file, as its reader sees it.
    QString saved(const char* section, const char* key) const {
        return IniFile(path()).GetIniValue(QLatin1String(section), QLatin1String(key));
    }
    ScratchFolder dir{"store"};
};

TEST_F(SettingsStoreTest, MissingFileGivesTheDefaults) {
    FakeWindow window;
    window.state = 2;
    const SettingsValues v = load(window);
    EXPECT_EQ(v.ShowTables, 1);
    EXPECT_EQ(v.ShowQueries, 1);
    EXPECT_EQ(v.HideFilter, 0);
    EXPECT_TRUE(v.ShowLast10);
    EXPECT_FALSE(v.WriteLog);
    EXPECT_FALSE(v.SQLMode);
    EXPECT_TRUE(v.ListValues);
    EXPECT_FALSE(v.DebugSQL);
    EXPECT_EQ(v.ValueListMax, u"50"_s);
    EXPECT_TRUE(v.SaveData);
    EXPECT_EQ(v.SaveDataNumber, 1);
    EXPECT_EQ(v.MaxResults, u"50"_s);
    EXPECT_EQ(v.AutoFitGrid, u"1"_s);
    EXPECT_EQ(v.GridFontSize, u"8"_s);
    EXPECT_FALSE(v.GridPaging);
    EXPECT_EQ(v.WindowState, u"2"_s); // the window's own state
    EXPECT_EQ(v.SavedSearches[0], QString());
    EXPECT_EQ(window.colours.value(GridColour::Cell), -2147483643); // untouched
    EXPECT_EQ(window.placement.value(WindowEdge::Width), 12000);
    EXPECT_TRUE(window.pickListChecked);
    EXPECT_EQ(window.sorts, 1);
    EXPECT_TRUE(window.errors.isEmpty());
}

TEST_F(SettingsStoreTest, SavedFileReadsBackEqual) {
    FakeWindow window;
    SettingsValues v = load(window);
    v.ShowTables = 0;
    v.HideFilter = 1;
    v.ShowLast10 = false;
    v.WriteLog = v.SQLMode = v.DebugSQL = v.GridPaging = true;
    v.ValueListMax = u"abc"_s;
    v.MaxResults = u"120"_s;
    v.AutoFitGrid = u"0"_s;
    v.GridFontSize = u"14"_s;
    v.WindowState = u"1"_s;
    v.UseDefault = u"True"_s;
    v.AutoLoadDatabase = u"/data/shop.mdb"_s;
    v.AutoLoadTable = u"Customers"_s;
    v.AutoLoadField = u"City"_s;
    v.Recent1 = u"/data/shop.mdb"_s;
    v.Recent3 = u"/data/with, comma.accdb"_s;
    v.Programs[0] = u"Editor,/usr/bin/gedit"_s;
    v.Programs[9] = u"Last,/usr/bin/true"_s;
    v.SavedSearches[4] = u"Table | /data/shop.mdb | Customers | City | [City] Like '*lon*'"_s;
    window.colours[GridColour::Background] = 0;
    window.colours[GridColour::Text] = 255;
    window.placement[WindowEdge::Top] = 300;
    ASSERT_TRUE(save(v, window));

    const QByteArray bytes = readBytes(path());
    EXPECT_TRUE(
        bytes.startsWith("[Quarix]\nVersion=8:0:120\nShowTables=0\nShowQueries=1\nHideFilter=1\n"
                         "ShowLast10=False\nWriteLog=True\n"));
    EXPECT_TRUE(bytes.contains(
        "\nGridBackColor=0\nGridCellColor=-2147483643\nGridTextColor=255\nGridPaging=True\n"));

    FakeWindow second;
    const SettingsValues r = load(second);
    EXPECT_EQ(r.Version, u"8:0:120"_s);
    EXPECT_EQ(r.ShowTables, 0);
    EXPECT_EQ(r.HideFilter, 1);
    EXPECT_FALSE(r.ShowLast10);
    EXPECT_TRUE(r.WriteLog && r.SQLMode && r.DebugSQL && r.GridPaging && r.ListValues);
    using V = SettingsValues;
    for (QString V::*text : {&V::ValueListMax, &V::MaxResults, &V::AutoFitGrid, &V::GridFontSize,
                             &V::WindowState, &V::UseDefault, &V::AutoLoadDatabase,
                             &V::AutoLoadTable, &V::AutoLoadField, &V::Recent1, &V::Recent3})
        EXPECT_EQ(r.*text, v.*text);
    EXPECT_EQ(second.state, 1);
    EXPECT_EQ(r.Programs, v.Programs);
    EXPECT_EQ(r.SavedSearches, v.SavedSearches);
    EXPECT_EQ(second.colours, window.colours);
    EXPECT_EQ(second.placement, window.placement);
    EXPECT_TRUE(second.errors.isEmpty());
}

// Switching saving off still saves once, writing the zero; from then on
// nothing is written.
TEST_F(SettingsStoreTest, SwitchingSavingOffSavesOnceThenWritesNothing) {
    FakeWindow window;
    SettingsValues v = load(window);
    v.SaveDataNumber = 0; // as the Preferences dialog leaves it
    v.MaxResults = u"20"_s;
    ASSERT_TRUE(save(v, window));
    SettingsValues r = load(window);
    EXPECT_FALSE(r.SaveData);
    EXPECT_EQ(r.SaveDataNumber, 0);
    EXPECT_EQ(r.MaxResults, u"20"_s);

    const QByteArray once = readBytes(path());
    r.MaxResults = u"99"_s;
    EXPECT_TRUE(save(r, window));
    EXPECT_EQ(readBytes(path()), once);
}

TEST_F(SettingsStoreTest, BadValuesReportEachAndKeepTheirOldContent) {
    writeBytes(
        path(),
        "[Quarix]\nShowLast10=maybe\nShowTables=many\nHideFilter=1x\nListValues=False\n"
        "WriteLog=true\n[Grid]\nGridBackColor=red\nGridCellColor=99999999999\nGridPaging=perhaps\n"
        "[Windows]\nMainWindowTop=top\nMainWindowLeft=720\nWindowState=7\n");
    FakeWindow window;
    SettingsValues before;
    before.ShowLast10 = true;
    before.ShowTables = 1;
    before.ListValues = false;
    before.GridPaging = true;
    const SettingsValues v = load(window, before);
    EXPECT_EQ(window.errors, QStringList(7, kReadDataMessage));
    EXPECT_TRUE(v.ShowLast10);
    EXPECT_EQ(v.ShowTables, 1);
    EXPECT_EQ(v.HideFilter, 1);
    EXPECT_FALSE(v.ListValues);
    EXPECT_FALSE(window.pickListChecked);
    EXPECT_FALSE(v.WriteLog); // only "True" switches it on
    EXPECT_TRUE(v.GridPaging);
    EXPECT_EQ(window.colours.value(GridColour::Background), -2147483636);
    EXPECT_EQ(window.placement.value(WindowEdge::Top), 1200);
    EXPECT_EQ(window.placement.value(WindowEdge::Left), 720);
    EXPECT_EQ(window.state, 0);
}

TEST_F(SettingsStoreTest, MaximisedWindowKeepsTheLastNormalPlacement) {
    writeBytes(path(), "[Windows]\nMainWindowTop=100\nMainWindowLeft=200\nMainWindowWidth=9000\n"
                       "MainWindowHeight=7000\nWindowState=0\n");
    FakeWindow window;
    SettingsValues v = load(window);
    window.state = 2;
    window.placement[WindowEdge::Top] = 0;
    window.placement[WindowEdge::Width] = 20000;
    v.WindowState = u"2"_s;
    ASSERT_TRUE(save(v, window));
    EXPECT_EQ(saved("Windows", "MainWindowTop"), u"100"_s);
    EXPECT_EQ(saved("Windows", "MainWindowWidth"), u"9000"_s);
    EXPECT_EQ(saved("Windows", "WindowState"), u"2"_s);

    // A normal window writes only the edges above zero.
    window.state = 0;
    ASSERT_TRUE(save(v, window));
    EXPECT_EQ(saved("Windows", "MainWindowTop"), u"100"_s);
    EXPECT_EQ(saved("Windows", "MainWindowWidth"), u"20000"_s);
}

TEST_F(SettingsStoreTest, LongEntriesTravelWholeInThreeKeys) {
    FakeWindow window;
    SettingsValues v = load(window);
    const QString search150 =
        u"Table | /data/shop.mdb | Orders | Notes | "_s + QString(150 - 42, QLatin1Char('x'));
    ASSERT_EQ(search150.size(), 150);
    QString search297;
    for (int i = 0; i < 297; ++i)
        search297 += QLatin1Char(i % 10 == 9 ? ' ' : char('a' + i % 26));
    const QString search700 = search297 + u" AND [Ünïcode] Like '*\u4e2d*' "_s +
                              QString(400, QLatin1Char('y')) + QLatin1Char(' ');
    v.SavedSearches[0] = search150;
    v.SavedSearches[1] = search297;
    v.SavedSearches[2] = search700;
    ASSERT_TRUE(save(v, window));

    const IniFile file(path());
    const QString section = u"SavedSearches"_s;
    EXPECT_EQ(file.GetIniValue(section, u"Search1"_s), search150.left(99));
    EXPECT_EQ(file.GetIniValue(section, u"Search1B"_s), search150.mid(99));
    EXPECT_EQ(file.GetIniValue(section, u"Search1C"_s), QString());
    EXPECT_EQ(file.GetIniValue(section, u"Search20"_s), QString());
    // Short entries stay readable by a reader that cuts values at 99 characters.
    QString cut;
    for (const char* key : {"Search2", "Search2B", "Search2C"})
        cut += file.GetIniValue(section, QString::fromLatin1(key));
    EXPECT_EQ(cut, search297);
    EXPECT_EQ(file.GetWholeIniValue(section, u"Search3C"_s), search700.mid(198));

    const SettingsValues r = load(window);
    EXPECT_EQ(r.SavedSearches[0], search150);
    EXPECT_EQ(r.SavedSearches[1], search297); // pieces ending in a blank too
    EXPECT_EQ(r.SavedSearches[2], search700);

    // Pieces of a hundred, as another writer may leave them, read whole too.
    const QString pieces = QString(99, QLatin1Char('a')) + QString(100, QLatin1Char('b')) +
                           QString(100, QLatin1Char('c'));
    IniFile edited(path());
    edited.SetIniValue(section, u"Search4"_s, pieces.left(99));
    edited.SetIniValue(section, u"Search4B"_s, pieces.mid(99, 100));
    edited.SetIniValue(section, u"Search4C"_s, pieces.mid(199));
    ASSERT_TRUE(edited.save());
    EXPECT_EQ(load(window).SavedSearches[3], pieces);
}

TEST_F(SettingsStoreTest, ProgramsAreJoinedAndSplitAtBars) {
    FakeWindow window;
    SettingsValues v = load(window);
    v.Programs[0] = u"A,/bin/a|B,/bin/b"_s;
    v.Programs[1] = u"C,/bin/c"_s;
    v.Programs[9] = u"J,/bin/j"_s;
    ASSERT_TRUE(save(v, window));
    const SettingsValues r = load(window);
    EXPECT_EQ(r.Programs[0], u"A,/bin/a"_s);
    EXPECT_EQ(r.Programs[1], u"B,/bin/b"_s);
    EXPECT_EQ(r.Programs[2], u"C,/bin/c"_s);
    EXPECT_EQ(r.Programs[9], QString()); // pushed out by the spill
}

TEST_F(SettingsStoreTest, OnlyTrueSwitchesCarryOverIntoAnotherFile) {
    FakeWindow window;
    SettingsValues before;
    before.WriteLog = before.SQLMode = before.DebugSQL = true;
    before.HideFilter = 1;
    const SettingsValues v = load(window, before);
    EXPECT_TRUE(v.WriteLog && v.SQLMode && v.DebugSQL);
    EXPECT_EQ(v.HideFilter, 0);
}

} // namespace
