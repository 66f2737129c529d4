#include "SettingsWindowFixture.h"

#include "settings/SearchLog.h"

using namespace Qt::StringLiterals;

namespace {

TEST_F(SettingsWindowTest, PagedAndUnpagedSearchesAreLogged) {
    REQUIRE_ENGINE();
    writeFile(allUsers + u"/Quarix.ini"_s, "[Quarix]\nWriteLog=True\nMaxResults=10\n");
    frmMain* paged = start({copyOf("shop.accdb")});
    ASSERT_TRUE(paged->PagedMode);
    search(paged, u"City"_s, u"Equals"_s, u"London"_s);
    paged->cmdPage_Click(1);
    ASSERT_TRUE(settled(paged));
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    paged->close();
    delete paged;

    frmMain* unpaged = start({copyOf("shop.mdb")});
    ASSERT_FALSE(unpaged->PagedMode);
    search(unpaged, u"City"_s, u"Equals"_s, u"London"_s);
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();

    const QStringList lines =
        QString::fromUtf8(readFile(searchLogPath(environment()))).split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 5); // header, three searches, the last line end
    EXPECT_EQ(lines[0], kSearchLogHeader);
    const QStringList first = lines[1].split(QLatin1Char(','));
    ASSERT_EQ(first.size(), 13);
    EXPECT_TRUE(first[2].endsWith(u"/shop.accdb"_s));
    EXPECT_EQ(first.mid(3, 4).join(QLatin1Char(',')),
              u"Customers,City,[City] Like 'London' ORDER BY [City] ASC,22"_s);
    EXPECT_EQ(first.mid(8).join(QLatin1Char(',')), u"ann,pc1,Paged,10,Page 1"_s);
    EXPECT_TRUE(lines[2].endsWith(u",ann,pc1,Paged,10,Page 2"_s));
    const QStringList third = lines[3].split(QLatin1Char(','));
    ASSERT_EQ(third.size(), 13);
    EXPECT_TRUE(third[2].endsWith(u"/shop.mdb"_s));
    EXPECT_EQ(third.mid(3, 4).join(QLatin1Char(',')), u"Customers,City,[City] Like 'London',22"_s);
    EXPECT_TRUE(lines[3].endsWith(u",ann,pc1,Not Paged,,"_s));
    EXPECT_TRUE(lines[4].isEmpty());
}

TEST_F(SettingsWindowTest, ALogThatCannotBeWrittenIsReportedAndTheSearchStillSucceeds) {
    REQUIRE_ENGINE();
    const QString database = copyOf("shop.mdb");
    // A plain file where the all-users folder should be: nothing can be created in it.
    writeFile(allUsers, "not a folder");
    variables[u"ALLUSERSPROFILE"_s] = allUsers + u"/inside"_s;
    frmMain* window = start({database});
    window->settings.WriteLog = true;
    search(window, u"City"_s, u"Equals"_s, u"London"_s);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, kSearchLogWriteFailed);
    EXPECT_EQ(messages()[0].title, u"Quarix"_s);
    EXPECT_EQ(window->gridModel()->Rows() - 1, 22);
    EXPECT_TRUE(window->windowTitle().startsWith(u"Quarix - Customers (22 results"_s));
}

} // namespace
