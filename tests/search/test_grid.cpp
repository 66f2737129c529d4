#include "search/ColumnWidths.h"
#include "search/GridSort.h"
#include "search/ResultGridModel.h"
#include "search/WheelScroll.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace quarix::search;

namespace {

QStringList words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

QStringList column(const ResultGridModel& m, int c) {
    QStringList cells;
    for (long r = 1; r < m.Rows(); ++r)
        cells << m.TextMatrix(r, c);
    return cells;
}

// A lazily read result of columns A and B, cells "r<row>c<col>", that counts
// the rows read; with one column N, counting down, when there is no counter.
class TestSource : public RowSource {
public:
    explicit TestSource(long rows, long* read = nullptr) : rows_(rows), read_(read) {}
    QStringList headers() const override {
        return read_ ? QStringList{u"A"_s, u"B"_s} : QStringList{u"N"_s};
    }
    long rowCount() const override { return rows_; }
    std::vector<QStringList> rows(long first, long count) override {
        std::vector<QStringList> out;
        for (long r = first; r < first + count; ++r)
            out.push_back(read_ ? QStringList{u"r%1c0"_s.arg(r), u"r%1c1"_s.arg(r)}
                                : QStringList{QString::number(rows_ - r)});
        if (read_)
            *read_ += count;
        return out;
    }

private:
    long rows_;
    long* read_;
};

TEST(ResultGridModel, HeldPageAndGridShapes) {
    ResultGridModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(m.Rows(), 1);
    EXPECT_EQ(m.Cols(), 0);
    m.setRows({u"Name"_s, u"City"_s}, {{u"Ann"_s}, {u"Bo"_s, u"Oslo"_s}});
    EXPECT_EQ(m.Rows(), 3);
    EXPECT_EQ(m.Cols(), 2);
    EXPECT_EQ(m.TextMatrix(0, 1), u"City"_s);
    EXPECT_EQ(m.TextMatrix(1, 1), QString());
    EXPECT_EQ(m.TextMatrix(2, 1), u"Oslo"_s);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), u"Name"_s);
    m.resetGrid();
    EXPECT_EQ(m.Rows(), 2);
    EXPECT_EQ(m.Cols(), 2);
    m.clearResults();
    EXPECT_EQ(m.rowCount(), 0);
}

TEST(ResultGridModel, ReadsOnlyTheBlocksThatAreShownAndKeepsFewInMemory) {
    ResultGridModel m;
    long read = 0;
    m.setSource(std::make_unique<TestSource>(1000000, &read));
    EXPECT_EQ(m.Rows(), 1000001);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(m.data(m.index(999999, 1)).toString(), u"r999999c1"_s);
    EXPECT_EQ(m.TextMatrix(1, 0), u"r0c0"_s);
    const long block = ResultGridModel::kBlockRows;
    EXPECT_EQ(read, block + 1000000 % block); // first and last block
    for (long r = 0; r < 100 * block; r += block)
        m.TextMatrix(r + 1, 0);
    const long afterScan = read;
    EXPECT_EQ(m.TextMatrix(99 * block + 1, 0), u"r%1c0"_s.arg(99 * block));
    EXPECT_EQ(read, afterScan); // still cached
    EXPECT_EQ(m.TextMatrix(1, 0), u"r0c0"_s);
    EXPECT_GT(read, afterScan); // evicted long ago, read again
}

TEST(HeaderSort, DirectionAlternatesForTheWholeWindow) {
    HeaderClick click{u"Name"_s, SortDirection::Never, true, false, 100};
    const HeaderSort first = decideHeaderSort(click);
    EXPECT_EQ(first.sortClause, u"[Name] ASC"_s);
    EXPECT_TRUE(first.sortGrid);
    EXPECT_TRUE(first.ascending);
    EXPECT_FALSE(first.rerun); // not paged: the grid's own sort is the whole effect

    click.direction = first.direction;
    const HeaderSort second = decideHeaderSort(click);
    EXPECT_EQ(second.sortClause, u"[Name] DESC"_s);
    EXPECT_FALSE(second.ascending);

    click.direction = second.direction;
    click.headerText = u"City"_s; // another column still takes the next direction
    const HeaderSort third = decideHeaderSort(click);
    EXPECT_EQ(third.sortClause, u"[City] ASC"_s);
    EXPECT_EQ(third.direction, SortDirection::Ascending);
}

