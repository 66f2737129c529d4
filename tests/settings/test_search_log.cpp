#include "settings/SearchLog.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::test;

namespace {

class SearchLogTest : public ::testing::Test {
protected:
    SettingsEnvironment env() const {
        return fakeEnvironment({{u"ALLUSERSPROFILE"_s, qpath(dir)},
                                {u"USERNAME"_s, u"ann"_s},
                                {u"COMPUTERNAME"_s, u"DESK1"_s}});
    }
    static SearchLogEntry unpaged() {
        SearchLogEntry e;
        e.database = u"/data/shop.mdb"_s;
        e.table = u"Customers"_s;
        e.field = u"City"_s;
        e.criterion = u"[City] Like '*lon*'"_s;
        e.results = 12;
        e.seconds = u"0.25"_s;
        return e;
    }
    static QString line(const SearchLogEntry& e) {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        return searchLogLine(e, QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7)), us, u"ann"_s,
                             u"DESK1"_s);
    }
    ScratchFolder dir{"log"};
    QStringList messages;
    std::function<void(const QString&)> show = [this](const QString& m) { messages << m; };
};

// An unpaged line ends with empty paging columns; a paged one counts all
// records and names the page; fields with commas, quotes or line breaks
// are quoted.
TEST_F(SearchLogTest, LinesTellTheSearch) {
    SearchLogEntry paged = unpaged();
    paged.database = u"/data/shop.accdb"_s;
    paged.criterion = u"[City] Like '*lon*' ORDER BY [City] ASC"_s;
    paged.paged = true;
    paged.results = 230;
    paged.maxResults = 50;
    paged.currentPage = 1;
    SearchLogEntry quoted = unpaged();
    quoted.database = u"/data/a, b.mdb"_s;
    quoted.criterion = u"[Name] = \"O'Brien\"\r\nOR [Id] In (1,2)"_s;
    quoted.seconds = u"1,234.50"_s;
    const std::pair<SearchLogEntry, const char*> cases[] = {
        {unpaged(),
         "/data/shop.mdb,Customers,City,[City] Like '*lon*',12,0.25,ann,DESK1,Not Paged,,"},
        {paged, "/data/shop.accdb,Customers,City,[City] Like '*lon*' ORDER BY [City] ASC,230,0.25,"
                "ann,DESK1,Paged,50,Page 2"},
        {quoted, "\"/data/a, b.mdb\",Customers,City,\"[Name] = \"\"O'Brien\"\"\r\nOR [Id] In "
                 "(1,2)\",12,\"1,234.50\",ann,DESK1,Not Paged,,"}};
    for (const auto& [entry, expected] : cases) {
        const QString text = line(entry);
        EXPECT_TRUE(text.startsWith(u"3/9/24,2:05:07"_s)) << text.toStdString();
        EXPECT_EQ(text.section(QLatin1Char(','), 2), QString::fromUtf8(expected));
    }
}

TEST_F(SearchLogTest, FirstSearchCreatesTheFileWithItsHeader) {
    SettingsValues values;
    values.WriteLog = true;
    ASSERT_TRUE(WriteSearchLog(values, env(), unpaged(), show));
    ASSERT_TRUE(WriteSearchLog(values, env(), unpaged(), show));
    const QString text = QString::fromUtf8(readBytes(searchLogPath(env())));
    const QStringList lines = text.split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], kSearchLogHeader);
    EXPECT_TRUE(lines[1].endsWith(u",12,0.25,ann,DESK1,Not Paged,,"_s));
    EXPECT_EQ(lines[2].section(QLatin1Char(','), 2), lines[1].section(QLatin1Char(','), 2));
    EXPECT_EQ(lines[3], QString());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SearchLogTest, LogOffTouchesNothing) {
    SettingsValues values;
    EXPECT_TRUE(WriteSearchLog(values, env(), unpaged(), show));
    EXPECT_FALSE(QFile::exists(searchLogPath(env())));
}

} // namespace
