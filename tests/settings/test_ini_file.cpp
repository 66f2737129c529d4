#include "settings/IniFile.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::test;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString path(const char* name = "Quarix.ini") const { return qpath(dir / name); }
    ScratchFolder dir{"ini"};
};

TEST_F(IniFileTest, ReadsLikeWindowsProfileFiles) {
    writeBytes(path(), "; made by hand\n"
                       "[quarix]\n"
                       "  ShowTables =  0  \n"
                       "Empty=\n"
                       "showtables=1\n"
                       "Quoted=\" padded \"\n"
                       "Single='x'\n"
                       "[QUARIX]\n"
                       "Other=second section is ignored\n"
                       "[Long]\nK=" +
                           QByteArray(150, 'a') + "z\n");
    const IniFile file(path());
    const QString section = u"Quarix"_s;
    EXPECT_EQ(file.GetIniValue(section, u"SHOWTABLES"_s), u"0"_s);
    EXPECT_EQ(file.GetIniValue(section, u"Empty"_s), QString());
    EXPECT_EQ(file.GetIniValue(section, u"Missing"_s), QString());
    EXPECT_EQ(file.GetIniValue(section, u"Quoted"_s), u" padded "_s);
    EXPECT_EQ(file.GetIniValue(section, u"Single"_s), u"x"_s);
    EXPECT_EQ(file.GetIniValue(section, u"Other"_s), QString());
    EXPECT_EQ(file.GetIniValue(u"Nowhere"_s, u"ShowTables"_s), QString());
    EXPECT_EQ(file.GetIniValue(u"Long"_s, u"K"_s), QString(99, QLatin1Char('a'))); // at most 99
}

TEST_F(IniFileTest, WritingKeepsTheRestOfTheFileAsItWas) {
    writeBytes(path(), "; Quarix settings\r\n"
                       "[Quarix]\r\n"
                       "ShowTables = 1\r\n"
                       "MaxResults=50\r\n"
                       "\r\n"
                       "; history follows\r\n"
                       "[History]\r\n"
                       "Recent1=/data/a.mdb\r\n");
    IniFile file(path());
    file.SetIniValue(u"quarix"_s, u"showtables"_s, u"0"_s);
    file.SetIniValue(u"Quarix"_s, u"WriteLog"_s, u"True"_s);
    file.SetIniValue(u"Grid"_s, u"GridFontSize"_s, u"10"_s);
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(path()), QByteArray("; Quarix settings\r\n"
                                            "[Quarix]\r\n"
                                            "ShowTables =0\r\n"
                                            "MaxResults=50\r\n"
                                            "WriteLog=True\r\n"
                                            "\r\n"
                                            "; history follows\r\n"
                                            "[History]\r\n"
                                            "Recent1=/data/a.mdb\r\n"
                                            "\r\n"
                                            "[Grid]\r\n"
                                            "GridFontSize=10\r\n"));
}

TEST_F(IniFileTest, NewFileAndFolderAreCreatedAndNothingChangedWritesNothing) {
    const QString nested = qpath(dir / "new" / "folder" / "Quarix.ini");
    IniFile file(nested);
    file.SetIniValue(u"Quarix"_s, u"Version"_s, u"8:0:120"_s);
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(nested), QByteArray("[Quarix]\nVersion=8:0:120\n"));

    IniFile again(nested);
    again.SetIniValue(u"Quarix"_s, u"Version"_s, u"8:0:120"_s);
    writeBytes(nested, "changed meanwhile");
    EXPECT_TRUE(again.save());
    EXPECT_EQ(readBytes(nested), QByteArray("changed meanwhile"));
}

TEST_F(IniFileTest, WindowsCodePageFilesReadAndStayInTheirCodePage) {
    // "Données" and the euro sign as Windows-1252 bytes.
    writeBytes(path(), "[History]\r\nRecent1=C:\\Donn\xE9"
                       "es\\Ventes \x80.mdb\r\n");
    IniFile file(path());
    EXPECT_EQ(file.GetIniValue(u"History"_s, u"Recent1"_s),
              u"C:\\Donn\u00E9es\\Ventes \u20AC.mdb"_s);

    file.SetIniValue(u"History"_s, u"Recent2"_s, u"/srv/caf\u00E9.mdb"_s);
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(path()), QByteArray("[History]\r\nRecent1=C:\\Donn\xE9"
                                            "es\\Ventes \x80.mdb\r\n"
                                            "Recent2=/srv/caf\xE9.mdb\r\n"));

    // A character the code page lacks turns the whole file into UTF-8.
    file.SetIniValue(u"History"_s, u"Recent3"_s, u"/srv/\u03A9.mdb"_s);
    ASSERT_TRUE(file.save());
    const IniFile reread(path());
    EXPECT_EQ(reread.GetIniValue(u"History"_s, u"Recent1"_s),
              u"C:\\Donn\u00E9es\\Ventes \u20AC.mdb"_s);
    EXPECT_EQ(reread.GetIniValue(u"History"_s, u"Recent3"_s), u"/srv/\u03A9.mdb"_s);
}

TEST_F(IniFileTest, ValuesComeBackExactlyAsWritten) {
    const QStringList values = {u" leading"_s, u"trailing "_s, u"'quoted'"_s,
                                u"\"both\""_s, u"a = b ; c"_s, u"'"_s};
    IniFile file(path());
    for (qsizetype i = 0; i < values.size(); ++i)
        file.SetIniValue(u"S"_s, u"K%1"_s.arg(i), values[i]);
    file.SetIniValue(u"S"_s, u"Lines"_s, u"one\r\ntwo\nthree"_s);
    ASSERT_TRUE(file.save());
    const IniFile reread(path());
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.GetIniValue(u"S"_s, u"K%1"_s.arg(i)), values[i]);
    EXPECT_EQ(reread.GetIniValue(u"S"_s, u"Lines"_s), u"one two three"_s);
}

TEST_F(IniFileTest, FailedSaveLeavesTheOldFile) {
    writeBytes(path("blocker"), "a file where a folder should be");
    IniFile file(qpath(dir / "blocker" / "Quarix.ini"));
    file.SetIniValue(u"S"_s, u"K"_s, u"v"_s);
    EXPECT_FALSE(file.save());
    EXPECT_EQ(readBytes(path("blocker")), QByteArray("a file where a folder should be"));
}

TEST_F(IniFileTest, SavingKeepsTheFilesPermissions) {
    // A machine-wide file that every user may change stays so.
    writeBytes(path(), "[S]\nK=1\n");
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                     QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    ASSERT_TRUE(QFile::setPermissions(path(), all));
    IniFile file(path());
    file.SetIniValue(u"S"_s, u"K"_s, u"2"_s);
    ASSERT_TRUE(file.save());
    EXPECT_EQ(QFile::permissions(path()) & all, all);
}

} // namespace
