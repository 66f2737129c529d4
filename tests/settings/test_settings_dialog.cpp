#include "settings/frmSettings.h"

#include "SettingsTestSupport.h"
#include "settings/ColourValue.h"
#include "settings/SearchLog.h"
#include "settings/SettingsDialogPreview.h"
#include "tests/support/Screenshots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::test;

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    SettingsDialogTest() {
        LoadSettings(IniFile(), values, SettingsWindowPort{});
        values.WindowState = u"0"_s;
        location.SettingsFolder = qpath(dir / "all") + QLatin1Char('/');
    }
    ~SettingsDialogTest() override { delete dialog; }
    SettingsEnvironment env() const { return twoFolderEnvironment(dir); }
    frmSettings* open(SettingsEnvironment environment = {}) {
        SettingsDialogPort port;
        port.applyGridColour = [this](GridColour c, qint32 v) { colours.append({c, v}); };
        port.chooseColour = [this] { return nextColour; };
        port.open = [this](const QString& path) {
            opened << path;
            return !openFails && QFile::exists(path);
        };
        port.showMessage = [this](const QString& m) { messages << m; };
        port.writeSettingsFile = [this] {
            QDir().mkpath(qpath(dir / "all"));
            writeBytes(location.SettingsFolder + u"Quarix.ini"_s, "[Quarix]\r\n");
        };
        port.accepted = [this](bool reload) { accepted << reload; };
        dialog =
            new frmSettings(values, location, environment.variable ? environment : env(), port);
        dialog->show();
        return dialog;
    }
    template <typename W> W* find(const char* name) const {
        W* w = dialog->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) { find<QAbstractButton>(name)->click(); }
    bool closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }

    ScratchFolder dir{"dialog"};
    SettingsValues values;
    SettingsLocation location;
    QPointer<frmSettings> dialog;
    QList<QPair<GridColour, qint32>> colours;
    std::optional<qint32> nextColour;
    QStringList opened;
    QStringList messages;
    QList<bool> accepted;
    bool openFails = false;
};

TEST_F(SettingsDialogTest, ShowsTheSettings) {
    values.WindowState = u"2"_s;
    values.GridFontSize = u"9"_s; // not in the list: still shown
    values.HideFilter = 1;
    values.ShowLast10 = false;
    open();
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(find<QComboBox>("cmbwinstate")->currentText(), u"Maximised"_s);
    EXPECT_EQ(find<QComboBox>("cmbFontSize")->currentText(), u"9"_s);
    EXPECT_EQ(find<QLineEdit>("txtResultMax")->text(), u"50"_s);
    EXPECT_EQ(find<QLineEdit>("txtValueListMax")->text(), u"50"_s);
    EXPECT_FALSE(find<QPushButton>("cmdLog")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("cmdINI")->isVisible());
    EXPECT_EQ(find<QLabel>("lblDataFile")->text(), u"Machine Data File"_s);
    const std::pair<const char*, bool> checks[] = {
        {"chkTableon", true},     {"chkQueryon", true}, {"chkautofit", true},
        {"chkGridPaging", false}, {"chklast10", true},  {"chkHidefilter", true},
        {"chkwritelog", false},   {"chkData", true},    {"chkTermServ", false}};
    for (const auto& [name, checked] : checks)
        EXPECT_EQ(find<QCheckBox>(name)->isChecked(), checked) << name;
}

TEST_F(SettingsDialogTest, OkStoresTheControlsUnchecked) {
    values.WindowState = u"2"_s;
    open();
    find<QComboBox>("cmbwinstate")->setCurrentText(u"Minimised"_s);
    find<QComboBox>("cmbFontSize")->setCurrentText(u"16"_s);
    find<QLineEdit>("txtResultMax")->setText(u"120"_s);
    find<QLineEdit>("txtValueListMax")->setText(u"75"_s);
    click("chkautofit");
    click("chkGridPaging");
    click("chklast10");
    click("chkHidefilter");
    click("chkwritelog");
    click("chkTableon");
    click("OKButton");
    EXPECT_EQ(values.WindowState, u"1"_s);
    EXPECT_EQ(values.GridFontSize, u"16"_s);
    EXPECT_EQ(values.MaxResults, u"120"_s);
    EXPECT_EQ(values.ValueListMax, u"75"_s);
    EXPECT_EQ(values.AutoFitGrid, u"0"_s);
    EXPECT_TRUE(values.GridPaging);
    EXPECT_FALSE(values.ShowLast10);
    EXPECT_EQ(values.HideFilter, 1);
    EXPECT_TRUE(values.WriteLog);
    EXPECT_EQ(values.ShowTables, 0);
    EXPECT_EQ(values.ShowQueries, 1);
    EXPECT_EQ(accepted, QList<bool>{false});
    EXPECT_TRUE(closed());
}

TEST_F(SettingsDialogTest, NeitherTablesNorQueriesKeepsTheDialogOpen) {
    open();
    click("chkTableon");
    click("chkQueryon");
    find<QLineEdit>("txtResultMax")->setText(u"10"_s);
    click("OKButton");
    EXPECT_FALSE(closed());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(u"Show Tables or Show Queries"_s));
    EXPECT_EQ(values.ShowTables, 1);
    EXPECT_EQ(values.MaxResults, u"50"_s);
    EXPECT_TRUE(accepted.isEmpty());
    click("CancelButton");
    EXPECT_TRUE(closed());
    EXPECT_TRUE(accepted.isEmpty());
}

