#include "MainWindowFixture.h"

#include "mainwindow/ResultGridView.h"
#include "session/DatabaseWorker.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QTimer>

namespace {

// The boxes are typed into as a user does: key by key, with the value list
// loaded and the suggestions live.
class TypedCriteriaTest : public MainWindowTest {
protected:
    void openCustomers(const QString& field, const QString& op) {
        REQUIRE_ENGINE();
        openThroughDialog(copyOf("shop.mdb"));
        box("cmbTable")->setEditText(QStringLiteral("Customers"));
        window->cmbTable_LostFocus();
        settle();
        box("CmbField")->setEditText(field);
        window->CmbField_LostFocus();
        settle();
        box("cmbFunction")->setCurrentText(op);
    }

    void type(QComboBox* into, const QString& text) {
        into->setFocus();
        settle(); // entering a box may load its list
        into->clearEditText();
        QTest::keyClicks(into, text);
    }

    static QAbstractItemView* suggestions(QComboBox* of) {
        return of->findChild<QCompleter*>(QStringLiteral("suggestions"))->popup();
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
            if (w->objectName() == QStringLiteral("frmPrograms") && w->isVisible())
                return true;
        return false;
    }
};

struct TypedValue {
    const char* op;
    const char* typed;
    const char* criterion;
    int rows;
};

class TypedValueIsSearched : public TypedCriteriaTest,
                             public ::testing::WithParamInterface<TypedValue> {};

TEST_P(TypedValueIsSearched, ExactlyAsTyped) {
    const TypedValue& c = GetParam();
    openCustomers(QStringLiteral("City"), QString::fromLatin1(c.op));
    ASSERT_GT(box("cmbValues")->count(), 5) << "the value list offers suggestions";
    type(box("cmbValues"), QString::fromLatin1(c.typed));
    EXPECT_EQ(box("cmbValues")->currentText(), QString::fromLatin1(c.typed));
    QTest::mouseClick(button("cmdQuarix"), Qt::LeftButton);
    settle();
    EXPECT_EQ(clipboard(),
              QStringLiteral("Select * from Customers where ") + QString::fromLatin1(c.criterion));
    EXPECT_EQ(dataRows(), c.rows);
    EXPECT_EQ(box("cmbValues")->currentText(), QString::fromLatin1(c.typed));
}

INSTANTIATE_TEST_SUITE_P(, TypedValueIsSearched,
                         ::testing::Values(TypedValue{"Begins", "Lon", "[City] Like 'Lon*'", 43},
                                           TypedValue{"Begins", "Be", "[City] Like 'Be*'", 43},
                                           TypedValue{"Contains", "lo", "[City] Like '*lo*'", 85},
                                           TypedValue{"Equals", "berlin", "[City] Like 'berlin'",
                                                      21}));

TEST_F(TypedCriteriaTest, EnterSearchesTheTypedTextAndAPickedSuggestionReplacesIt) {
    openCustomers(QStringLiteral("City"), QStringLiteral("Begins"));
    QComboBox* values = box("cmbValues");
    type(values, QStringLiteral("berlin"));
    pressEnter(values);
    EXPECT_EQ(values->currentText(), QStringLiteral("berlin"));
    EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where [City] Like 'berlin*'"));

    // The suggestions pop up; arrow down and Enter take one.
    type(values, QStringLiteral("Lond"));
    QAbstractItemView* popup = suggestions(values);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(values->currentText(), QStringLiteral("Lond"));
    QTest::keyClick(popup, Qt::Key_Down);
    pressEnter(values);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(values->currentText(), QStringLiteral("London"));
    QTest::mouseClick(button("cmdQuarix"), Qt::LeftButton);
    settle();
    EXPECT_EQ(clipboard(), QStringLiteral("Select * from Customers where [City] Like 'London*'"));
}

TEST_F(TypedCriteriaTest, TableAndFieldBoxesKeepTheTypedText) {
    openCustomers(QStringLiteral("City"), QStringLiteral("Contains"));
    type(box("cmbTable"), QStringLiteral("Ord"));
    EXPECT_EQ(box("cmbTable")->currentText(), QStringLiteral("Ord"));
    type(box("CmbField"), QStringLiteral("Na"));
    EXPECT_EQ(box("CmbField")->currentText(), QStringLiteral("Na"));
}

TEST_F(TypedCriteriaTest, EditingKeysWinOverMenuShortcutsWhileTyping) {
    QComboBox* values = box("cmbValues");
    type(values, QStringLiteral("abc"));
    QTest::keyClick(values, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(programsDialogOpen());
    EXPECT_EQ(values->lineEdit()->selectedText(), QStringLiteral("abc"));
    QTest::keyClick(values, Qt::Key_X);
    EXPECT_EQ(values->currentText(), QStringLiteral("x"));

    window->mnuSQLmode_Click();
    auto* sql = control<QLineEdit>("txtSearch");
    sql->setFocus();
    sql->clear();
    QTest::keyClicks(sql, QStringLiteral("[Age] > 3"));
    QTest::keyClick(sql, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(programsDialogOpen());
    EXPECT_EQ(sql->selectedText(), QStringLiteral("[Age] > 3"));

    // Away from the text boxes and the grid Ctrl+A is the Programs item's shortcut.
    button("cmdQuarix")->setFocus();
    QTest::keyClick(button("cmdQuarix"), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(programsDialogOpen());
}

} // namespace

namespace {

QPoint arrowOf(QComboBox* box) {
    return QPoint(box->width() - 6, box->height() / 2);
}

TEST_F(TypedCriteriaTest, TheFirstClickOnTheFieldArrowOpensTheLoadedList) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QComboBox* fields = box("CmbField");
    type(box("cmbTable"), QStringLiteral("Customers"));
    // The button comes up while the field list is still loading.
    bool released = false;
    const auto connection = QObject::connect(
        &window->worker(), &quarix::session::DatabaseWorker::submitted, fields, [&] {
            if (!std::exchange(released, true))
                QTest::mouseRelease(fields, Qt::LeftButton, {}, arrowOf(fields));
        });
    QTest::mousePress(fields, Qt::LeftButton, {}, arrowOf(fields));
    QObject::disconnect(connection);
    settle();
    EXPECT_TRUE(released);
    EXPECT_TRUE(fields->view()->isVisible());
    EXPECT_GT(fields->count(), 5);
    EXPECT_EQ(fields->itemText(0), QStringLiteral("CustomerID"));
}

} // namespace

namespace {

TEST_F(TypedCriteriaTest, DropDownListsShowWholeNames) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.accdb"));
    QComboBox* tables = box("cmbTable");
    QString longest;
    for (int i = 0; i < tables->count(); ++i)
        if (tables->itemText(i).size() > longest.size())
            longest = tables->itemText(i);
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
