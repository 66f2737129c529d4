#include "search/ColumnWidths.h"
#include "search/ResultGridModel.h"
#include "search/WheelScroll.h"

#include <gtest/gtest.h>

using namespace quarix::search;

namespace {

TEST(ColumnWidths, AutoFitScalesTheMeasuredWidthByTheGridFont) {
    EXPECT_EQ(autoFitColumnWidth(1234.0, 13), 2468); // 13 / 6.5 = 2
    EXPECT_EQ(autoFitColumnWidth(1234.9, 13), 2468); // the measure is taken whole first
    EXPECT_EQ(autoFitColumnWidth(13, 8), 16);        // 16.0
    EXPECT_EQ(autoFitColumnWidth(0, 8), 0);
    EXPECT_EQ(autoFitColumnWidth(13, 3.25), 6);     // 6.5: halves go to the even neighbour
    EXPECT_EQ(autoFitColumnWidth(39, 3.25 / 3), 6); // 6.5 again
}

TEST(ColumnWidths, EvenWidthSharesTheGridLessItsMargin) {
    EXPECT_EQ(evenColumnWidth(5500, 5), 1000);
    EXPECT_EQ(evenColumnWidth(505, 2), 2); // 2.5 rounds to 2
    EXPECT_EQ(evenColumnWidth(507, 2), 4); // 3.5 rounds to 4
    EXPECT_EQ(evenColumnWidth(5500, 0), 0);
}

TEST(ColumnWidths, LongestTextIsTrimmedAndTheFirstOfEqualsWins) {
    ResultGridModel m;
    m.setRows({QStringLiteral("Id"), QStringLiteral("Name")},
              {{QStringLiteral("1"), QStringLiteral("  Bo  ")},
               {QStringLiteral("22"), QStringLiteral("Carla")},
               {QStringLiteral("333"), QStringLiteral("Diego")}});
    EXPECT_EQ(widestSampledText(m, 1, 100), QStringLiteral("Carla"));
    EXPECT_EQ(widestSampledText(m, 0, 100), QStringLiteral("333"));
    EXPECT_EQ(widestSampledText(m, 1, 0), QStringLiteral("Name")); // the header only
}

TEST(ColumnWidths, ASampleReadsBothEndsAndLeavesRoomForEveryRowNumber) {
    ResultGridModel m;
    std::vector<QStringList> rows;
    for (int i = 1; i <= 1200; ++i)
        rows.push_back({QString::number(i % 50),
                        i == 1150 ? QStringLiteral("Maximilian") : QStringLiteral("Al"),
                        i == 3 ? QStringLiteral("x") : QString::number(i % 7)});
    m.setRows({QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Mixed")}, rows);
    EXPECT_EQ(widestSampledText(m, 0, 5),
              QStringLiteral("0000")); // 1,200 rows: room for four digits
    EXPECT_EQ(widestSampledText(m, 1, 100), QStringLiteral("Maximilian")); // among the last
    EXPECT_EQ(widestSampledText(m, 2, 5), QStringLiteral("Mixed"));        // not all numbers
    EXPECT_EQ(widestSampledText(m, 1, 5000), QStringLiteral("Maximilian"));
}

TEST(WheelScroll, FiveRowsPerEventClampedAtBothEnds) {
    const int rows = 100;
    EXPECT_EQ(topRowAfterWheel(3, 120, rows), 0);
    EXPECT_EQ(topRowAfterWheel(12, 120, rows), 7);
    EXPECT_EQ(topRowAfterWheel(12, -120, rows), 17);
    EXPECT_EQ(topRowAfterWheel(0, 0, rows), 0); // zero counts as up
    EXPECT_EQ(topRowAfterWheel(20, 0, rows), 15);
    EXPECT_EQ(topRowAfterWheel(12, 1, rows), 7); // the distance does not matter
    EXPECT_EQ(topRowAfterWheel(12, -960, rows), 17);
    EXPECT_EQ(topRowAfterWheel(94, -120, rows), 99);
    EXPECT_EQ(topRowAfterWheel(95, -120, rows), 95); // past the last row: stays
    EXPECT_EQ(topRowAfterWheel(0, -120, 0), 0);
}

} // namespace
