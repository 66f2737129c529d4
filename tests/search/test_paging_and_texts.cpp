#include "search/Paging.h"
#include "search/RunMessages.h"
#include "search/StatusCaption.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace quarix::search;

namespace {

TEST(Paging, PageCountIsTheCeilingAndNextOnlyWhenARecordFollows) {
    for (const auto& [count, size, pages] : {std::tuple{250L, 100, 3L},
                                             {200L, 100, 2L},
                                             {201L, 100, 3L},
                                             {0L, 100, 1L},
                                             {500L, 0, 1L}})
        EXPECT_EQ((Paging{count, size}.pageCount()), pages) << count << "/" << size;

    const Paging p{200, 100};
    EXPECT_TRUE(p.hasNext(0));
    EXPECT_FALSE(p.hasNext(1));
    EXPECT_EQ(p.next(1), 1);
    EXPECT_FALSE(p.hasPrevious(0));
    EXPECT_TRUE(p.hasPrevious(1));
    EXPECT_EQ(p.previous(0), 0);
    EXPECT_FALSE((Paging{500, 0}.hasNext(0)));
}

TEST(Paging, TheLastPageHoldsOnlyItsOwnRecords) {
    const Paging p{250, 100};
    EXPECT_EQ(p.rowsOnPage(0), 100);
    EXPECT_EQ(p.rowsOnPage(2), 50);
    EXPECT_EQ(p.firstIndex(2), 200);
    EXPECT_EQ(p.rowsOnPage(3), 0);
    EXPECT_EQ((Paging{250, 0}.rowsOnPage(0)), 250);
    EXPECT_EQ(previousPageCaption(1), u"Prev (1)"_s);
    EXPECT_EQ(nextPageCaption(1), u"Next (3)"_s);
}

StatusInputs status(long rows, bool paged, int mode, long count = 0, long page = 0, int size = 100,
                    const char* seconds = "0.40") {
    return StatusInputs{u"Orders"_s, rows, QString::fromLatin1(seconds),
                        count,       page, size,
                        paged,       mode, paged ? u"shop.accdb"_s : u"shop.mdb"_s};
}

TEST(StatusCaption, EveryCase) {
    const std::pair<StatusInputs, const char*> cases[] = {
        {status(25, false, 1), "Orders (25 filtered results in 0.40 seconds) - shop.mdb"},
        {status(100, true, 1, 250), "Orders (100 filtered results shown out of 250 on page 1 out "
                                    "of 3 pages  in 0.40 seconds) - shop.accdb"},
        {status(50, true, 0, 250, 2), "Orders (50 results shown out of 250 on page 3 out of 3 "
                                      "pages  in 0.40 seconds) - shop.accdb"},
        {status(25, false, 0), "Orders (25 results in 0.40 seconds) - shop.mdb"},
        {status(0, false, 0), "Orders - shop.mdb"},
        {status(250, true, 0, 250, 0, 0), "Orders - shop.accdb"}};
    for (const auto& [in, caption] : cases)
        EXPECT_EQ(statusCaption(in), u"Quarix - "_s + QString::fromUtf8(caption));
    EXPECT_EQ(databaseCaption(u"/x/y/shop.mdb"_s), u"Quarix - shop.mdb"_s);
}

TEST(StatusSummary, SaysTheCountsPageAndTimeAfterTheTable) {
    const std::pair<StatusInputs, const char*> cases[] = {
        {status(25, false, 0, 25, 0, 0, "0.12"), "Orders: 25 results in 0.12 seconds"},
        {status(100, true, 0, 250, 1, 100),
         "Orders: 100 of 250 results, page 2 of 3, in 0.40 seconds"},
        {status(3, false, 1, 3, 0, 0, "0.01"), "Orders: 3 filtered results in 0.01 seconds"},
        {status(0, true, 0, 0, 0, 100, "0.01"), "Orders: no results"}};
    for (const auto& [in, summary] : cases)
        EXPECT_EQ(statusSummary(in), QString::fromUtf8(summary));
}

TEST(RunMessages, FailureAndDebugTexts) {
    EXPECT_EQ(searchFailureMessage(3075, u"Syntax error."_s),
              u"GET DATA: 3075 Syntax error.\n\nCheck your search criteria.\n\n"
              "Some functions can only be used on numbers."_s);
    EXPECT_EQ(searchFailureCaption(3075, u"Syntax error."_s),
              u"Quarix - Search Error: 3075 Syntax error."_s);
    EXPECT_EQ(debugSqlMessage(u"Select * from T where W"_s, u" ORDER BY [F] ASC"_s, 12, u"0.25"_s),
              u"Select * from T where W ORDER BY [F] ASC\n12 Records\n0.25 Seconds\n\n"
              "The SQL string has been copied to the clipboard."_s);
}

} // namespace