TEST(HeaderSort, PagedResultsRunAgainUnlessAllRecordsAreOnOnePageAndNoDatabaseOnlyNamesIt) {
    HeaderClick click{u"Age"_s, SortDirection::Ascending, true, true, 100};
    EXPECT_TRUE(decideHeaderSort(click).rerun);
    click.maxResultsWhole = 0;
    EXPECT_FALSE(decideHeaderSort(click).rerun);

    const HeaderSort sort =
        decideHeaderSort({u"Name"_s, SortDirection::Ascending, false, true, 100});
    EXPECT_EQ(sort.sortClause, u"[Name]"_s);
    EXPECT_EQ(sort.direction, SortDirection::Ascending);
    EXPECT_FALSE(sort.sortGrid);
    EXPECT_FALSE(sort.rerun);
}

TEST(GridSort, NumbersCompareAsNumbersAndTextAsText) {
    // The sign of the comparison of each pair; Large Numbers apart by less
    // than a double can tell.
    const std::tuple<const char*, const char*, int> pairs[] = {
        {"9", "10", -1},
        {"-462.21", "-5", -1},
        {"apple", "Banana", -1},
        {nullptr, "0", -1},
        {"12", "1a", -1},
        {" 7 ", "00007", 0},
        {"9007199254740992", "9007199254740993", -1},
        {"9223372036854775807", "9223372036854775806", 1},
        {"9007199254740993", "9007199254740993.5", -1}};
    for (const auto& [a, b, sign] : pairs) {
        const int c = compareCells(QString::fromLatin1(a), QString::fromLatin1(b));
        EXPECT_EQ((c > 0) - (c < 0), sign) << a << " vs " << b;
    }
    EXPECT_TRUE(readsAsNumber(u"1e3"_s));
    EXPECT_FALSE(readsAsNumber(u"2001-01-14"_s));
}

TEST(GridSort, SortsHeldRowsBothWaysKeepingTiesInOrder) {
    std::vector<QStringList> rows = {{u"10"_s, u"a"_s},
                                     {u"9"_s, u"b"_s},
                                     {QString(), u"c"_s},
                                     {u"9"_s, u"d"_s},
                                     {u"x"_s, u"e"_s}};
    const auto order = [&] {
        QStringList names;
        for (const QStringList& row : rows)
            names << row[1];
        return names;
    };
    sortRowsByColumn(rows, 0, true);
    EXPECT_EQ(order(), words("c b d a e"));
    sortRowsByColumn(rows, 0, false);
    EXPECT_EQ(order(), words("e a b d c"));
}

TEST(GridSort, ModelSortsItsPageAndReadsASmallLazyResultInFull) {
    ResultGridModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Warning);
    m.setRows({u"Name"_s, u"Age"_s}, {{u"Bo"_s, u"40"_s}, {u"ann"_s, u"5"_s}});
    EXPECT_TRUE(m.sortByColumn(1, true, 10));
    EXPECT_EQ(column(m, 0), words("ann Bo"));
    EXPECT_EQ(m.TextMatrix(0, 0), u"Name"_s); // the header stays in place

    m.setSource(std::make_unique<TestSource>(5));
    EXPECT_TRUE(m.sortByColumn(0, true, 5));
    EXPECT_EQ(column(m, 0), words("1 2 3 4 5"));

    m.setSource(std::make_unique<TestSource>(6));
    EXPECT_FALSE(m.sortByColumn(0, true, 5)); // too big to hold: left for the engine
    EXPECT_EQ(m.TextMatrix(1, 0), u"6"_s);
}

