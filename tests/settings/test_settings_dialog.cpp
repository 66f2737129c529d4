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

using namespace quarix::test;

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    SettingsDialogTest() {
        LoadSettings(IniFile(), values, SettingsWindowPort{});
        values.WindowState = QStringLiteral("0");
        location.SettingsFolder = qpath(dir / "all") + QLatin1Char('/');
    }
    ~SettingsDialogTest() override { delete dialog; }
    SettingsEnvironment env() const {
        return fakeEnvironment({{QStringLiteral("ALLUSERSPROFILE"), qpath(dir / "all")},
                                {QStringLiteral("APPDATA"), qpath(dir / "user")}});
    }
    frmSettings* open(SettingsEnvironment environment = {}) {
        SettingsDialogPort port;
        port.applyGridColour = [this](GridColour c, qint32 v) { colours.append({c, v}); };
        port.chooseColour = [this] { return nextColour; };
        port.open = [this](const QString& path) {
            opened << path;
            return QFile::exists(path);
        };
        port.showMessage = [this](const QString& m) { messages << m; };
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

    std::filesystem::path dir = scratchDir("dialog");
    SettingsValues values;
    SettingsLocation location;
    QPointer<frmSettings> dialog;
    QList<QPair<GridColour, qint32>> colours;
    std::optional<qint32> nextColour;
    QStringList opened;
    QStringList messages;
    QList<bool> accepted;
};

TEST_F(SettingsDialogTest, ShowsTheSettingsWithTheirTexts) {
    values.WindowState = QStringLiteral("2");
    values.GridFontSize = QStringLiteral("9"); // not in the list: still shown
    values.HideFilter = 1;
    values.ShowLast10 = false;
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarix Settings"));
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(find<QComboBox>("cmbwinstate")->currentText(), QStringLiteral("Maximised"));
    EXPECT_EQ(find<QComboBox>("cmbFontSize")->currentText(), QStringLiteral("9"));
    EXPECT_TRUE(find<QCheckBox>("chkTableon")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("chkQueryon")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("chkautofit")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("chkGridPaging")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("chklast10")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("chkHidefilter")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("chkwritelog")->isChecked());
    EXPECT_FALSE(find<QPushButton>("cmdLog")->isEnabled());
    EXPECT_EQ(find<QPushButton>("cmdLog")->toolTip(),
              QStringLiteral("Click to view log file in Excel"));
    EXPECT_EQ(find<QLineEdit>("txtResultMax")->text(), QStringLiteral("50"));
    EXPECT_EQ(find<QLineEdit>("txtValueListMax")->text(), QStringLiteral("50"));
    EXPECT_TRUE(find<QCheckBox>("chkData")->isChecked());
    EXPECT_TRUE(find<QPushButton>("cmdINI")->isVisible());
    EXPECT_EQ(find<QLabel>("lblDataFile")->text(), QStringLiteral("Machine Data File"));
    EXPECT_FALSE(find<QCheckBox>("chkTermServ")->isChecked());
    EXPECT_EQ(find<QPushButton>("cmdBgcolor_0")->text(), QStringLiteral("Grid Background"));
    EXPECT_EQ(find<QPushButton>("cmdBgcolor_0")->toolTip(),
              QStringLiteral("Change grid background color"));
    EXPECT_EQ(find<QPushButton>("cmdBgcolor_1")->toolTip(), QStringLiteral("Change cell color"));
    EXPECT_EQ(find<QPushButton>("cmdBgcolor_2")->text(), QStringLiteral("Text Colour"));
    EXPECT_EQ(find<QPushButton>("cmdBgcolor_3")->toolTip(),
              QStringLiteral("Reset colors to default"));
}

