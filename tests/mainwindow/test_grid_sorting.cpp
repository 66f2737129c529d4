#include "MainWindowFixture.h"

#include "mainwindow/ResultGridView.h"
#include "search/ColumnWidths.h"
#include "session/ResultRows.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>

namespace {

QStringList cells(const frmMain& w, int column) {
    QStringList out;
    for (long r = 1; r < w.gridModel()->Rows(); ++r)
        out << w.gridModel()->TextMatrix(r, column);
    return out;
}

int columnOf(const frmMain& w, const QString& header) {
    for (int c = 0; c < w.gridModel()->Cols(); ++c)
        if (w.gridModel()->TextMatrix(0, c) == header)
            return c;
    return -1;
}

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

// The records a statement gives, one column of them, as the engine orders them.
QStringList engineColumn(const QString& path, const QString& statement, const QString& field,
                         long first, long count) {
    const auto rs = quarix::session::DatabaseHandle(path).open()->execute(statement.toStdString());
    const int c = static_cast<int>(quarix::session::columnNames(*rs).indexOf(field));
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
    }

    void wheel(int delta) {
        QWheelEvent event(QPointF(10, 10), grid()->viewport()->mapToGlobal(QPointF(10, 10)),
                          QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid()->viewport(), &event);
    }

    // A grid of numbered rows without any database.
    void fillRows(int rows) {
        std::vector<QStringList> data;
        for (int r = 0; r < rows; ++r)
            data.push_back({QString::number(r), QStringLiteral("row %1").arg(r)});
        window->gridModel()->setRows({QStringLiteral("Id"), QStringLiteral("Text")},
                                     std::move(data));
    }
};

TEST_F(GridTest, ThreeHeaderClicksSortAscendingDescendingAscending) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(dataRows(), 215);
    const int age = columnOf(*window, QStringLiteral("Age"));
    const int name = columnOf(*window, QStringLiteral("Name"));

    QStringList ascending = cells(*window, name);
    std::sort(ascending.begin(), ascending.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());

    clickHeader(name);
    settle();
    EXPECT_EQ(window->searchState.SortClause, QStringLiteral("[Name] ASC"));
    EXPECT_EQ(cells(*window, name), ascending);
    QHeaderView* header = window->grid()->horizontalHeader();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), name);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(name);
    settle();
    EXPECT_EQ(window->searchState.SortClause, QStringLiteral("[Name] DESC"));
    EXPECT_EQ(cells(*window, name), descending);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(name);
    settle();
    EXPECT_EQ(window->searchState.SortClause, QStringLiteral("[Name] ASC"));
    EXPECT_EQ(cells(*window, name), ascending);
    EXPECT_EQ(dataRows(), 215);

    clickHeader(age); // the direction is the window's, not the column's
    EXPECT_EQ(window->searchState.SortClause, QStringLiteral("[Age] DESC"));
    EXPECT_TRUE(numbersAscend(cells(*window, age), false)); // numbers as numbers, not as text
    EXPECT_TRUE(cells(*window, age).back().isEmpty());      // empty cells last going down
    EXPECT_EQ(window->searchState.SearchMode, quarix::search::SearchState::NewSearch);
    EXPECT_TRUE(messages().empty());
}

TEST_F(GridTest, BigNonPagedResultIsSortedByTheEngine) {
    REQUIRE_ENGINE();
    const QString path = copyOf("shop.mdb");
    openThroughDialog(path);
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    window->rowsSortedInMemory = 100; // 215 rows count as too big to hold
    const int age = columnOf(*window, QStringLiteral("Age"));
    const int widthBefore = grid()->columnWidth(age);
    window->MSFlexGrid1_HeaderClick(age);
    settle();
    window->MSFlexGrid1_HeaderClick(age);
    settle();
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    EXPECT_EQ(window->searchState.SortClause, QStringLiteral("[Age] DESC"));
    EXPECT_EQ(dataRows(), 215);
    EXPECT_TRUE(numbersAscend(cells(*window, age), false));
    EXPECT_EQ(
        cells(*window, age),
        engineColumn(
            path,
            QStringLiteral("select * from [Customers] WHERE [Name] Like '*a*' ORDER BY [Age] DESC"),
            QStringLiteral("Age"), 0, 215));
    EXPECT_EQ(grid()->columnWidth(age), widthBefore);
}

TEST_F(GridTest, PagedResortOnPageTwoShowsPageTwoOfTheNewOrder) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = QStringLiteral("100");
    const QString path = copyOf("shop.accdb");
    openThroughDialog(path);
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QString());
    window->cmdQuarix_Click();
    settle();
    window->cmdPage_Click(1);
    settle();
    ASSERT_EQ(window->searchState.CurrentPage, 1);

    clickHeader(columnOf(*window, QStringLiteral("Age")));
    settle();
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    EXPECT_EQ(window->searchState.CurrentPage, 1);
    EXPECT_EQ(window->searchState.SearchMode, quarix::search::SearchState::NewSearch);
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("on page 2 out of 3 pages")));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblStatus"))->text(),
              QStringLiteral("Customers: 100 of 250 results, page 2 of 3, in ") +
                  window->windowTitle()
                      .section(QStringLiteral(" in "), 1)
                      .section(QLatin1Char(' '), 0, 0) +
                  QStringLiteral(" seconds"));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblDatabase"))->text(), path);
    const int age = columnOf(*window, QStringLiteral("Age"));
    EXPECT_EQ(window->grid()->horizontalHeader()->sortIndicatorSection(), age);
    EXPECT_EQ(
        cells(*window, age),
        engineColumn(
            path,
            QStringLiteral("select * from [Customers] WHERE [Name] Like '**' ORDER BY [Age] ASC"),
            QStringLiteral("Age"), 100, 100));
    EXPECT_TRUE(numbersAscend(cells(*window, age), true));

    // Paging keeps the order of the header click.
    window->cmdPage_Click(1);
    settle();
    EXPECT_EQ(
        cells(*window, age).front(),
        engineColumn(
            path,
            QStringLiteral("select * from [Customers] WHERE [Name] Like '**' ORDER BY [Age] ASC"),
            QStringLiteral("Age"), 200, 1)
            .front());
}

