#include "MainWindowFixture.h"

#include "mainwindow/ResultGridView.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

// A search composed from the keyboard alone, as a user types it.
class KeyboardSearch : public MainWindowTest {
protected:
    void openShop() {
        REQUIRE_ENGINE();
        open("shop.mdb");
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The key goes to the suggestions while they are open, as the keyboard's does.
    void press(QComboBox* on, Qt::Key key) {
        // The offscreen platform gives the window's activation to the
        // suggestions and not back when they close, as a desktop does.
        if (!window->isActiveWindow()) {
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        }
        QAbstractItemView* list = suggestions(on);
        QTest::keyClick(list->isVisible() ? static_cast<QWidget*>(list) : on, key);
        settle();
    }

    // Gives a box the focus; entering a box may load its list.
    void focus(QComboBox* on) {
        on->setFocus();
        settle();
    }

    QWidget* focused() const { return QApplication::focusWidget(); }
};

TEST_F(KeyboardSearch, TableFieldOperatorAndValueTypedWithTabAndEnter) {
    openShop();
    QComboBox* tables = box("cmbTable");
    tables->setFocus();
    QTest::keyClicks(tables, u"Cust"_s);
    ASSERT_TRUE(suggestions(tables)->isVisible());
    press(tables, Qt::Key_Down);
    press(tables, Qt::Key_Tab); // takes the highlighted suggestion and moves on
    EXPECT_EQ(tables->currentText(), u"Customers"_s);
    ASSERT_EQ(focused(), box("CmbField"));

    QTest::keyClicks(box("CmbField"), u"City"_s);
    press(box("CmbField"), Qt::Key_Tab); // the typed name stands
    EXPECT_EQ(box("CmbField")->currentText(), u"City"_s);
    ASSERT_EQ(focused(), box("cmbFunction"));

    QTest::keyClicks(box("cmbFunction"), u"Not"_s);
    EXPECT_EQ(box("cmbFunction")->currentText(), u"Not Contain"_s);
    QTest::keyClick(box("cmbFunction"), Qt::Key_Tab);
    settle();
    ASSERT_EQ(focused(), box("cmbValues"));
    QTest::keyClicks(box("cmbValues"), u"lon"_s);
    press(box("cmbValues"), Qt::Key_Return);

    EXPECT_EQ(clipboard(), u"Select * from Customers where [City] Not Like '*lon*'"_s);
    EXPECT_EQ(dataRows(), 197);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(quarix::platform::FileDialog::shown().size(), 1u) << "only the opening one";
}

TEST_F(KeyboardSearch, TypedTextSurvivesFocusMoves) {
    openShop();
    box("cmbTable")->setEditText(u"Customers"_s);
    window->Load_Fields();
    settle();
    // A value typed first, the field picked after it, then Tab.
    focus(box("cmbValues"));
    QTest::keyClicks(box("cmbValues"), u"Lon"_s);
    focus(box("CmbField"));
    box("CmbField")->setCurrentIndex(box("CmbField")->findText(u"City"_s));
    QTest::keyClick(box("CmbField"), Qt::Key_Tab);
    settle();
    EXPECT_EQ(box("cmbValues")->currentText(), u"Lon"_s);
    EXPECT_GT(box("cmbValues")->count(), 5) << "the list came, the text stayed";

    // Back into the field box: a field name of the table stays, other text goes.
    for (const auto& [typed, kept] : {std::pair{"city", "City"}, std::pair{"Cit", ""}}) {
        box("CmbField")->setEditText(QString::fromLatin1(typed));
        focus(box("cmbValues"));
        focus(box("CmbField"));
        EXPECT_EQ(box("CmbField")->currentText(), QString::fromLatin1(kept)) << typed;
    }

    // The first click into the value box after choosing a field keeps the focus there.
    box("CmbField")->setCurrentIndex(box("CmbField")->findText(u"Country"_s));
    QTest::mouseClick(box("cmbValues"), Qt::LeftButton, {}, QPoint(10, 10));
    settle();
    EXPECT_EQ(focused(), box("cmbValues"));
    QTest::keyClicks(focused(), u"x"_s);
    EXPECT_EQ(box("cmbValues")->currentText(), u"Lonx"_s);
}

TEST_F(KeyboardSearch, SearchClickedWhileSuggestionsAreOpenRuns) {
    openShop();
    choose("Customers", "City", "Begins", "");
    window->CmbField_LostFocus();
    settle();
    QComboBox* values = box("cmbValues");
    values->setFocus();
    QTest::keyClicks(values, u"Lo"_s);
    QAbstractItemView* list = suggestions(values);
    ASSERT_TRUE(list->isVisible());
    QPushButton* search = button("cmdQuarix");
    const QPoint onSearch = list->mapFromGlobal(search->mapToGlobal(search->rect().center()));
    QTest::mouseClick(list, Qt::LeftButton, {}, onSearch);
    settle();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(clipboard(), u"Select * from Customers where [City] Like 'Lo*'"_s);
}

TEST_F(KeyboardSearch, EnterInTheSqlBoxSearches) {
    openShop();
    choose("Customers", "Age", "Contains", "");
    window->mnuSQLmode_Click();
    auto* sql = control<QLineEdit>("txtSearch");
    sql->setFocus();
    QTest::keyClicks(sql, u"[Age] > 50"_s);
    QTest::keyClick(sql, Qt::Key_Return);
    settle();
    EXPECT_EQ(clipboard(), u"Select * from Customers where [Age] > 50"_s);
    EXPECT_EQ(dataRows(), 108);
}

TEST_F(KeyboardSearch, ShortcutsWorkFromTheCriteriaBoxesAndTheGrid) {
    openShop();
    search("Customers", "City", "Equals", "London");
    const struct {
        const char* box;
        Qt::Key key;
        const char* item;
    } shortcuts[] = {{"cmbValues", Qt::Key_D, "mnuopen"},
                     {"CmbField", Qt::Key_E, "mnuExcel"},
                     {"cmbValues", Qt::Key_S, "mnusavedsearch0"}};
    for (const auto& s : shortcuts) {
        QSignalSpy triggered(action(s.item), &QAction::triggered);
        focus(box(s.box));
        QTest::keyClick(box(s.box), s.key, Qt::ControlModifier);
        settle();
        EXPECT_EQ(triggered.count(), 1) << s.item;
    }
    EXPECT_TRUE(action("mnusavedsearch2")->isVisible()) << "Ctrl+S saved the search";

    ResultGridView* grid = window->grid();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(),
              grid->model()->rowCount() * grid->model()->columnCount());
}

TEST_F(KeyboardSearch, NoMnemonicIsClaimedTwice) {
    window->mnuSQLmode_Click(); // shows the SQL Functions menu too
    QList<QKeySequence> bar;
    for (QAction* menu : window->menuBar()->actions())
        if (menu->isVisible())
            bar << QKeySequence::mnemonic(menu->text());
    bar << QKeySequence::mnemonic(button("cmdQuarix")->text());
    for (int i = 0; i < bar.size(); ++i)
        EXPECT_EQ(bar.count(bar[i]), 1) << bar[i].toString().toStdString();

    for (QAction* menu : window->menuBar()->actions()) {
        QList<QKeySequence> items;
        for (QAction* item : menu->menu()->actions())
            if (item->isVisible() && !QKeySequence::mnemonic(item->text()).isEmpty())
                items << QKeySequence::mnemonic(item->text());
        for (const QKeySequence& key : items)
            EXPECT_EQ(items.count(key), 1)
                << menu->text().toStdString() << " " << key.toString().toStdString();
    }
}

} // namespace