TEST(SortIndicator, FollowsTheColumnTheClauseNames) {
    const QStringList headers{u"ID"_s, u"Name"_s, u"Order Date"_s};
    // Names compare exactly.
    const std::pair<const char*, const char*> cases[] = {
        {"[Name] ASC", "1+"},   {"[Order Date] DESC", "2-"}, {"[ID]", "0+"},
        {"[name] ASC", "none"}, {"[Gone] ASC", "none"},      {"", "none"}};
    for (const auto& [clause, expected] : cases) {
        const auto found = sortIndicatorFor(QString::fromLatin1(clause), headers);
        EXPECT_EQ(found ? std::to_string(found->column) + (found->ascending ? "+" : "-") : "none",
                  expected)
            << clause;
    }
}

TEST(ColumnWidths, AutoFitScalesByTheGridFontAndEvenWidthSharesTheGridLessItsMargin) {
    EXPECT_EQ(autoFitColumnWidth(1234.0, 13), 2468); // 13 / 6.5 = 2
    EXPECT_EQ(autoFitColumnWidth(1234.9, 13), 2468); // the measure is taken whole first
    EXPECT_EQ(autoFitColumnWidth(13, 8), 16);        // 16.0
    EXPECT_EQ(autoFitColumnWidth(0, 8), 0);
    EXPECT_EQ(autoFitColumnWidth(13, 3.25), 6);     // 6.5: halves go to the even neighbour
    EXPECT_EQ(autoFitColumnWidth(39, 3.25 / 3), 6); // 6.5 again

    EXPECT_EQ(evenColumnWidth(5500, 5), 1000);
    EXPECT_EQ(evenColumnWidth(505, 2), 2); // 2.5 rounds to 2
    EXPECT_EQ(evenColumnWidth(507, 2), 4); // 3.5 rounds to 4
    EXPECT_EQ(evenColumnWidth(5500, 0), 0);
}

TEST(ColumnWidths, TheSampleIsTrimmedReadsBothEndsAndLeavesRoomForEveryRowNumber) {
    ResultGridModel m;
    m.setRows({u"Id"_s, u"Name"_s},
              {{u"1"_s, u"  Bo  "_s}, {u"22"_s, u"Carla"_s}, {u"333"_s, u"Diego"_s}});
    EXPECT_EQ(widestSampledText(m, 1, 100), u"Carla"_s); // the first of equals
    EXPECT_EQ(widestSampledText(m, 0, 100), u"333"_s);
    EXPECT_EQ(widestSampledText(m, 1, 0), u"Name"_s); // the header only

    std::vector<QStringList> rows;
    for (int i = 1; i <= 1200; ++i)
        rows.push_back({QString::number(i % 50), i == 1150 ? u"Maximilian"_s : u"Al"_s,
                        i == 3 ? u"x"_s : QString::number(i % 7)});
    m.setRows({u"ID"_s, u"Name"_s, u"Mixed"_s}, rows);
    EXPECT_EQ(widestSampledText(m, 0, 5), u"0000"_s);         // 1,200 rows: room for four digits
    EXPECT_EQ(widestSampledText(m, 1, 100), u"Maximilian"_s); // among the last
    EXPECT_EQ(widestSampledText(m, 2, 5), u"Mixed"_s);        // not all numbers
    EXPECT_EQ(widestSampledText(m, 1, 5000), u"Maximilian"_s);
}

TEST(WheelScroll, FiveRowsPerEventClampedAtBothEnds) {
    // Top row before, wheel distance (zero counts as up, its size does not
    // matter) and the top row after, in a grid of 100 rows; past the last
    // row it stays.
    const int cases[][3] = {{3, 120, 0}, {12, 120, 7},   {12, -120, 17}, {0, 0, 0},     {20, 0, 15},
                            {12, 1, 7},  {12, -960, 17}, {94, -120, 99}, {95, -120, 95}};
    for (const auto& [top, delta, after] : cases)
        EXPECT_EQ(topRowAfterWheel(top, delta, 100), after) << top << " " << delta;
    EXPECT_EQ(topRowAfterWheel(0, -120, 0), 0);
}

} // namespace