TEST_F(GridTest, PagedResortAfterAFilterShowsTheFirstPageOfTheFilteredResult) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = QStringLiteral("10");
    openThroughDialog(copyOf("shop.accdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    choose(QStringLiteral("Customers"), QStringLiteral("Country"), QStringLiteral("Begins"),
           QStringLiteral("U"));
    window->cmdFilter_Click();
    settle();
    const long filtered = window->searchState.ResultCount;
    ASSERT_EQ(filtered, 54);
    window->searchState.CurrentPage = 2;
    window->MSFlexGrid1_HeaderClick(columnOf(*window, QStringLiteral("Name")));
    settle();
    EXPECT_EQ(window->searchState.CurrentPage, 0);
    EXPECT_EQ(window->searchState.ResultCount, filtered);
    EXPECT_EQ(
        clipboard(),
        QStringLiteral("Select * from Customers where [Name] Like '*a*' AND [Country] Like 'U*'"));
}

TEST_F(GridTest, HeaderClickWithoutADatabaseOnlySetsTheClause) {
    window->gridModel()->setRows({QStringLiteral("Name")},
                                 {{QStringLiteral("b")}, {QStringLiteral("a")}});
    clickHeader(0);
    settle();
    EXPECT_EQ(window->searchState.SortClause, QStringLiteral("[Name]"));
    EXPECT_EQ(cells(*window, 0), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    EXPECT_EQ(window->sortDirection, quarix::search::SortDirection::Never);
    EXPECT_TRUE(messages().empty());
}

TEST_F(GridTest, AutoFitMeasuresInTheWindowsFontAndScalesByTheGridFont) {
    window->resize(1400, 800);
    window->gridModel()->setRows({QStringLiteral("Id"), QStringLiteral("Name")},
                                 {{QStringLiteral("1"), QStringLiteral("  Bo  ")},
                                  {QStringLiteral("22222"), QStringLiteral("Carla Jones")}});
    window->settings.GridFontSize = QStringLiteral("13");
    window->mnuautofit_Click();
    const QFontMetrics metrics(window->font());
    // The last column also takes what is left of the grid's width.
    EXPECT_GE(grid()->columnWidth(1), 2 * metrics.horizontalAdvance(QStringLiteral("Carla Jones")));
    EXPECT_EQ(grid()->columnWidth(0), 2 * metrics.horizontalAdvance(QStringLiteral("22222")));
    EXPECT_EQ(window->settings.AutoFitGrid, QStringLiteral("1"));
    EXPECT_TRUE(action("mnuautofit")->isChecked());
    EXPECT_FALSE(action("mnuEvenwidth")->isChecked());

    action("mnuEvenwidth")->trigger();
    settle();
    const int even = grid()->columnWidth(0);
    EXPECT_GE(grid()->columnWidth(1), even);
    EXPECT_LT(2 * even, grid()->width());
    EXPECT_GT(2 * even, grid()->width() - 120); // less only the margin
    EXPECT_EQ(window->settings.AutoFitGrid, QStringLiteral("0"));
    EXPECT_FALSE(action("mnuautofit")->isChecked());
    EXPECT_TRUE(action("mnuEvenwidth")->isChecked());

    window->gridModel()->clearResults(); // no columns: nothing to size
    window->mnuautofit_Click();
    window->mnuEvenwidth_Click();
    EXPECT_EQ(window->gridModel()->Cols(), 0);
}

TEST_F(GridTest, CellTooltipAndOfficeToolsPopUp) {
    fillRows(3);
    EXPECT_EQ(grid()->model()->data(grid()->model()->index(2, 1), Qt::ToolTipRole).toString(),
              QStringLiteral("row 2"));
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(5, 5),
                            grid()->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(grid()->viewport(), &press);
    auto* popup = window->findChild<QMenu*>(QStringLiteral("gridPopup"));
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_TRUE(popup->actions().contains(window->menus().mnuObject));
    popup->close();
}

TEST_F(GridTest, WheelMovesTheTopRowFiveRowsPerEvent) {
    fillRows(200);
    QApplication::processEvents();
    grid()->setTopRow(3);
    wheel(120);
    EXPECT_EQ(grid()->TopRow(), 0);
    grid()->setTopRow(12);
    wheel(120);
    EXPECT_EQ(grid()->TopRow(), 7);
    wheel(-120);
    EXPECT_EQ(grid()->TopRow(), 12);
    wheel(-1); // a fine-grained wheel moves as far per event
    EXPECT_EQ(grid()->TopRow(), 17);
    wheel(0); // counts as up
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
