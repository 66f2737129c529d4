#include "FakeSearchWindow.h"

#include "history/AutoLoad.h"
#include "history/frmAutoLoad.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "tests/support/ComboEntries.h"
#include "tests/support/TestData.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::history;
using quarix::platform::FileDialog;
using quarix::platform::MessageBox;

namespace {

using quarix::test::entries;

const QStringList shopTables{u"Customers"_s, u"Orders"_s,    u"Order Details"_s, u"Empty Table"_s,
                             u"Wide"_s,      u"msysnotes"_s, u"Types"_s};

struct AutoLoadDialogTest : ::testing::Test {
    quarix::test::ScratchFolder dir{"autoload"};
    // A copy of the shop, which a test may delete.
    QString shop;
    FakeSearchWindow window;
    std::optional<bool> checkMark;
    quarix::session::DatabaseWorker* worker = nullptr;
    QPointer<frmAutoLoad> dialog;

    void SetUp() override {
        std::filesystem::copy_file(quarix::test::dataFile("shop.mdb"), dir / "shop.mdb");
        shop = QString::fromStdString((dir / "shop.mdb").string());
        MessageBox::setTestMode(true);
        FileDialog::setTestMode(true);
        window.settings.ShowTables = 1;
        window.settings.ShowQueries = 1;
    }
    void TearDown() override {
        delete dialog.data();
        MessageBox::setTestMode(false);
        FileDialog::setTestMode(false);
    }

    void store(const QString& use, const QString& path, const QString& table,
               const QString& field = {}) {
        window.settings.UseDefault = use;
        window.settings.AutoLoadDatabase = path;
        window.settings.AutoLoadTable = table;
        window.settings.AutoLoadField = field;
    }
    frmAutoLoad* open() {
        AutoLoadPort port;
        port.window = window.port();
        port.setAutoLoadChecked = [this](bool on) { checkMark = on; };
        port.worker = worker;
        dialog = new frmAutoLoad(port);
        dialog->show();
        return dialog;
    }
    template <typename W> W* control(const char* name) {
        W* widget = dialog->findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QCheckBox* tick() { return control<QCheckBox>("chkDefaultdb"); }
    QLineEdit* pathBox() { return control<QLineEdit>("txtDefault"); }
    QComboBox* tables() { return control<QComboBox>("cmbTable"); }
    QComboBox* fields() { return control<QComboBox>("CmbField"); }
    void enter(QWidget* box) {
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(box, &focus);
    }
    void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    bool closed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull() || !dialog->isVisible();
    }
};

} // namespace

TEST_F(AutoLoadDialogTest, OpensWithTheStoredChoiceWhileItsFileExists) {
    store(u"1"_s, shop, u"Orders"_s, u"Status"_s);
    open();
    EXPECT_TRUE(tick()->isChecked());
    EXPECT_EQ(pathBox()->text(), shop);
    EXPECT_EQ(tables()->currentText(), u"Orders"_s);
    EXPECT_EQ(fields()->currentText(), u"Status"_s);
    EXPECT_EQ(tables()->count(), 0);
    delete dialog.data();

    std::filesystem::remove(dir / "shop.mdb");
    open();
    EXPECT_EQ(pathBox()->text(), shop);
    EXPECT_TRUE(tables()->currentText().isEmpty());
    EXPECT_TRUE(fields()->currentText().isEmpty());
}

TEST_F(AutoLoadDialogTest, AChosenFileListsItsTablesThenItsQueries) {
    open();
    FileDialog::queueAnswer(shop);
    click("cmdFiles");
    ASSERT_EQ(FileDialog::shown().size(), 1u);
    EXPECT_EQ(FileDialog::shown()[0].title, u"Select Database"_s);
    EXPECT_EQ(FileDialog::shown()[0].filter, u"Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb"_s);
    EXPECT_TRUE(FileDialog::shown()[0].startPath.isEmpty());
    EXPECT_EQ(pathBox()->text(), shop);
    const QStringList listed = entries(tables());
    EXPECT_EQ(listed.mid(0, shopTables.size()), shopTables);
    EXPECT_TRUE(listed.contains(u"London Customers"_s));
    EXPECT_FALSE(listed.contains(u"~sq_cfrmHidden"_s));
    for (const QString& name : listed)
        EXPECT_FALSE(name.startsWith(u"MSys"_s)) << name.toStdString();
    EXPECT_TRUE(tables()->currentText().isEmpty());

    // Cancelling the next choice keeps the path; the dialog starts at it.
    click("cmdFiles");
    EXPECT_EQ(FileDialog::shown()[1].startPath, shop);
    EXPECT_EQ(pathBox()->text(), shop);
}

