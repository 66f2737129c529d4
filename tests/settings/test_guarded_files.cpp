// The settings folders' files against another user sharing the computer:
// links, other users' files and hard links in a folder anyone can write to,
// FIFOs and oversized files anywhere.
#include "settings/GuardedFile.h"
#include "settings/IniFile.h"
#include "settings/SearchLog.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsStore.h"

#include "SettingsTestSupport.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace quarix::test;

namespace {

class GuardedFiles : public testing::Test {
protected:
    void SetUp() override {
        // The machine-wide folder as the README sets it up, and a file of
        // the victim's elsewhere.
        std::filesystem::create_directories(dir / "shared");
        ::chmod((dir / "shared").c_str(), 01777);
        writeBytes(victim(), "echo hello\n");
    }
    QString shared(const char* name) const { return qpath(dir / "shared" / name); }
    QString victim() const { return qpath(dir / "victim.bashrc"); }
    static int modeOf(const QString& path) {
        struct stat info {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        return static_cast<int>(info.st_mode & 07777);
    }
    static bool isLink(const QString& path) { return QFileInfo(path).isSymLink(); }

    ScratchFolder dir{"guarded"};
};

TEST_F(GuardedFiles, ALinkInTheSharedFolderIsNeitherReadNorWrittenThrough) {
    ASSERT_TRUE(QFile::link(victim(), shared("Quarix.ini")));
    IniFile file(shared("Quarix.ini"));
    EXPECT_EQ(file.problem(), QStringLiteral("The settings file '%1' was not read: it is a link, "
                                             "which Quarix does not follow in a folder other "
                                             "users can write to.")
                                  .arg(shared("Quarix.ini")));
    QStringList messages;
    SettingsValues values;
    SettingsWindowPort port;
    port.showError = [&](const QString& m) { messages << m; };
    LoadSettings(file, values, port);
    EXPECT_EQ(messages, QStringList{kReadDataMessage + u"\r\n"_s + file.problem()});

    values.Recent1 = u"$(touch /tmp/owned)"_s;
    EXPECT_FALSE(SaveSettings(file, values, port));
    EXPECT_EQ(readBytes(victim()), QByteArray("echo hello\n"));
    EXPECT_TRUE(isLink(shared("Quarix.ini")));

    // The marker file and the log are no different.
    ASSERT_TRUE(QFile::link(victim(), shared("TermServ")));
    ASSERT_TRUE(QFile::link(victim(), shared("quarix_log.csv")));
    const SettingsEnvironment env = sharedFolderEnvironment(shared(""));
    QString error;
    EXPECT_FALSE(writeMarkerFile(env, u"/X"_s, &error));
    EXPECT_TRUE(error.contains(u"it is a link"_s)) << error.toStdString();
    values.WriteLog = true;
    EXPECT_FALSE(WriteSearchLog(values, env, SearchLogEntry{}, {}));
    EXPECT_EQ(readBytes(victim()), QByteArray("echo hello\n"));
}

TEST_F(GuardedFiles, TheUsersOwnLinkInAPrivateFolderIsFollowed) {
    std::filesystem::create_directories(dir / "private");
    std::filesystem::create_directories(dir / "dotfiles");
    writeBytes(qpath(dir / "dotfiles" / "Quarix.ini"), "[Quarix]\nMaxResults=70\n");
    const QString link = qpath(dir / "private" / "Quarix.ini");
    ASSERT_TRUE(QFile::link(qpath(dir / "dotfiles" / "Quarix.ini"), link));
    IniFile file(link);
    EXPECT_EQ(file.GetIniValue(u"Quarix"_s, u"MaxResults"_s), u"70"_s);
    file.SetIniValue(u"Quarix"_s, u"MaxResults"_s, u"80"_s);
    ASSERT_TRUE(file.save());
    EXPECT_TRUE(isLink(link));
    EXPECT_EQ(readBytes(qpath(dir / "dotfiles" / "Quarix.ini")),
              QByteArray("[Quarix]\nMaxResults=80\n"));
}

TEST_F(GuardedFiles, AHardLinkInTheSharedFolderIsNotChanged) {
    ASSERT_EQ(::link(QFile::encodeName(victim()).constData(),
                     QFile::encodeName(shared("Quarix.ini")).constData()),
              0);
    IniFile file(shared("Quarix.ini"));
    file.SetIniValue(u"History"_s, u"Recent1"_s, u"x"_s);
    EXPECT_FALSE(file.save());
    EXPECT_EQ(readBytes(victim()), QByteArray("echo hello\n"));
}

TEST_F(GuardedFiles, OnlyRegularFilesOfTheUsersOwnAreChangedInTheSharedFolder) {
    struct stat info {};
    info.st_mode = S_IFREG | 0644;
    info.st_nlink = 1;
    info.st_uid = ::geteuid();
    EXPECT_EQ(guarded_file::changeRefusal(info, true), QString());
    info.st_uid = 0;
    EXPECT_EQ(guarded_file::changeRefusal(info, true), QString()) << "the administrator's";
    info.st_uid = ::geteuid() + 1;
    EXPECT_EQ(guarded_file::changeRefusal(info, true), u"it belongs to another user"_s);
    EXPECT_EQ(guarded_file::changeRefusal(info, false), QString()) << "a folder of the user's";
    info.st_uid = ::geteuid();
    info.st_nlink = 2;
    EXPECT_EQ(guarded_file::changeRefusal(info, true), u"it has other names (hard links)"_s);
    info.st_mode = S_IFIFO | 0644;
    EXPECT_EQ(guarded_file::changeRefusal(info, false), u"it is not a regular file"_s);
}

TEST_F(GuardedFiles, NewFilesInTheSharedFolderLetNobodyElseWrite) {
    const SettingsEnvironment env = sharedFolderEnvironment(shared(""));
    SettingsValues values;
    values.WriteLog = true;
    ASSERT_TRUE(WriteSearchLog(values, env, SearchLogEntry{}, {}));
    EXPECT_EQ(modeOf(searchLogPath(env)), 0644);

    IniFile file(shared("Quarix.ini"));
    file.SetIniValue(u"S"_s, u"K"_s, u"1"_s);
    ASSERT_TRUE(file.save());
    EXPECT_EQ(modeOf(shared("Quarix.ini")), 0644);
    // A file left open to everyone is closed when saved.
    ::chmod(QFile::encodeName(shared("Quarix.ini")).constData(), 0666);
    IniFile again(shared("Quarix.ini"));
    again.SetIniValue(u"S"_s, u"K"_s, u"2"_s);
    ASSERT_TRUE(again.save());
    EXPECT_EQ(modeOf(shared("Quarix.ini")), 0664);
}

TEST_F(GuardedFiles, AHugeOrSpecialSettingsFileIsNeitherReadNorReplaced) {
    const QString path = shared("Quarix.ini");
    const QByteArray huge = "[Quarix]\nMaxResults=70\n" + QByteArray(IniFile::MaxFileBytes, ';');
    writeBytes(path, huge);
    IniFile file(path);
    EXPECT_TRUE(file.problem().endsWith(u"it is larger than 1024 KB."_s))
        << file.problem().toStdString();
    EXPECT_EQ(file.GetIniValue(u"Quarix"_s, u"MaxResults"_s), QString());
    file.SetIniValue(u"Quarix"_s, u"MaxResults"_s, u"5"_s);
    EXPECT_FALSE(file.save());
    EXPECT_EQ(readBytes(path), huge) << "nothing in it is lost";

    // A FIFO would block the start for ever.
    const QString fifo = qpath(dir / "Quarix.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(IniFile(fifo).problem(),
              u"The settings file '%1' was not read: it is not a regular file."_s.arg(fifo));
}

} // namespace
