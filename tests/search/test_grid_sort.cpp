#include "search/GridSort.h"
#include "search/ResultGridModel.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

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

// A lazily read result whose first column counts down.
class CountdownSource : public RowSource {
public:
    explicit CountdownSource(long rows) : rows_(rows) {}
    QStringList headers() const override { return {QStringLiteral("N")}; }
    long rowCount() const override { return rows_; }
    std::vector<QStringList> rows(long first, long count) override {
        std::vector<QStringList> out;
        for (long r = first; r < first + count; ++r)
            out.push_back({QString::number(rows_ - r)});
        return out;
    }

private:
    long rows_;
};

TEST(HeaderSort, DirectionAlternatesForTheWholeWindow) {
    HeaderClick click{QStringLiteral("Name"), SortDirection::Never, true, false, 100};
    const HeaderSort first = decideHeaderSort(click);
    EXPECT_EQ(first.sortClause, QStringLiteral("[Name] ASC"));
    EXPECT_TRUE(first.sortGrid);
    EXPECT_TRUE(first.ascending);
    EXPECT_FALSE(first.rerun); // not paged: the grid's own sort is the whole effect

    click.direction = first.direction;
    const HeaderSort second = decideHeaderSort(click);
    EXPECT_EQ(second.sortClause, QStringLiteral("[Name] DESC"));
    EXPECT_FALSE(second.ascending);

    click.direction = second.direction;
    click.headerText = QStringLiteral("City"); // another column still takes the next direction
    const HeaderSort third = decideHeaderSort(click);
    EXPECT_EQ(third.sortClause, QStringLiteral("[City] ASC"));
    EXPECT_EQ(third.direction, SortDirection::Ascending);
}

TEST(HeaderSort, PagedResultsRunAgainUnlessAllRecordsAreOnOnePage) {
    HeaderClick click{QStringLiteral("Age"), SortDirection::Ascending, true, true, 100};
    EXPECT_TRUE(decideHeaderSort(click).rerun);
    click.maxResultsWhole = 0;
    EXPECT_FALSE(decideHeaderSort(click).rerun);
}

TEST(HeaderSort, WithoutADatabaseOnlyTheClauseChanges) {
    const HeaderSort sort =
        decideHeaderSort({QStringLiteral("Name"), SortDirection::Ascending, false, true, 100});
    EXPECT_EQ(sort.sortClause, QStringLiteral("[Name]"));
    EXPECT_EQ(sort.direction, SortDirection::Ascending);
    EXPECT_FALSE(sort.sortGrid);
    EXPECT_FALSE(sort.rerun);
}

TEST(GridSort, NumbersCompareAsNumbersAndTextAsText) {
    EXPECT_LT(compareCells(QStringLiteral("9"), QStringLiteral("10")), 0);
    EXPECT_LT(compareCells(QStringLiteral("-462.21"), QStringLiteral("-5")), 0);
    EXPECT_LT(compareCells(QStringLiteral("apple"), QStringLiteral("Banana")), 0);
    EXPECT_LT(compareCells(QString(), QStringLiteral("0")), 0);
    EXPECT_LT(compareCells(QStringLiteral("12"), QStringLiteral("1a")), 0);
    EXPECT_EQ(compareCells(QStringLiteral(" 7 "), QStringLiteral("00007")), 0);
    // Large Numbers apart by less than a double can tell.
    EXPECT_LT(compareCells(QStringLiteral("9007199254740992"), QStringLiteral("9007199254740993")),
              0);
    EXPECT_GT(
        compareCells(QStringLiteral("9223372036854775807"), QStringLiteral("9223372036854775806")),
        0);
    EXPECT_LT(
        compareCells(QStringLiteral("9007199254740993"), QStringLiteral("9007199254740993.5")), 0);
    EXPECT_TRUE(readsAsNumber(QStringLiteral("1e3")));
    EXPECT_FALSE(readsAsNumber(QStringLiteral("2001-01-14")));
}

TEST(GridSort, SortsHeldRowsBothWaysKeepingTiesInOrder) {
    std::vector<QStringList> rows = {{QStringLiteral("10"), QStringLiteral("a")},
                                     {QStringLiteral("9"), QStringLiteral("b")},
                                     {QString(), QStringLiteral("c")},
                                     {QStringLiteral("9"), QStringLiteral("d")},
                                     {QStringLiteral("x"), QStringLiteral("e")}};
    sortRowsByColumn(rows, 0, true);
    QStringList order;
    for (const QStringList& row : rows)
        order << row[1];
    EXPECT_EQ(order, words("c b d a e"));
    sortRowsByColumn(rows, 0, false);
    order.clear();
    for (const QStringList& row : rows)
        order << row[1];
    EXPECT_EQ(order, words("e a b d c"));
}

TEST(GridSort, ModelSortsItsPageAndReadsASmallLazyResultInFull) {
    ResultGridModel m;
    QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::Warning);
    m.setRows({QStringLiteral("Name"), QStringLiteral("Age")},
              {{QStringLiteral("Bo"), QStringLiteral("40")},
               {QStringLiteral("ann"), QStringLiteral("5")}});
    EXPECT_TRUE(m.sortByColumn(1, true, 10));
    EXPECT_EQ(column(m, 0), words("ann Bo"));
    EXPECT_EQ(m.TextMatrix(0, 0), QStringLiteral("Name")); // the header stays in place

    m.setSource(std::make_unique<CountdownSource>(5));
    EXPECT_TRUE(m.sortByColumn(0, true, 5));
    EXPECT_EQ(column(m, 0), words("1 2 3 4 5"));

    m.setSource(std::make_unique<CountdownSource>(6));
    EXPECT_FALSE(m.sortByColumn(0, true, 5)); // too big to hold: left for the engine
    EXPECT_EQ(m.TextMatrix(1, 0), QStringLiteral("6"));
}

} // namespace

TEST(SortIndicator, FollowsTheColumnTheClauseNames) {
    const QStringList headers{QStringLiteral("ID"), QStringLiteral("Name"),
                              QStringLiteral("Order Date")};
    const auto indicator = [&](const char* clause) {
        const auto found = quarix::search::sortIndicatorFor(QString::fromLatin1(clause), headers);
        return found ? std::to_string(found->column) + (found->ascending ? "+" : "-")
                     : std::string("none");
    };
    EXPECT_EQ(indicator("[Name] ASC"), "1+");
    EXPECT_EQ(indicator("[Order Date] DESC"), "2-");
    EXPECT_EQ(indicator("[ID]"), "0+");
    EXPECT_EQ(indicator("[name] ASC"), "none"); // names compare exactly
    EXPECT_EQ(indicator("[Gone] ASC"), "none");
    EXPECT_EQ(indicator(""), "none");
}
