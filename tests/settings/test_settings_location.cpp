#include "settings/SettingsLocation.h"

#include "SettingsTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace quarix::test;

namespace {

class SettingsLocationTest : public ::testing::Test {
protected:
    QString folder(const char* name) const { return qpath(dir / name) + QLatin1Char('/'); }
    SettingsEnvironment env() const { return twoFolderEnvironment(dir); }
    ScratchFolder dir{"location"};
};

TEST_F(SettingsLocationTest, FoldersFollowTheVariablesThenTheSystem) {
    const SettingsEnvironment set =
        fakeEnvironment({{QStringLiteral("ALLUSERSPROFILE"), QStringLiteral("/shared")},
                         {QStringLiteral("APPDATA"), QStringLiteral("/home/ann/app/")},
                         {QStringLiteral("TEMP"), QStringLiteral("/scratch")},
                         {QStringLiteral("USERNAME"), QStringLiteral("ann")},
                         {QStringLiteral("COMPUTERNAME"), QStringLiteral("DESK1")}});
    EXPECT_EQ(set.allUsersFolder(), QStringLiteral("/shared/"));
    EXPECT_EQ(set.perUserFolder(), QStringLiteral("/home/ann/app/"));
    EXPECT_EQ(set.tempFolder(), QStringLiteral("/scratch/"));
    EXPECT_EQ(set.userName(), QStringLiteral("ann"));
    EXPECT_EQ(set.computerName(), QStringLiteral("DESK1"));

    const SettingsEnvironment unset =
        fakeEnvironment({{QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/xd")},
                         {QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/xc")}});
    EXPECT_EQ(unset.allUsersFolder(), QStringLiteral("/xd/quarix/"));
    EXPECT_EQ(unset.perUserFolder(), QStringLiteral("/xc/quarix/"));
    EXPECT_FALSE(unset.tempFolder().isEmpty());
    EXPECT_FALSE(unset.userName().isEmpty());
    EXPECT_FALSE(unset.computerName().isEmpty());

    const SettingsEnvironment home =
        fakeEnvironment({{QStringLiteral("HOME"), QStringLiteral("/home/bo")}});
    EXPECT_EQ(home.allUsersFolder(), QStringLiteral("/home/bo/.local/share/quarix/"));
    EXPECT_EQ(home.perUserFolder(), QStringLiteral("/home/bo/.config/quarix/"));
}

TEST_F(SettingsLocationTest, MachineFolderIsUsedOnlyWhenSetUp) {
    const QString machine = qpath(dir / "machine");
    const SettingsEnvironment env =
        fakeEnvironment({{QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/xd")}}, machine);
    EXPECT_EQ(env.allUsersFolder(), QStringLiteral("/xd/quarix/"));
    QDir().mkpath(machine);
    EXPECT_EQ(env.allUsersFolder(), machine + QLatin1Char('/'));
}

TEST_F(SettingsLocationTest, WithoutMarkerTheMachineFileIsUsed) {
    const SettingsLocation location = chooseSettingsLocation(env());
    EXPECT_FALSE(location.TermServMode);
    EXPECT_FALSE(location.TSLocked);
    EXPECT_EQ(location.TSParameters, QString());
    EXPECT_EQ(location.SettingsFolder, folder("all"));
    EXPECT_EQ(location.settingsFilePath(), folder("all") + QStringLiteral("Quarix.ini"));
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

TEST_F(SettingsLocationTest, MarkerFileRoundTrip) {
    QString error;
    ASSERT_TRUE(writeMarkerFile(env(), QStringLiteral("/K/L"), &error)) << error.toStdString();
    EXPECT_EQ(readBytes(folder("all") + QStringLiteral("TermServ")), QByteArray("/K/L\n"));
    EXPECT_EQ(chooseSettingsLocation(env()).TSParameters, QStringLiteral("/K/L"));

    // A marker written on Windows: CRLF, a second line that is not read.
    writeBytes(markerFilePath(env()), "/T-/Q-\r\nignored\r\n");
    EXPECT_EQ(chooseSettingsLocation(env()).TSParameters, QStringLiteral("/T-/Q-"));

    ASSERT_TRUE(deleteMarkerFile(env(), &error));
    EXPECT_FALSE(QFile::exists(markerFilePath(env())));
    EXPECT_EQ(chooseSettingsLocation(env()).SettingsFolder, folder("all"));
    EXPECT_TRUE(deleteMarkerFile(env(), &error)); // already gone
}

TEST_F(SettingsLocationTest, MarkerThatCannotBeWrittenIsReported) {
    const SettingsEnvironment blocked = blockedEnvironment(dir);
    QString error;
    EXPECT_FALSE(writeMarkerFile(blocked, QStringLiteral("/K"), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
