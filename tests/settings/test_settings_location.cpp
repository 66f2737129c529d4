#include "settings/SettingsLocation.h"

#include "SettingsTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::test;

namespace {

class SettingsLocationTest : public ::testing::Test {
protected:
    QString folder(const char* name) const { return qpath(dir / name) + QLatin1Char('/'); }
    SettingsEnvironment env() const { return twoFolderEnvironment(dir); }
    ScratchFolder dir{"location"};
};

TEST_F(SettingsLocationTest, FoldersFollowTheVariablesThenTheSystem) {
    const SettingsEnvironment set = fakeEnvironment({{u"ALLUSERSPROFILE"_s, u"/shared"_s},
                                                     {u"APPDATA"_s, u"/home/ann/app/"_s},
                                                     {u"TEMP"_s, u"/scratch"_s},
                                                     {u"USERNAME"_s, u"ann"_s},
                                                     {u"COMPUTERNAME"_s, u"DESK1"_s}});
    EXPECT_EQ(set.allUsersFolder(), u"/shared/"_s);
    EXPECT_EQ(set.perUserFolder(), u"/home/ann/app/"_s);
    EXPECT_EQ(set.tempFolder(), u"/scratch/"_s);
    EXPECT_EQ(set.userName(), u"ann"_s);
    EXPECT_EQ(set.computerName(), u"DESK1"_s);

    const SettingsEnvironment unset =
        fakeEnvironment({{u"XDG_DATA_HOME"_s, u"/xd"_s}, {u"XDG_CONFIG_HOME"_s, u"/xc"_s}});
    EXPECT_EQ(unset.allUsersFolder(), u"/xd/quarix/"_s);
    EXPECT_EQ(unset.perUserFolder(), u"/xc/quarix/"_s);
    EXPECT_FALSE(unset.tempFolder().isEmpty());
    EXPECT_FALSE(unset.userName().isEmpty());
    EXPECT_FALSE(unset.computerName().isEmpty());

    const SettingsEnvironment home = fakeEnvironment({{u"HOME"_s, u"/home/bo"_s}});
    EXPECT_EQ(home.allUsersFolder(), u"/home/bo/.local/share/quarix/"_s);
    EXPECT_EQ(home.perUserFolder(), u"/home/bo/.config/quarix/"_s);
}

TEST_F(SettingsLocationTest, MachineFolderIsUsedOnlyWhenSetUp) {
    const QString machine = qpath(dir / "machine");
    const SettingsEnvironment env = fakeEnvironment({{u"XDG_DATA_HOME"_s, u"/xd"_s}}, machine);
    EXPECT_EQ(env.allUsersFolder(), u"/xd/quarix/"_s);
    QDir().mkpath(machine);
    EXPECT_EQ(env.allUsersFolder(), machine + QLatin1Char('/'));
}

TEST_F(SettingsLocationTest, WithoutMarkerTheMachineFileIsUsed) {
    const SettingsLocation location = chooseSettingsLocation(env());
    EXPECT_FALSE(location.TermServMode);
    EXPECT_FALSE(location.TSLocked);
    EXPECT_EQ(location.TSParameters, QString());
    EXPECT_EQ(location.SettingsFolder, folder("all"));
    EXPECT_EQ(location.settingsFilePath(), folder("all") + u"Quarix.ini"_s);
}

TEST_F(SettingsLocationTest, EmptyMarkerTurnsMultiUserModeOnWithoutParameters) {
    QDir().mkpath(qpath(dir / "all"));
    writeBytes(markerFilePath(env()), QByteArray());
    const SettingsLocation location = chooseSettingsLocation(env());
    EXPECT_TRUE(location.TermServMode);
    EXPECT_TRUE(location.TSLocked);
    EXPECT_EQ(location.TSParameters, QString());
    EXPECT_EQ(location.SettingsFolder, folder("user"));
}

TEST_F(SettingsLocationTest, MarkerFileRoundTripAndFailure) {
    QString error;
    ASSERT_TRUE(writeMarkerFile(env(), u"/K/L"_s, &error)) << error.toStdString();
    EXPECT_EQ(readBytes(folder("all") + u"TermServ"_s), QByteArray("/K/L\n"));
    EXPECT_EQ(chooseSettingsLocation(env()).TSParameters, u"/K/L"_s);

    // A marker written on Windows: CRLF, a second line that is not read.
    writeBytes(markerFilePath(env()), "/T-/Q-\r\nignored\r\n");
    EXPECT_EQ(chooseSettingsLocation(env()).TSParameters, u"/T-/Q-"_s);

    ASSERT_TRUE(deleteMarkerFile(env(), &error));
    EXPECT_FALSE(QFile::exists(markerFilePath(env())));
    EXPECT_EQ(chooseSettingsLocation(env()).SettingsFolder, folder("all"));
    EXPECT_TRUE(deleteMarkerFile(env(), &error)); // already gone

    // A marker that cannot be written is reported.
    error.clear();
    EXPECT_FALSE(writeMarkerFile(blockedEnvironment(dir), u"/K"_s, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