TEST_F(AutoLoadDialogTest, TheListsFollowShowTablesAndShowQueries) {
    window.settings.ShowQueries = 0;
    open();
    dialog->Load_cmbTable(shop);
    EXPECT_EQ(entries(tables()), shopTables);

    window.settings.ShowQueries = 1;
    window.settings.ShowTables = 0;
    dialog->Load_cmbTable(shop);
    const QStringList queries = entries(tables());
    EXPECT_FALSE(queries.contains(u"Customers"_s));
    EXPECT_TRUE(queries.contains(u"Countries"_s));
}

TEST_F(AutoLoadDialogTest, ReadsGoThroughTheWindowsWorker) {
    quarix::session::DatabaseWorker databaseWorker;
    worker = &databaseWorker;
    open();
    dialog->Load_cmbTable(shop);
    EXPECT_EQ(tables()->count(), 0) << "the list fills in when the read ends";
    ASSERT_TRUE(QTest::qWaitFor([&] { return databaseWorker.idle(); }, 10000));
    EXPECT_EQ(entries(tables()).first(), u"Customers"_s);
    tables()->setCurrentText(u"Orders"_s);
    dialog->Load_cmbField(shop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return databaseWorker.idle(); }, 10000));
    EXPECT_EQ(fields()->currentText(), u"OrderID"_s);

    // The dialog closes before its read ends: the read's report finds no dialog.
    dialog->Load_cmbField(shop);
    delete dialog.data();
    ASSERT_TRUE(QTest::qWaitFor([&] { return databaseWorker.idle(); }, 10000));
    EXPECT_TRUE(MessageBox::shown().empty());
}

TEST_F(AutoLoadDialogTest, EnteringTheBoxesRebuildsTheirLists) {
    store({}, shop, u"Orders"_s);
    open();
    EXPECT_EQ(tables()->currentText(), u"Orders"_s);
    enter(tables());
    EXPECT_EQ(entries(tables()).first(), u"Customers"_s);
    EXPECT_TRUE(tables()->currentText().isEmpty());

    enter(fields()); // no table chosen: nothing to list
    EXPECT_EQ(fields()->count(), 0);
    tables()->setCurrentText(u"Customers"_s);
    enter(fields());
    EXPECT_EQ(fields()->currentText(), u"CustomerID"_s);
    fields()->setCurrentText(u"City"_s);
    enter(fields());
    EXPECT_EQ(fields()->currentText(), u"CustomerID"_s);
    EXPECT_EQ(fields()->count(), 11);
}

TEST_F(AutoLoadDialogTest, ReadingErrorsAreReportedAndTheDialogStays) {
    open();
    pathBox()->setText(shop);
    tables()->setCurrentText(u"Empty Table"_s);
    fields()->setCurrentText(u"stale"_s);
    enter(fields());
    ASSERT_EQ(MessageBox::shown().size(), 1u);
    EXPECT_TRUE(
        MessageBox::shown()[0].text.startsWith(u"LOAD FIELDS: Error Reading Database\n3021 "_s));
    EXPECT_TRUE(fields()->currentText().isEmpty());

    quarix::test::writeBytes(dir / "bad.mdb", std::string(4096, 'x'));
    dialog->Load_cmbTable(QString::fromStdString((dir / "bad.mdb").string()));
    ASSERT_EQ(MessageBox::shown().size(), 2u);
    EXPECT_TRUE(MessageBox::shown()[1].text.startsWith(u"LOAD TABLES: Error Reading Database\n"_s));
    EXPECT_FALSE(closed());
}

TEST_F(AutoLoadDialogTest, CopiesTheCurrentSearch) {
    open();
    click("cmdCurrent"); // no database open: nothing to copy
    EXPECT_TRUE(pathBox()->text().isEmpty());
    EXPECT_FALSE(tables()->isEnabled());

    window.CurrentDatabasePath = shop;
    window.table = u"Orders"_s;
    window.field = u"Status"_s;
    click("cmdCurrent");
    EXPECT_EQ(pathBox()->text(), window.CurrentDatabasePath);
    EXPECT_TRUE(tables()->isEnabled());
    EXPECT_TRUE(fields()->isEnabled());
    EXPECT_EQ(tables()->currentText(), u"Orders"_s);
    EXPECT_EQ(fields()->currentText(), u"Status"_s);
    EXPECT_FALSE(tick()->isChecked());
}

