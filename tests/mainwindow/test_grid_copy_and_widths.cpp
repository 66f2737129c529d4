#include "MainWindowFixture.h"

#include "mainwindow/ResultGridHeader.h"
#include "mainwindow/ResultGridView.h"

#include <QItemSelectionModel>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace {

class GridKeysTest : public MainWindowTest {
protected:
    ResultGridView* grid() const { return window->grid(); }
    void select(int top, int left, int bottom, int right) {
        const QAbstractItemModel* m = grid()->model();
        grid()->selectionModel()->select(
            QItemSelection(m->index(top, left), m->index(bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    }
};

TEST_F(GridKeysTest, CtrlCAndTheCopyCommandPutTheSelectedCellsAsTabSeparatedText) {
    window->gridModel()->setRows({u"Id"_s, u"Name"_s, u"Note"_s},
                                 {{u"1"_s, u"Ann"_s, u"a\tb"_s},
                                  {u"2"_s, u"Bo"_s, u"say \"hi\""_s},
                                  {u"3"_s, u"Cy"_s, u"line\nbreak"_s}});
    EXPECT_EQ(grid()->model()->data(grid()->model()->index(1, 1), Qt::ToolTipRole).toString(),
              u"Bo"_s);
    grid()->setFocus();
    select(0, 1, 1, 2);
    QTest::keyClick(grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), u"Ann\t\"a\tb\"\nBo\t\"say \"\"hi\"\"\"\n"_s);

    select(2, 0, 2, 2);
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(5, 5),
                            grid()->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(grid()->viewport(), &press);
    auto* popup = window->findChild<QMenu*>(u"gridPopup"_s);
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    ASSERT_FALSE(popup->actions().isEmpty());
    QAction* copy = popup->actions().first();
    EXPECT_EQ(copy->text(), u"&Copy"_s);
    // The Office Tools follow.
    EXPECT_TRUE(popup->actions().contains(window->menus().mnuExcel));
    EXPECT_TRUE(popup->actions().contains(window->menus().mnuObject));
    copy->trigger();
    EXPECT_EQ(clipboard(), u"3\tCy\t\"line\nbreak\"\n"_s);
    popup->close();
}

TEST_F(GridKeysTest, TabLeavesTheGrid) {
    window->gridModel()->setRows({u"A"_s, u"B"_s}, {{u"1"_s, u"2"_s}});
    window->activateWindow();
    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(0, 0));
    QTRY_VERIFY(grid()->hasFocus());
    QTest::keyClick(grid(), Qt::Key_Tab);
    EXPECT_FALSE(grid()->hasFocus());
}

TEST_F(GridKeysTest, AnAscendingSortShowsAnUpArrowBesideAWholeHeader) {
    window->gridModel()->setRows({u"Id"_s, u"Age"_s}, {{u"1"_s, u"7"_s}});
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
        rows.push_back({QString::number(r), u"x"_s});
    window->gridModel()->setRows({u"N"_s, u"Text"_s}, std::move(rows));
    window->settings.GridFontSize = u"6.5"_s; // widths as measured
    window->mnuautofit_Click();
    EXPECT_GE(grid()->columnWidth(0), QFontMetrics(window->font()).horizontalAdvance(u"12000"_s));
}

} // namespace
