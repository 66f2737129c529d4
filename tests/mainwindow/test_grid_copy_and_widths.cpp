#include "MainWindowFixture.h"

#include "mainwindow/ResultGridHeader.h"
#include "mainwindow/ResultGridView.h"

#include <QItemSelectionModel>
#include <QMenu>

namespace {

class GridKeysTest : public MainWindowTest {
protected:
    ResultGridView* grid() const { return window->grid(); }
    int columnOf(const QString& header) const {
        for (int c = 0; c < window->gridModel()->Cols(); ++c)
            if (window->gridModel()->TextMatrix(0, c) == header)
                return c;
        return -1;
    }
    void select(int top, int left, int bottom, int right) {
        const QAbstractItemModel* m = grid()->model();
        grid()->selectionModel()->select(
            QItemSelection(m->index(top, left), m->index(bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    }
};

TEST_F(GridKeysTest, CtrlCAndTheCopyCommandPutTheSelectedCellsAsTabSeparatedText) {
    window->gridModel()->setRows(
        {QStringLiteral("Id"), QStringLiteral("Name"), QStringLiteral("Note")},
        {{QStringLiteral("1"), QStringLiteral("Ann"), QStringLiteral("a\tb")},
         {QStringLiteral("2"), QStringLiteral("Bo"), QStringLiteral("say \"hi\"")},
         {QStringLiteral("3"), QStringLiteral("Cy"), QStringLiteral("line\nbreak")}});
    grid()->setFocus();
    select(0, 1, 1, 2);
    QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), QStringLiteral("Ann\t\"a\tb\"\nBo\t\"say \"\"hi\"\"\"\n"));

    select(2, 0, 2, 2);
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(5, 5),
                            grid()->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(grid()->viewport(), &press);
    auto* popup = window->findChild<QMenu*>(QStringLiteral("gridPopup"));
    ASSERT_NE(popup, nullptr);
    ASSERT_FALSE(popup->actions().isEmpty());
    QAction* copy = popup->actions().first();
    EXPECT_EQ(copy->text(), QStringLiteral("&Copy"));
    EXPECT_TRUE(popup->actions().contains(window->menus().mnuExcel)) << "the Office Tools follow";
    copy->trigger();
    EXPECT_EQ(clipboard(), QStringLiteral("3\tCy\t\"line\nbreak\"\n"));
    popup->close();
}

TEST_F(GridKeysTest, TabLeavesTheGrid) {
    window->gridModel()->setRows({QStringLiteral("A"), QStringLiteral("B")},
                                 {{QStringLiteral("1"), QStringLiteral("2")}});
    window->activateWindow();
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QTRY_VERIFY(grid()->hasFocus());
    QTest::keyClick(grid(), Qt::Key_Tab);
    EXPECT_FALSE(grid()->hasFocus());
}

TEST_F(GridKeysTest, AnAscendingSortShowsAnUpArrowBesideAWholeHeader) {
    window->gridModel()->setRows({QStringLiteral("Id"), QStringLiteral("Age")},
                                 {{QStringLiteral("1"), QStringLiteral("7")}});
    window->mnuautofit_Click();
    ResultGridHeader* header = grid()->header();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::AscendingOrder);
    EXPECT_EQ(header->arrowOn(0), QStyleOptionHeader::SortUp);
    EXPECT_EQ(header->arrowOn(1), QStyleOptionHeader::None);
    header->setSortIndicator(0, Qt::DescendingOrder);
    EXPECT_EQ(header->arrowOn(0), QStyleOptionHeader::SortDown);
    // The style's own measure of a header with its arrow fits in the column.
    EXPECT_GE(grid()->columnWidth(0), header->sectionSizeHint(0));
}

TEST_F(GridKeysTest, NumbersBeyondTheMeasuredRowsAreNotCutShort) {
    std::vector<QStringList> rows;
    for (int r = 1; r <= 12000; ++r)
        rows.push_back({QString::number(r), QStringLiteral("x")});
    window->gridModel()->setRows({QStringLiteral("N"), QStringLiteral("Text")}, std::move(rows));
    window->settings.GridFontSize = QStringLiteral("6.5"); // widths as measured
    window->mnuautofit_Click();
    EXPECT_GE(grid()->columnWidth(0),
              QFontMetrics(window->font()).horizontalAdvance(QStringLiteral("12000")));
}

TEST_F(GridKeysTest, PageTurnsAndResortsKeepTheWidthsTheUserSees) {
    REQUIRE_ENGINE();
    window->settings.MaxResults = QStringLiteral("100");
    openThroughDialog(copyOf("shop.accdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QString());
    window->cmdQuarix_Click();
    settle();
    const int age = columnOf(QStringLiteral("Age"));
    ASSERT_GE(age, 0);
    grid()->setColumnWidth(age, 217);
    window->cmdPage_Click(1);
    settle();
    EXPECT_EQ(window->searchState.CurrentPage, 1);
    EXPECT_EQ(grid()->columnWidth(age), 217);
    window->MSFlexGrid1_HeaderClick(age);
    settle();
    EXPECT_EQ(grid()->header()->sortIndicatorSection(), age);
    EXPECT_EQ(grid()->columnWidth(age), 217);
    // A new search sizes the columns afresh.
    window->cmdQuarix_Click();
    settle();
    EXPECT_NE(grid()->columnWidth(age), 217);
}

} // namespace
