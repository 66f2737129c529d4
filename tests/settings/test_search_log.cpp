#include "settings/SearchLog.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

using namespace quarix::test;

namespace {

class SearchLogTest : public ::testing::Test {
protected:
    SettingsEnvironment env() const {
        return fakeEnvironment({{QStringLiteral("ALLUSERSPROFILE"), qpath(dir)},
                                {QStringLiteral("USERNAME"), QStringLiteral("ann")},
                                {QStringLiteral("COMPUTERNAME"), QStringLiteral("DESK1")}});
    }
    static SearchLogEntry unpaged() {
        SearchLogEntry e;
        e.database = QStringLiteral("/data/shop.mdb");
        e.table = QStringLiteral("Customers");
        e.field = QStringLiteral("City");
        e.criterion = QStringLiteral("[City] Like '*lon*'");
        e.results = 12;
        e.seconds = QStringLiteral("0.25");
        return e;
    }
    static QString line(const SearchLogEntry& e) {
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        return searchLogLine(e, QDateTime(QDate(2024, 3, 9), QTime(14, 5, 7)), us,
                             QStringLiteral("ann"), QStringLiteral("DESK1"));
    }
    ScratchFolder dir{"log"};
    QStringList messages;
    std::function<void(const QString&)> show = [this](const QString& m) { messages << m; };
};

TEST_F(SearchLogTest, UnpagedLineEndsWithEmptyPagingColumns) {
    const QString text = line(unpaged());
    EXPECT_TRUE(text.startsWith(QStringLiteral("3/9/24,2:05:07"))) << text.toStdString();
    EXPECT_EQ(
        text.section(QLatin1Char(','), 2),
        QStringLiteral(
            "/data/shop.mdb,Customers,City,[City] Like '*lon*',12,0.25,ann,DESK1,Not Paged,,"));
}

TEST_F(SearchLogTest, PagedLineCountsAllRecordsAndNamesThePage) {
    SearchLogEntry e = unpaged();
    e.database = QStringLiteral("/data/shop.accdb");
    e.criterion = QStringLiteral("[City] Like '*lon*' ORDER BY [City] ASC");
    e.paged = true;
    e.results = 230;
    e.maxResults = 50;
    e.currentPage = 1;
    EXPECT_EQ(
        line(e).section(QLatin1Char(','), 2),
        QStringLiteral("/data/shop.accdb,Customers,City,[City] Like '*lon*' ORDER BY [City] ASC,"
                       "230,0.25,ann,DESK1,Paged,50,Page 2"));
}

TEST_F(SearchLogTest, FieldsWithCommasQuotesOrLineBreaksAreQuoted) {
    SearchLogEntry e = unpaged();
    e.database = QStringLiteral("/data/a, b.mdb");
    e.criterion = QStringLiteral("[Name] = \"O'Brien\"\r\nOR [Id] In (1,2)");
    e.seconds = QStringLiteral("1,234.50");
    EXPECT_EQ(
        line(e).section(QLatin1Char(','), 2),
        QStringLiteral(
            "\"/data/a, b.mdb\",Customers,City,\"[Name] = \"\"O'Brien\"\"\r\nOR [Id] In (1,2)\","
            "12,\"1,234.50\",ann,DESK1,Not Paged,,"));
}

TEST_F(SearchLogTest, FirstSearchCreatesTheFileWithItsHeader) {
    SettingsValues values;
    values.WriteLog = true;
    ASSERT_TRUE(WriteSearchLog(values, env(), unpaged(), show));
    ASSERT_TRUE(WriteSearchLog(values, env(), unpaged(), show));
    const QString text = QString::fromUtf8(readBytes(searchLogPath(env())));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], kSearchLogHeader);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(",12,0.25,ann,DESK1,Not Paged,,")));
    EXPECT_EQ(lines[2].section(QLatin1Char(','), 2), lines[1].section(QLatin1Char(','), 2));
    EXPECT_EQ(lines[3], QString());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SearchLogTest, LogOffTouchesNothing) {
    SettingsValues values;
    EXPECT_TRUE(WriteSearchLog(values, env(), unpaged(), show));
    EXPECT_FALSE(QFile::exists(searchLogPath(env())));
}

TEST_F(SearchLogTest, UnwritableFolderGivesItsMessage) {
    const SettingsEnvironment blocked = blockedEnvironment(dir);
    SettingsValues values;
    values.WriteLog = true;
    EXPECT_FALSE(WriteSearchLog(values, blocked, unpaged(), show));
    EXPECT_EQ(messages, QStringList{kSearchLogWriteFailed});
}

TEST_F(SearchLogTest, LinesOfConcurrentWritersNeverMix) {
    SettingsValues values;
    values.WriteLog = true;
    auto writer = [&](const QString& table) {
        SearchLogEntry e = unpaged();
        e.table = table;
        e.criterion = QString(400, QLatin1Char('c'));
        for (int i = 0; i < 200; ++i)
            WriteSearchLog(values, env(), e, {});
    };
    std::thread a(writer, QStringLiteral("A"));
    std::thread b(writer, QStringLiteral("B"));
    a.join();
    b.join();
    QStringList lines =
        QString::fromUtf8(readBytes(searchLogPath(env()))).split(QStringLiteral("\r\n"));
    lines.removeLast();
    ASSERT_EQ(lines.size(), 401);
    EXPECT_EQ(lines.count(kSearchLogHeader), 1);
    for (const QString& l : lines.mid(1))
        EXPECT_EQ(l.section(QLatin1Char(','), 3, 3).size(), 1) << l.toStdString();
}

} // namespace
