#include "MainWindowFixture.h"

#include "mainwindow/ResultGridView.h"
#include "session/DatabaseWorker.h"

using namespace Qt::StringLiterals;

namespace {

// The boxes are typed into as a user does: key by key, with the value list
// loaded and the suggestions live.
class TypedCriteriaTest : public MainWindowTest {
protected:
    void openCustomers(const char* field, const char* op) {
        REQUIRE_ENGINE();
        open("shop.mdb");
        box("cmbTable")->setEditText(u"Customers"_s);
        window->cmbTable_LostFocus();
        settle();
        box("CmbField")->setEditText(QString::fromLatin1(field));
        window->CmbField_LostFocus();
        settle();
        box("cmbFunction")->setCurrentText(QString::fromLatin1(op));
    }

    void type(QComboBox* into, const QString& text) {
        into->setFocus();
        settle(); // entering a box may load its list
        into->clearEditText();
        QTest::keyClicks(into, text);
    }

    // Enter goes to the suggestions while they are open, as the keyboard does.
    void pressEnter(QComboBox* on) {
        QAbstractItemView* suggestions = TypedCriteriaTest::suggestions(on);
        QTest::keyClick(suggestions->isVisible() ? static_cast<QWidget*>(suggestions) : on,
                        Qt::Key_Return);
        settle();
    }

    bool programsDialogOpen() const {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == u"frmPrograms"_s && w->isVisible())
                return true;
        return false;
    }
};

// Typed text is searched as typed, never completed from the suggestions.
TEST_F(TypedCriteriaTest, TypedTextIsSearchedExactlyAsTyped) {
    openCustomers("City", "Begins");
    ASSERT_GT(box("cmbValues")->count(), 5) << "the value list offers suggestions";
    const struct {
        const char* op;
        const char* typed;
        const char* criterion;
        int rows;
    } cases[] = {{"Begins", "Lon", "[City] Like 'Lon*'", 43},
                 {"Begins", "Be", "[City] Like 'Be*'", 43},
                 {"Contains", "lo", "[City] Like '*lo*'", 85},
                 {"Equals", "berlin", "[City] Like 'berlin'", 21}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        box("cmbFunction")->setCurrentText(QString::fromLatin1(c.op));
        type(box("cmbValues"), QString::fromLatin1(c.typed));
        EXPECT_EQ(box("cmbValues")->currentText(), QString::fromLatin1(c.typed));
        QTest::mouseClick(button("cmdQuarix"), Qt::LeftButton);
        settle();
        EXPECT_EQ(clipboard(),
                  u"Select * from Customers where "_s + QString::fromLatin1(c.criterion));
        EXPECT_EQ(dataRows(), c.rows);
        EXPECT_EQ(box("cmbValues")->currentText(), QString::fromLatin1(c.typed));
    }
    // The table and field boxes keep their typed text too.
    type(box("cmbTable"), u"Ord"_s);
    EXPECT_EQ(box("cmbTable")->currentText(), u"Ord"_s);
    type(box("CmbField"), u"Na"_s);
    EXPECT_EQ(box("CmbField")->currentText(), u"Na"_s);
}

TEST_F(TypedCriteriaTest, EnterSearchesTheTypedTextAndAPickedSuggestionReplacesIt) {
    openCustomers("City", "Begins");
    QComboBox* values = box("cmbValues");
    type(values, u"berlin"_s);
    pressEnter(values);
    EXPECT_EQ(values->currentText(), u"berlin"_s);
    EXPECT_EQ(clipboard(), u"Select * from Customers where [City] Like 'berlin*'"_s);

    // The suggestions pop up; arrow down and Enter take one.
    type(values, u"Lond"_s);
    QAbstractItemView* popup = suggestions(values);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(values->currentText(), u"Lond"_s);
    QTest::keyClick(popup, Qt::Key_Down);
    pressEnter(values);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(values->currentText(), u"London"_s);
    QTest::mouseClick(button("cmdQuarix"), Qt::LeftButton);
    settle();
    EXPECT_EQ(clipboard(), u"Select * from Customers where [City] Like 'London*'"_s);
}

TEST_F(TypedCriteriaTest, EditingKeysWinOverMenuShortcutsWhileTyping) {
    QComboBox* values = box("cmbValues");
    type(values, u"abc"_s);
    QTest::keyClick(values, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(programsDialogOpen());
    EXPECT_EQ(values->lineEdit()->selectedText(), u"abc"_s);
    QTest::keyClick(values, Qt::Key_X);
    EXPECT_EQ(values->currentText(), u"x"_s);

    window->mnuSQLmode_Click();
    auto* sql = control<QLineEdit>("txtSearch");
    sql->setFocus();
    sql->clear();
    QTest::keyClicks(sql, u"[Age] > 3"_s);
    QTest::keyClick(sql, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(programsDialogOpen());
    EXPECT_EQ(sql->selectedText(), u"[Age] > 3"_s);

    // Away from the text boxes and the grid Ctrl+A is the Programs item's shortcut.
    button("cmdQuarix")->setFocus();
    QTest::keyClick(button("cmdQuarix"), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(programsDialogOpen());
}

TEST_F(TypedCriteriaTest, TheFirstClickOnTheFieldArrowOpensTheLoadedList) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QComboBox* fields = box("CmbField");
    const QPoint arrow(fields->width() - 6, fields->height() / 2);
    type(box("cmbTable"), u"Customers"_s);
    // The button comes up while the field list is still loading.
    bool released = false;
    const auto connection = QObject::connect(
        &window->worker(), &quarix::session::DatabaseWorker::submitted, fields, [&] {
            if (!std::exchange(released, true))
                QTest::mouseRelease(fields, Qt::LeftButton, {}, arrow);
        });
    QTest::mousePress(fields, Qt::LeftButton, {}, arrow);
    QObject::disconnect(connection);
    settle();
    EXPECT_TRUE(released);
    EXPECT_TRUE(fields->view()->isVisible());
    EXPECT_GT(fields->count(), 5);
    EXPECT_EQ(fields->itemText(0), u"CustomerID"_s);
}

TEST_F(TypedCriteriaTest, DropDownListsShowWholeNames) {
    REQUIRE_ENGINE();
    open("shop.accdb");
    QComboBox* tables = box("cmbTable");
    QString longest;
    for (const QString& name : entries(tables))
        if (name.size() > longest.size())
            longest = name;
    const int needed = tables->view()->fontMetrics().horizontalAdvance(longest);
    // The shop's names are short: a narrow box stands for a long name.
    tables->setFixedWidth(needed / 2);
    ASSERT_GT(needed, tables->width()) << "a name longer than the closed box";
    tables->showPopup();
    EXPECT_TRUE(tables->view()->isVisible());
    EXPECT_GT(tables->view()->viewport()->width(), needed);
    EXPECT_EQ(tables->view()->textElideMode(), Qt::ElideNone);
    tables->hidePopup();

    // Suggestions too.
    type(tables, longest.left(4));
    QAbstractItemView* suggested = suggestions(tables);
    ASSERT_TRUE(suggested->isVisible());
    EXPECT_GT(suggested->viewport()->width(), needed);
}

} // namespace
