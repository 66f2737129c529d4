#include "MainWindowFixture.h"

#include "mainwindow/ResultGridView.h"
#include "session/ResultRows.h"

#include <QHeaderView>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

bool numbersAscend(const QStringList& texts, bool ascending) {
    double last = ascending ? -1e300 : 1e300;
    for (const QString& t : texts) {
        if (t.isEmpty())
            continue;
        const double v = t.toDouble();
        if (ascending ? v < last : v > last)
            return false;
        last = v;
    }
    return true;
}

// The Age column of Customers records, as the engine orders them.
QStringList engineAges(const QString& path, const char* statement, long first, long count) {
    const auto rs = quarix::session::DatabaseHandle(path).open()->execute(statement);
    const auto c = quarix::session::columnNames(*rs).indexOf(u"Age"_s);
    QStringList out;
    for (const QStringList& row : quarix::session::displayRows(*rs, first, count))
        out << row.at(c);
    return out;
}

class GridTest : public MainWindowTest {
protected:
    ResultGridView* grid() const { return window->grid(); }

    void clickHeader(int column) {
        QHeaderView* header = grid()->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        settle();
    }

    void wheel(int delta) {
        QWheelEvent event(QPointF(10, 10), grid()->viewport()->mapToGlobal(QPointF(10, 10)),
                          QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid()->viewport(), &event);
    }
};

TEST_F(GridTest, ThreeHeaderClicksSortAscendingDescendingAscending) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    search("Customers", "Name", "Contains", "a");
    ASSERT_EQ(dataRows(), 215);
    const int age = column("Age");
    const int name = column("Name");
    QStringList ascending = cells(name);
    std::sort(ascending.begin(), ascending.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());

    QHeaderView* header = grid()->horizontalHeader();
    const struct {
        const char* clause;
        const QStringList& names;
        Qt::SortOrder order;
    } clicks[] = {{"[Name] ASC", ascending, Qt::AscendingOrder},
                  {"[Name] DESC", descending, Qt::DescendingOrder},
                  {"[Name] ASC", ascending, Qt::AscendingOrder}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(c.clause);
        clickHeader(name);
        EXPECT_EQ(window->searchState.SortClause, QString::fromLatin1(c.clause));
        EXPECT_EQ(cells(name), c.names);
        EXPECT_TRUE(header->isSortIndicatorShown());
        EXPECT_EQ(header->sortIndicatorSection(), name);
        EXPECT_EQ(header->sortIndicatorOrder(), c.order);
    }
    EXPECT_EQ(dataRows(), 215);

    clickHeader(age); // the direction is the window's, not the column's
    EXPECT_EQ(window->searchState.SortClause, u"[Age] DESC"_s);
    EXPECT_TRUE(numbersAscend(cells(age), false)); // numbers as numbers, not as text
    EXPECT_TRUE(cells(age).back().isEmpty());      // empty cells last going down
    EXPECT_EQ(window->searchState.SearchMode, quarix::search::SearchState::NewSearch);
    EXPECT_TRUE(messages().empty());
}

TEST_F(GridTest, BigNonPagedResultIsSortedByTheEngine) {
    REQUIRE_ENGINE();
    const QString path = open("shop.mdb");
    search("Customers", "Name", "Contains", "a");
    window->rowsSortedInMemory = 100; // 215 rows count as too big to hold
    const int age = column("Age");
    const int widthBefore = grid()->columnWidth(age);
    window->MSFlexGrid1_HeaderClick(age);
    settle();
    window->MSFlexGrid1_HeaderClick(age);
    settle();
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    EXPECT_EQ(window->searchState.SortClause, u"[Age] DESC"_s);
    EXPECT_EQ(dataRows(), 215);
    EXPECT_TRUE(numbersAscend(cells(age), false));
    EXPECT_EQ(cells(age), engineAges(path,
                                     "select * from [Customers] WHERE [Name] Like '*a*' ORDER BY "
                                     "[Age] DESC",
                                     0, 215));
    EXPECT_EQ(grid()->columnWidth(age), widthBefore);
}

// The widths the user gave the columns stay through page turns and resorts.
TEST_F(GridTest, PagedResortOnPageTwoShowsPageTwoOfTheNewOrder) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = u"100"_s;
    const QString path = open("shop.accdb");
    search("Customers", "Name", "Contains", "");
    const int age = column("Age");
    ASSERT_GE(age, 0);
    grid()->setColumnWidth(age, 217);
    window->cmdPage_Click(1);
    settle();
    ASSERT_EQ(window->searchState.CurrentPage, 1);
    EXPECT_EQ(grid()->columnWidth(age), 217);

    clickHeader(age);
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    EXPECT_EQ(window->searchState.CurrentPage, 1);
    EXPECT_EQ(window->searchState.SearchMode, quarix::search::SearchState::NewSearch);
    EXPECT_TRUE(window->windowTitle().contains(u"on page 2 out of 3 pages"_s));
    const QString seconds =
        window->windowTitle().section(u" in "_s, 1).section(QLatin1Char(' '), 0, 0);
    EXPECT_EQ(control<QLabel>("lblStatus")->text(),
              u"Customers: 100 of 250 results, page 2 of 3, in "_s + seconds + u" seconds"_s);
    EXPECT_EQ(control<QLabel>("lblDatabase")->text(), path);
    EXPECT_EQ(grid()->horizontalHeader()->sortIndicatorSection(), age);
    const char* sorted = "select * from [Customers] WHERE [Name] Like '**' ORDER BY [Age] ASC";
    EXPECT_EQ(cells(age), engineAges(path, sorted, 100, 100));
    EXPECT_TRUE(numbersAscend(cells(age), true));
    EXPECT_EQ(grid()->columnWidth(age), 217);

    // Paging keeps the order of the header click.
    window->cmdPage_Click(1);
    settle();
    EXPECT_EQ(cells(age).front(), engineAges(path, sorted, 200, 1).front());

    // A new search sizes the columns afresh.
    window->cmdQuarix_Click();
    settle();
    EXPECT_NE(grid()->columnWidth(age), 217);
}