// Never set, it opens unticked; the tick enables the boxes, and OK opens
// the chosen database at once.
TEST_F(AutoLoadDialogTest, OkOpensTheDefaultDatabaseAtOnce) {
    open();
    EXPECT_FALSE(dialog->isModal());
    EXPECT_FALSE(tick()->isChecked());
    EXPECT_FALSE(pathBox()->isEnabled());
    tick()->click();
    EXPECT_TRUE(pathBox()->isEnabled());
    EXPECT_TRUE(tables()->isEnabled());
    EXPECT_TRUE(fields()->isEnabled());
    FileDialog::queueAnswer(shop);
    click("cmdFiles");
    tables()->setCurrentText(u"Customers"_s);
    enter(fields());
    fields()->setCurrentText(u"City"_s);
    click("OKButton");

    EXPECT_EQ(window.settings.UseDefault, u"1"_s);
    EXPECT_EQ(window.settings.AutoLoadDatabase, shop);
    EXPECT_EQ(window.settings.AutoLoadTable, u"Customers"_s);
    EXPECT_EQ(window.settings.AutoLoadField, u"City"_s);
    EXPECT_EQ(checkMark, true);
    EXPECT_EQ(window.CurrentDatabasePath, shop);
    EXPECT_EQ(window.caption, u"Quarix - shop.mdb"_s);
    EXPECT_EQ(window.calls, (QStringList{u"updateTableQuery"_s, u"loadTables "_s + shop,
                                         u"resetGrid"_s, u"loadFields "_s}));
    EXPECT_TRUE(closed());
}

TEST_F(AutoLoadDialogTest, UntickingKeepsTheStoredChoice) {
    store(u"1"_s, u"/data/kept.mdb"_s, u"Orders"_s, u"Status"_s);
    open();
    tick()->click();
    pathBox()->setText(u"/data/other.mdb"_s);
    click("OKButton");
    EXPECT_EQ(window.settings.UseDefault, u"0"_s);
    EXPECT_EQ(window.settings.AutoLoadDatabase, u"/data/kept.mdb"_s);
    EXPECT_EQ(window.settings.AutoLoadTable, u"Orders"_s);
    EXPECT_EQ(window.settings.AutoLoadField, u"Status"_s);
    EXPECT_EQ(checkMark, false);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_FALSE(firstDatabase(QString(), window.settings).has_value());
}

TEST_F(AutoLoadDialogTest, CancelChangesNothing) {
    open();
    tick()->click();
    pathBox()->setText(u"/data/new.mdb"_s);
    click("cmdCancel");
    EXPECT_TRUE(window.settings.UseDefault.isEmpty());
    EXPECT_TRUE(window.settings.AutoLoadDatabase.isEmpty());
    EXPECT_FALSE(checkMark.has_value());
    EXPECT_TRUE(closed());
}

TEST_F(AutoLoadDialogTest, ClosesWhenAnotherWindowTakesTheFocus) {
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTRY_VERIFY(closed());
    EXPECT_TRUE(window.settings.UseDefault.isEmpty());
}

TEST(AutoLoadStartup, TheCommandLineWinsThenAnAutoLoadPathOfMoreThanOneCharacter) {
    SettingsValues settings;
    settings.UseDefault = u"1"_s;
    settings.AutoLoadDatabase = u"/data/default.mdb"_s;
    EXPECT_EQ(firstDatabase(u"/data/cmd.mdb"_s, settings), u"/data/cmd.mdb"_s);
    EXPECT_EQ(firstDatabase(QString(), settings), settings.AutoLoadDatabase);
    settings.AutoLoadDatabase = u"C"_s;
    EXPECT_FALSE(firstDatabase(QString(), settings).has_value());
    settings.AutoLoadDatabase = u"C:"_s;
    EXPECT_TRUE(firstDatabase(QString(), settings).has_value());
    for (const char* off : {"0", "", "True"}) {
        settings.UseDefault = QLatin1String(off);
        EXPECT_FALSE(firstDatabase(QString(), settings).has_value()) << off;
    }
}

TEST(AutoLoadStartup, OpensTheDatabaseWithoutEmptyingTheGrid) {
    FakeSearchWindow window;
    window.table = u"Customers"_s;
    quarix::history::SearchWindowPort port = window.port();
    openDefaultDatabase(u"/data/shop.accdb"_s, port, false);
    EXPECT_EQ(window.CurrentDatabasePath, u"/data/shop.accdb"_s);
    EXPECT_EQ(window.caption, u"Quarix - shop.accdb"_s);
    EXPECT_EQ(window.calls, (QStringList{u"updateTableQuery"_s, u"loadTables /data/shop.accdb"_s,
                                         u"loadFields Customers"_s}));
}
