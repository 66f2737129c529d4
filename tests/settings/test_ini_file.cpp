#include "settings/IniFile.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

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
                       "Other=second section is ignored\n");
    const IniFile file(path());
    const QString section = QStringLiteral("Quarix");
    EXPECT_EQ(file.GetIniValue(section, QStringLiteral("SHOWTABLES")), QStringLiteral("0"));
    EXPECT_EQ(file.GetIniValue(section, QStringLiteral("Empty")), QString());
    EXPECT_EQ(file.GetIniValue(section, QStringLiteral("Missing")), QString());
    EXPECT_EQ(file.GetIniValue(section, QStringLiteral("Quoted")), QStringLiteral(" padded "));
    EXPECT_EQ(file.GetIniValue(section, QStringLiteral("Single")), QStringLiteral("x"));
    EXPECT_EQ(file.GetIniValue(section, QStringLiteral("Other")), QString());
    EXPECT_EQ(file.GetIniValue(QStringLiteral("Nowhere"), QStringLiteral("ShowTables")), QString());
}

TEST_F(IniFileTest, ReadsAtMost99Characters) {
    const QString longValue = QString(150, QLatin1Char('a')) + QStringLiteral("z");
    writeBytes(path(), "[S]\nK=" + longValue.toUtf8() + "\n");
    const IniFile file(path());
    EXPECT_EQ(file.GetIniValue(QStringLiteral("S"), QStringLiteral("K")),
              QString(99, QLatin1Char('a')));
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
    file.SetIniValue(QStringLiteral("quarix"), QStringLiteral("showtables"), QStringLiteral("0"));
    file.SetIniValue(QStringLiteral("Quarix"), QStringLiteral("WriteLog"), QStringLiteral("True"));
    file.SetIniValue(QStringLiteral("Grid"), QStringLiteral("GridFontSize"), QStringLiteral("10"));
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
    file.SetIniValue(QStringLiteral("Quarix"), QStringLiteral("Version"),
                     QStringLiteral("8:0:120"));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(nested), QByteArray("[Quarix]\nVersion=8:0:120\n"));

    IniFile again(nested);
    again.SetIniValue(QStringLiteral("Quarix"), QStringLiteral("Version"),
                      QStringLiteral("8:0:120"));
    writeBytes(nested, "changed meanwhile");
    EXPECT_TRUE(again.save());
    EXPECT_EQ(readBytes(nested), QByteArray("changed meanwhile"));
}

TEST_F(IniFileTest, WindowsCodePageFilesReadAndStayInTheirCodePage) {
    // "Données" and the euro sign as Windows-1252 bytes.
    writeBytes(path(), "[History]\r\nRecent1=C:\\Donn\xE9"
                       "es\\Ventes \x80.mdb\r\n");
    IniFile file(path());
    EXPECT_EQ(file.GetIniValue(QStringLiteral("History"), QStringLiteral("Recent1")),
              QStringLiteral("C:\\Donn\u00E9es\\Ventes \u20AC.mdb"));

    file.SetIniValue(QStringLiteral("History"), QStringLiteral("Recent2"),
                     QStringLiteral("/srv/caf\u00E9.mdb"));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(readBytes(path()), QByteArray("[History]\r\nRecent1=C:\\Donn\xE9"
                                            "es\\Ventes \x80.mdb\r\n"
                                            "Recent2=/srv/caf\xE9.mdb\r\n"));

    // A character the code page lacks turns the whole file into UTF-8.
    file.SetIniValue(QStringLiteral("History"), QStringLiteral("Recent3"),
                     QStringLiteral("/srv/\u03A9.mdb"));
    ASSERT_TRUE(file.save());
    const IniFile reread(path());
    EXPECT_EQ(reread.GetIniValue(QStringLiteral("History"), QStringLiteral("Recent1")),
              QStringLiteral("C:\\Donn\u00E9es\\Ventes \u20AC.mdb"));
    EXPECT_EQ(reread.GetIniValue(QStringLiteral("History"), QStringLiteral("Recent3")),
              QStringLiteral("/srv/\u03A9.mdb"));
}

TEST_F(IniFileTest, ValuesComeBackExactlyAsWritten) {
    const QStringList values = {QStringLiteral(" leading"),  QStringLiteral("trailing "),
                                QStringLiteral("'quoted'"),  QStringLiteral("\"both\""),
                                QStringLiteral("a = b ; c"), QStringLiteral("'")};
    IniFile file(path());
    for (qsizetype i = 0; i < values.size(); ++i)
        file.SetIniValue(QStringLiteral("S"), QStringLiteral("K%1").arg(i), values[i]);
    file.SetIniValue(QStringLiteral("S"), QStringLiteral("Lines"),
                     QStringLiteral("one\r\ntwo\nthree"));
    ASSERT_TRUE(file.save());
    const IniFile reread(path());
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(reread.GetIniValue(QStringLiteral("S"), QStringLiteral("K%1").arg(i)), values[i]);
    EXPECT_EQ(reread.GetIniValue(QStringLiteral("S"), QStringLiteral("Lines")),
              QStringLiteral("one two three"));
}

TEST_F(IniFileTest, FailedSaveLeavesTheOldFile) {
    writeBytes(path("blocker"), "a file where a folder should be");
    IniFile file(qpath(dir / "blocker" / "Quarix.ini"));
    file.SetIniValue(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"));
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
    file.SetIniValue(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("2"));
    ASSERT_TRUE(file.save());
    EXPECT_EQ(QFile::permissions(path()) & all, all);
}

} // namespace