TEST_F(SettingsDialogTest, ColourButtonsColourTheGridAtOnce) {
    open();
    click("cmdBgcolor_0"); // cancelled
    EXPECT_TRUE(colours.isEmpty());
    nextColour = 0x00FF8040;
    click("cmdBgcolor_1");
    click("cmdBgcolor_2");
    click("cmdBgcolor_3");
    using P = QPair<GridColour, qint32>;
    EXPECT_EQ(colours, (QList<P>{P{GridColour::Cell, 0x00FF8040}, P{GridColour::Text, 0x00FF8040},
                                 P{GridColour::Background, kSystemAppWorkspace},
                                 P{GridColour::Cell, kSystemWindowBackground},
                                 P{GridColour::Text, kSystemWindowText}}));
    click("CancelButton");
    EXPECT_EQ(colours.size(), 5); // Cancel does not undo them
}

TEST_F(SettingsDialogTest, SaveOnExitSwitch) {
    open();
    EXPECT_TRUE(find<QPushButton>("cmdINI")->isVisible());
    click("cmdINI"); // no file yet: it is written first, then opened
    EXPECT_EQ(opened, QStringList{location.SettingsFolder + u"Quarix.ini"_s});
    EXPECT_TRUE(messages.isEmpty());
    click("chkData");
    click("OKButton");
    EXPECT_TRUE(values.SaveData); // the next save still runs once
    EXPECT_EQ(values.SaveDataNumber, 0);

    values.SaveData = false;
    open();
    EXPECT_FALSE(find<QPushButton>("cmdINI")->isVisible());
    click("chkData");
    click("OKButton");
    EXPECT_TRUE(values.SaveData);
    EXPECT_EQ(values.SaveDataNumber, 1);
}

// Page size and value-list maximum take whole numbers: typed letters are
// refused, and a value from an edited file keeps the dialog open on OK.
TEST_F(SettingsDialogTest, NumberBoxesTakeWholeNumbersOnly) {
    for (const char* name : {"txtResultMax", "txtValueListMax"}) {
        SCOPED_TRACE(name);
        messages.clear();
        open();
        QLineEdit* box = find<QLineEdit>(name);
        box->clear();
        QTest::keyClicks(box, u"4a-b.0c"_s);
        EXPECT_EQ(box->text(), u"40"_s);
        box->setText(u"abc"_s);
        click("OKButton");
        EXPECT_FALSE(closed());
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(u"whole number"_s));
        EXPECT_EQ(values.MaxResults, u"50"_s);
        EXPECT_TRUE(accepted.isEmpty());
        delete dialog;
    }
}

TEST_F(SettingsDialogTest, AnIniFileNothingOpensIsReported) {
    openFails = true;
    open();
    click("cmdINI");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(u"Quarix.ini"_s));
}

TEST_F(SettingsDialogTest, LogButtonOpensTheLogOrSaysItIsMissing) {
    values.WriteLog = true;
    open();
    ASSERT_TRUE(find<QPushButton>("cmdLog")->isEnabled());
    click("cmdLog");
    EXPECT_EQ(messages, QStringList{kSearchLogNotFound});
    EXPECT_FALSE(find<QPushButton>("cmdLog")->isEnabled());
    click("CancelButton");

    QDir().mkpath(qpath(dir / "all"));
    writeBytes(searchLogPath(env()), kSearchLogHeader.toUtf8());
    open();
    click("cmdLog");
    EXPECT_EQ(opened.last(), searchLogPath(env()));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(SettingsDialogTest, MultiUserControlsFollowTheLocks) {
    location.TermServMode = location.TSLocked = location.TablesLocked = true;
    location.TSParameters = u"/K/L"_s;
    open();
    EXPECT_EQ(find<QLabel>("lblDataFile")->text(), u"User Data File"_s);
    EXPECT_TRUE(find<QCheckBox>("chkTermServ")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("chkTermServ")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("txtTSparameters")->isEnabled());
    EXPECT_EQ(find<QLineEdit>("txtTSparameters")->text(), u"/K/L"_s);
    EXPECT_FALSE(find<QCheckBox>("chkTableon")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("chkQueryon")->isEnabled());
    click("CancelButton");

    location.TSLocked = false; // after /X
    open();
    EXPECT_TRUE(find<QCheckBox>("chkTermServ")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>("txtTSparameters")->isEnabled());
}

TEST_F(SettingsDialogTest, MarkerFailureIsReportedAndTheOtherSettingsStay) {
    open(blockedEnvironment(dir));
    click("chkTermServ");
    find<QLineEdit>("txtResultMax")->setText(u"30"_s);
    click("OKButton");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(u"Quarix could not switch multi-user mode on"_s));
    EXPECT_EQ(values.MaxResults, u"30"_s);
    EXPECT_FALSE(location.TermServMode);
    EXPECT_EQ(accepted, QList<bool>{false});
    EXPECT_TRUE(closed());
}

TEST_F(SettingsDialogTest, AnotherProgramWindowTakingTheFocusClosesIt) {
    open();
    dialog->activateWindow();
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(closed());
    EXPECT_TRUE(accepted.isEmpty());
}

TEST_F(SettingsDialogTest, ScreenshotPreviewDrawsTheWholeDialog) {
    const QImage image = renderSettingsDialogPreview();
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 400);
    EXPECT_TRUE(image.save(quarix::test::screenshotFolder() + u"/preferences.png"_s));
}

} // namespace
