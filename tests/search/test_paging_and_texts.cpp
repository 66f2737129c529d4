#include "search/Paging.h"
#include "search/RunMessages.h"
#include "search/StatusCaption.h"

#include <gtest/gtest.h>

using namespace quarix::search;

namespace {

TEST(Paging, PageCountIsTheCeilingAndNextOnlyWhenARecordFollows) {
    EXPECT_EQ((Paging{250, 100}.pageCount()), 3);
    EXPECT_EQ((Paging{200, 100}.pageCount()), 2);
    EXPECT_EQ((Paging{201, 100}.pageCount()), 3);
    EXPECT_EQ((Paging{0, 100}.pageCount()), 1);
    EXPECT_EQ((Paging{500, 0}.pageCount()), 1);

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
    EXPECT_EQ(previousPageCaption(1), QStringLiteral("Prev (1)"));
    EXPECT_EQ(nextPageCaption(1), QStringLiteral("Next (3)"));
}

StatusInputs status(long rows, bool paged, int mode, long count = 0, long page = 0,
                    int size = 100) {
    return StatusInputs{QStringLiteral("Orders"),
                        rows,
                        QStringLiteral("0.40"),
                        count,
                        page,
                        size,
                        paged,
                        mode,
                        paged ? QStringLiteral("shop.accdb") : QStringLiteral("shop.mdb")};
}

TEST(StatusCaption, EveryCase) {
    EXPECT_EQ(statusCaption(status(25, false, 1)),
              QStringLiteral("Quarix - Orders (25 filtered results in 0.40 seconds) - shop.mdb"));
    EXPECT_EQ(
        statusCaption(status(100, true, 1, 250)),
        QStringLiteral("Quarix - Orders (100 filtered results shown out of 250 on page 1 out of 3 "
                       "pages  in 0.40 seconds) - shop.accdb"));
    EXPECT_EQ(
        statusCaption(status(50, true, 0, 250, 2)),
        QStringLiteral("Quarix - Orders (50 results shown out of 250 on page 3 out of 3 pages  in "
                       "0.40 seconds) - shop.accdb"));
    EXPECT_EQ(statusCaption(status(25, false, 0)),
              QStringLiteral("Quarix - Orders (25 results in 0.40 seconds) - shop.mdb"));
    EXPECT_EQ(statusCaption(status(0, false, 0)), QStringLiteral("Quarix - Orders - shop.mdb"));
    EXPECT_EQ(statusCaption(status(250, true, 0, 250, 0, 0)),
              QStringLiteral("Quarix - Orders - shop.accdb"));
    EXPECT_EQ(databaseCaption(QStringLiteral("/x/y/shop.mdb")),
              QStringLiteral("Quarix - shop.mdb"));
}

TEST(RunMessages, FailureAndDebugTexts) {
    EXPECT_EQ(searchFailureMessage(3075, QStringLiteral("Syntax error.")),
              QStringLiteral("GET DATA: 3075 Syntax error.\n\nCheck your search criteria.\n\n"
                             "Some functions can only be used on numbers."));
    EXPECT_EQ(searchFailureCaption(3075, QStringLiteral("Syntax error.")),
              QStringLiteral("Quarix - Search Error: 3075 Syntax error."));
    EXPECT_EQ(
        debugSqlMessage(QStringLiteral("Select * from T where W"),
                        QStringLiteral(" ORDER BY [F] ASC"), 12, QStringLiteral("0.25")),
        QStringLiteral("Select * from T where W ORDER BY [F] ASC\n12 Records\n0.25 Seconds\n\n"
                       "The SQL string has been copied to the clipboard."));
}

} // namespace

TEST(StatusSummary, SaysTheCountsPageAndTimeAfterTheTable) {
    using quarix::search::StatusInputs;
    using quarix::search::statusSummary;
    const QString file = QStringLiteral("shop.mdb");
    EXPECT_EQ(statusSummary(StatusInputs{QStringLiteral("Orders"), 25, QStringLiteral("0.12"), 25,
                                         0, 0, false, 0, file}),
              QStringLiteral("Orders: 25 results in 0.12 seconds"));
    EXPECT_EQ(statusSummary(StatusInputs{QStringLiteral("Orders"), 100, QStringLiteral("0.40"), 250,
                                         1, 100, true, 0, file}),
              QStringLiteral("Orders: 100 of 250 results, page 2 of 3, in 0.40 seconds"));
    EXPECT_EQ(statusSummary(StatusInputs{QStringLiteral("Orders"), 3, QStringLiteral("0.01"), 3, 0,
                                         0, false, 1, file}),
              QStringLiteral("Orders: 3 filtered results in 0.01 seconds"));
    EXPECT_EQ(statusSummary(StatusInputs{QStringLiteral("Orders"), 0, QStringLiteral("0.01"), 0, 0,
                                         100, true, 0, file}),
              QStringLiteral("Orders: no results"));
}