TEST_F(SettingsDialogTest, OkStoresTheControlsUnchecked) {
    values.WindowState = QStringLiteral("2");
    open();
    find<QComboBox>("cmbwinstate")->setCurrentText(QStringLiteral("Minimised"));
    find<QComboBox>("cmbFontSize")->setCurrentText(QStringLiteral("16"));
    find<QLineEdit>("txtResultMax")->setText(QStringLiteral("abc"));
    find<QLineEdit>("txtValueListMax")->setText(QStringLiteral("75"));
    click("chkautofit");
    click("chkGridPaging");
    click("chklast10");
    click("chkHidefilter");
    click("chkwritelog");
    click("chkTableon");
    click("OKButton");
    EXPECT_EQ(values.WindowState, QStringLiteral("1"));
    EXPECT_EQ(values.GridFontSize, QStringLiteral("16"));
    EXPECT_EQ(values.MaxResults, QStringLiteral("abc"));
    EXPECT_EQ(values.ValueListMax, QStringLiteral("75"));
    EXPECT_EQ(values.AutoFitGrid, QStringLiteral("0"));
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
    find<QLineEdit>("txtResultMax")->setText(QStringLiteral("10"));
    click("OKButton");
    EXPECT_FALSE(closed());
    EXPECT_EQ(values.ShowTables, 1);
    EXPECT_EQ(values.MaxResults, QStringLiteral("50"));
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
    EXPECT_EQ(colours,
              (QList<P>{P{GridColour::Cell, 0x00FF8040}, P{GridColour::Text, 0x00FF8040},
                        P{GridColour::Background, 0}, P{GridColour::Cell, kSystemWindowBackground},
                        P{GridColour::Text, kSystemWindowText}}));
    click("CancelButton");
    EXPECT_EQ(colours.size(), 5); // Cancel does not undo them
}

TEST_F(SettingsDialogTest, SaveOnExitSwitch) {
    open();
    EXPECT_TRUE(find<QPushButton>("cmdINI")->isVisible());
    click("cmdINI");
    EXPECT_EQ(opened, QStringList{location.SettingsFolder + QStringLiteral("Quarix.ini")});
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
    location.TSParameters = QStringLiteral("/K/L");
    open();
    EXPECT_EQ(find<QLabel>("lblDataFile")->text(), QStringLiteral("User Data File"));
    EXPECT_TRUE(find<QCheckBox>("chkTermServ")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("chkTermServ")->isEnabled());
    EXPECT_FALSE(find<QLineEdit>("txtTSparameters")->isEnabled());
    EXPECT_EQ(find<QLineEdit>("txtTSparameters")->text(), QStringLiteral("/K/L"));
    EXPECT_FALSE(find<QCheckBox>("chkTableon")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("chkQueryon")->isEnabled());
    click("CancelButton");

    location.TSLocked = false; // after /X
    open();
    EXPECT_TRUE(find<QCheckBox>("chkTermServ")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>("txtTSparameters")->isEnabled());
}

TEST_F(SettingsDialogTest, MultiUserModeOnAndOffWritesAndDeletesTheMarker) {
    open();
    click("chkTermServ");
    find<QLineEdit>("txtTSparameters")->setText(QStringLiteral("/K/L"));
    click("OKButton");
    EXPECT_EQ(readBytes(markerFilePath(env())), QByteArray("/K/L\n"));
    EXPECT_TRUE(location.TermServMode);
    EXPECT_EQ(accepted, QList<bool>{true});

    const SettingsLocation reloaded = chooseSettingsLocation(env());
    EXPECT_EQ(reloaded.SettingsFolder, qpath(dir / "user") + QLatin1Char('/'));
    location = reloaded;
    location.TSLocked = false;
    open();
    click("chkTermServ");
    click("OKButton");
    EXPECT_FALSE(QFile::exists(markerFilePath(env())));
    EXPECT_FALSE(location.TermServMode);
    EXPECT_EQ(accepted, (QList<bool>{true, true}));
}

TEST_F(SettingsDialogTest, MarkerFailureIsReportedAndTheOtherSettingsStay) {
    writeBytes(qpath(dir / "blocker"), "not a folder");
    open(fakeEnvironment({{QStringLiteral("ALLUSERSPROFILE"), qpath(dir / "blocker")}}));
    click("chkTermServ");
    find<QLineEdit>("txtResultMax")->setText(QStringLiteral("30"));
    click("OKButton");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].startsWith(QStringLiteral("Quarix could not switch multi-user mode on")));
    EXPECT_EQ(values.MaxResults, QStringLiteral("30"));
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
    EXPECT_TRUE(image.save(quarix::test::screenshotFolder() + QStringLiteral("/preferences.png")));
}

} // namespace
