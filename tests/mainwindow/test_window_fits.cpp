#include "MainWindowFixture.h"

#include "mainwindow/ResultGridView.h"

#include <QLabel>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

// The window on small screens: 800x600, and 1400x900 at twice the scale,
// which leaves 700x450 logical pixels.
class WindowFitTest : public MainWindowTest {
protected:
    // Whether a control shows whole inside the window.
    bool wholeInside(const QWidget* control) const {
        const QRect placed(control->mapTo(window.get(), QPoint(0, 0)), control->size());
        return window->rect().contains(placed);
    }
};

TEST_F(WindowFitTest, OpensWithinTheScreen) {
    const QRect room = window->screen()->availableGeometry();
    EXPECT_LE(window->frameGeometry().width(), room.width());
    EXPECT_LE(window->frameGeometry().height(), room.height());
    EXPECT_TRUE(room.contains(window->frameGeometry()));
}

TEST_F(WindowFitTest, EveryControlShowsInAWindowOfHalfA1400x900Screen) {
    EXPECT_LE(window->minimumSizeHint().width(), 680);
    EXPECT_LE(window->minimumSizeHint().height(), 400);
    // Paging shows its widest captions.
    button("cmdPage0")->setText(u"Prev (11)"_s);
    button("cmdPage1")->setText(u"Next (13)"_s);
    button("cmdPage0")->show();
    button("cmdPage1")->show();
    window->resize(690, 420);
    QApplication::processEvents();
    EXPECT_LE(window->width(), 690);
    for (const char* name : {"cmbTableQuery", "cmbTable", "CmbField", "cmbFunction", "cmbValues",
                             "cmdQuarix", "cmdFilter", "cmdClear", "cmdPage0", "cmdPage1"}) {
        auto* control = window->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(wholeInside(control)) << name;
        EXPECT_GE(control->width(), control->minimumSizeHint().width()) << name;
    }
    EXPECT_TRUE(wholeInside(window->grid()));
    EXPECT_GT(window->grid()->height(), 100);
}

TEST_F(WindowFitTest, TheBoxesStretchWithTheWindow) {
    window->resize(700, 450);
    QApplication::processEvents();
    const int narrowTable = box("cmbTable")->width();
    const int narrowValue = box("cmbValues")->width();
    window->resize(1300, 700);
    QApplication::processEvents();
    EXPECT_GT(box("cmbTable")->width(), narrowTable + 300);
    EXPECT_GT(box("cmbValues")->width(), narrowValue + 100);
    EXPECT_EQ(box("cmbFunction")->width(), box("cmbFunction")->sizeHint().width());
}

} // namespace