TEST_F(GridTest, PagedResortAfterAFilterShowsTheFirstPageOfTheFilteredResult) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = u"10"_s;
    open("shop.accdb");
    search("Customers", "Name", "Contains", "a");
    filter("Customers", "Country", "Begins", "U");
    ASSERT_EQ(window->searchState.ResultCount, 54);
    window->searchState.CurrentPage = 2;
    window->MSFlexGrid1_HeaderClick(column("Name"));
    settle();
    EXPECT_EQ(window->searchState.CurrentPage, 0);
    EXPECT_EQ(window->searchState.ResultCount, 54);
    EXPECT_EQ(clipboard(),
              u"Select * from Customers where [Name] Like '*a*' AND [Country] Like 'U*'"_s);
}

TEST_F(GridTest, HeaderClickWithoutADatabaseOnlySetsTheClause) {
    window->gridModel()->setRows({u"Name"_s}, {{u"b"_s}, {u"a"_s}});
    clickHeader(0);
    EXPECT_EQ(window->searchState.SortClause, u"[Name]"_s);
    EXPECT_EQ(cells(0), (QStringList{u"b"_s, u"a"_s}));
    EXPECT_EQ(window->sortDirection, quarix::search::SortDirection::Never);
    EXPECT_TRUE(messages().empty());
}

TEST_F(GridTest, AutoFitMeasuresInTheWindowsFontAndScalesByTheGridFont) {
    window->resize(1400, 800);
    window->gridModel()->setRows({u"Id"_s, u"Name"_s},
                                 {{u"1"_s, u"  Bo  "_s}, {u"22222"_s, u"Carla Jones"_s}});
    window->settings.GridFontSize = u"13"_s;
    window->mnuautofit_Click();
    const QFontMetrics metrics(window->font());
    // The last column also takes what is left of the grid's width.
    EXPECT_GE(grid()->columnWidth(1), 2 * metrics.horizontalAdvance(u"Carla Jones"_s));
    EXPECT_EQ(grid()->columnWidth(0), 2 * metrics.horizontalAdvance(u"22222"_s));
    EXPECT_EQ(window->settings.AutoFitGrid, u"1"_s);
    EXPECT_TRUE(action("mnuautofit")->isChecked());
    EXPECT_FALSE(action("mnuEvenwidth")->isChecked());

    action("mnuEvenwidth")->trigger();
    settle();
    const int even = grid()->columnWidth(0);
    EXPECT_GE(grid()->columnWidth(1), even);
    EXPECT_LT(2 * even, grid()->width());
    EXPECT_GT(2 * even, grid()->width() - 120); // less only the margin
    EXPECT_EQ(window->settings.AutoFitGrid, u"0"_s);
    EXPECT_FALSE(action("mnuautofit")->isChecked());
    EXPECT_TRUE(action("mnuEvenwidth")->isChecked());

    window->gridModel()->clearResults(); // no columns: nothing to size
    window->mnuautofit_Click();
    window->mnuEvenwidth_Click();
    EXPECT_EQ(window->gridModel()->Cols(), 0);
}

// The steps of the wheel are the search layer's; the grid takes them only
// while the window has the focus.
TEST_F(GridTest, WheelMovesTheTopRowFiveRowsPerEventWhileTheWindowHasTheFocus) {
    std::vector<QStringList> rows;
    for (int r = 0; r < 200; ++r)
        rows.push_back({QString::number(r)});
    window->gridModel()->setRows({u"Id"_s}, std::move(rows));
    QApplication::processEvents();
    grid()->setTopRow(12);
    wheel(120);
    EXPECT_EQ(grid()->TopRow(), 7);
    wheel(-1); // a fine-grained wheel moves as far per event
    EXPECT_EQ(grid()->TopRow(), 12);
    grid()->setTopRow(199);
    const int end = grid()->TopRow();
    ASSERT_GT(end, 100);
    wheel(-120);
    EXPECT_EQ(grid()->TopRow(), end);

    // Without the focus the wheel scrolls as a plain table does.
    window->Form_LostFocus();
    grid()->setTopRow(50);
    wheel(0);
    EXPECT_EQ(grid()->TopRow(), 50);
    window->Form_GotFocus();
    wheel(0);
    EXPECT_EQ(grid()->TopRow(), 45);
}

} // namespace
