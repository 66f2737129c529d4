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
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include <gtest/gtest.h>

using namespace quarix::history;
using quarix::platform::FileDialog;
using quarix::platform::MessageBox;

namespace {

using quarix::test::entries;

QString copyOfShop(const std::string& scratch) {
    const auto dir = quarix::test::scratchDir(scratch);
    const auto copy = dir / "shop.mdb";
    std::filesystem::copy_file(quarix::test::dataFile("shop.mdb"), copy);
    return QString::fromStdString(copy.string());
}

const QStringList shopTables{QStringLiteral("Customers"),     QStringLiteral("Orders"),
                             QStringLiteral("Order Details"), QStringLiteral("Empty Table"),
                             QStringLiteral("Wide"),          QStringLiteral("msysnotes"),
                             QStringLiteral("Types")};

struct AutoLoadDialogTest : ::testing::Test {
    FakeSearchWindow window;
    std::optional<bool> checkMark;
    quarix::session::DatabaseWorker* worker = nullptr;
    QPointer<frmAutoLoad> dialog;

    void SetUp() override {
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

TEST_F(AutoLoadDialogTest, ShowsEveryControlWithItsText) {
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quarix AutoLoad"));
    EXPECT_FALSE(dialog->isModal());
    const std::pair<const char*, const char*> labels[] = {
        {"Label4", "If you are using the same database regularly you can set that database to "
                   "load automatically when you start Quarix."},
        {"Label1", "Default Database:"},
        {"Label2", "In table:"},
        {"Label3", "In field:"}};
    for (const auto& [name, text] : labels)
        EXPECT_EQ(control<QLabel>(name)->text(), QString::fromUtf8(text)) << name;
    const std::pair<const char*, const char*> buttons[] = {
        {"chkDefaultdb", "Load a default database when Quarix starts"},
        {"cmdFiles", "..."},
        {"cmdCurrent", "Copy from Current Quarix Search"},
        {"OKButton", "OK"},
        {"cmdCancel", "Cancel"}};
    for (const auto& [name, text] : buttons)
        EXPECT_EQ(control<QAbstractButton>(name)->text(), QString::fromUtf8(text)) << name;
    EXPECT_EQ(control<QPushButton>("cmdFiles")->toolTip(),
              QStringLiteral("Click to select/change database"));
    // Never set: unticked, and the boxes wait for the tick.
    EXPECT_FALSE(control<QCheckBox>("chkDefaultdb")->isChecked());
    EXPECT_FALSE(control<QLineEdit>("txtDefault")->isEnabled());
    control<QCheckBox>("chkDefaultdb")->click();
    EXPECT_TRUE(control<QLineEdit>("txtDefault")->isEnabled());
    EXPECT_TRUE(tables()->isEnabled());
    EXPECT_TRUE(fields()->isEnabled());
}

TEST_F(AutoLoadDialogTest, OpensWithTheStoredChoiceWhileItsFileExists) {
    const QString path = copyOfShop("autoload-open");
    window.settings.UseDefault = QStringLiteral("1");
    window.settings.AutoLoadDatabase = path;
    window.settings.AutoLoadTable = QStringLiteral("Orders");
    window.settings.AutoLoadField = QStringLiteral("Status");
    open();
    EXPECT_TRUE(control<QCheckBox>("chkDefaultdb")->isChecked());
    EXPECT_EQ(control<QLineEdit>("txtDefault")->text(), path);
    EXPECT_EQ(tables()->currentText(), QStringLiteral("Orders"));
    EXPECT_EQ(fields()->currentText(), QStringLiteral("Status"));
    EXPECT_EQ(tables()->count(), 0);
    delete dialog.data();

    std::filesystem::remove(path.toStdString());
    open();
    EXPECT_EQ(control<QLineEdit>("txtDefault")->text(), path);
    EXPECT_TRUE(tables()->currentText().isEmpty());
    EXPECT_TRUE(fields()->currentText().isEmpty());
}

TEST_F(AutoLoadDialogTest, AChosenFileListsItsTablesThenItsQueries) {
    const QString path = copyOfShop("autoload-choose");
    open();
    FileDialog::queueAnswer(path);
    click("cmdFiles");
    ASSERT_EQ(FileDialog::shown().size(), 1u);
    EXPECT_EQ(FileDialog::shown()[0].title, QStringLiteral("Select Database"));
    EXPECT_EQ(FileDialog::shown()[0].filter,
              QStringLiteral("Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb"));
    EXPECT_TRUE(FileDialog::shown()[0].startPath.isEmpty());
    EXPECT_EQ(control<QLineEdit>("txtDefault")->text(), path);
    const QStringList listed = entries(tables());
    EXPECT_EQ(listed.mid(0, shopTables.size()), shopTables);
    EXPECT_TRUE(listed.contains(QStringLiteral("London Customers")));
    EXPECT_FALSE(listed.contains(QStringLiteral("~sq_cfrmHidden")));
    for (const QString& name : listed)
        EXPECT_FALSE(name.startsWith(QStringLiteral("MSys"))) << name.toStdString();
    EXPECT_TRUE(tables()->currentText().isEmpty());

    // Cancelling the next choice keeps the path; the dialog starts at it.
    click("cmdFiles");
    EXPECT_EQ(FileDialog::shown()[1].startPath, path);
    EXPECT_EQ(control<QLineEdit>("txtDefault")->text(), path);
}

TEST_F(AutoLoadDialogTest, TheListsFollowShowTablesAndShowQueries) {
    const QString path = copyOfShop("autoload-kinds");
    window.settings.ShowQueries = 0;
    open();
    dialog->Load_cmbTable(path);
    EXPECT_EQ(entries(tables()), shopTables);

    window.settings.ShowQueries = 1;
    window.settings.ShowTables = 0;
    dialog->Load_cmbTable(path);
    const QStringList queries = entries(tables());
    EXPECT_FALSE(queries.contains(QStringLiteral("Customers")));
    EXPECT_TRUE(queries.contains(QStringLiteral("Countries")));
}

TEST_F(AutoLoadDialogTest, ReadsGoThroughTheWindowsWorker) {
    const QString path = copyOfShop("autoload-job");
    quarix::session::DatabaseWorker databaseWorker;
    worker = &databaseWorker;
    open();
    dialog->Load_cmbTable(path);
    EXPECT_EQ(tables()->count(), 0) << "the list fills in when the read ends";
    ASSERT_TRUE(QTest::qWaitFor([&] { return databaseWorker.idle(); }, 10000));
    EXPECT_EQ(entries(tables()).first(), QStringLiteral("Customers"));
    tables()->setCurrentText(QStringLiteral("Orders"));
    dialog->Load_cmbField(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return databaseWorker.idle(); }, 10000));
    EXPECT_EQ(fields()->currentText(), QStringLiteral("OrderID"));

    // The dialog closes before its read ends: the read's report finds no dialog.
    dialog->Load_cmbField(path);
    delete dialog.data();
    ASSERT_TRUE(QTest::qWaitFor([&] { return databaseWorker.idle(); }, 10000));
    EXPECT_TRUE(MessageBox::shown().empty());
}

TEST_F(AutoLoadDialogTest, EnteringTheBoxesRebuildsTheirLists) {
    const QString path = copyOfShop("autoload-enter");
    window.settings.AutoLoadDatabase = path;
    window.settings.AutoLoadTable = QStringLiteral("Orders");
    open();
    EXPECT_EQ(tables()->currentText(), QStringLiteral("Orders"));
    enter(tables());
    EXPECT_EQ(entries(tables()).first(), QStringLiteral("Customers"));
    EXPECT_TRUE(tables()->currentText().isEmpty());

    enter(fields()); // no table chosen: nothing to list
    EXPECT_EQ(fields()->count(), 0);
    tables()->setCurrentText(QStringLiteral("Customers"));
    enter(fields());
    EXPECT_EQ(fields()->currentText(), QStringLiteral("CustomerID"));
    fields()->setCurrentText(QStringLiteral("City"));
    enter(fields());
    EXPECT_EQ(fields()->currentText(), QStringLiteral("CustomerID"));
    EXPECT_EQ(fields()->count(), 11);
}

TEST_F(AutoLoadDialogTest, ReadingErrorsAreReportedAndTheDialogStays) {
    const QString path = copyOfShop("autoload-errors");
    open();
    control<QLineEdit>("txtDefault")->setText(path);
    tables()->setCurrentText(QStringLiteral("Empty Table"));
    fields()->setCurrentText(QStringLiteral("stale"));
    enter(fields());
    ASSERT_EQ(MessageBox::shown().size(), 1u);
    EXPECT_TRUE(MessageBox::shown()[0].text.startsWith(
        QStringLiteral("LOAD FIELDS: Error Reading Database\n3021 ")));
    EXPECT_TRUE(fields()->currentText().isEmpty());

    const QString broken =
        QString::fromStdString((quarix::test::scratchDir("autoload-broken") / "bad.mdb").string());
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    dialog->Load_cmbTable(broken);
    ASSERT_EQ(MessageBox::shown().size(), 2u);
    EXPECT_TRUE(MessageBox::shown()[1].text.startsWith(
        QStringLiteral("LOAD TABLES: Error Reading Database\n")));
    EXPECT_FALSE(closed());
}

TEST_F(AutoLoadDialogTest, CopiesTheCurrentSearch) {
    open();
    click("cmdCurrent"); // no database open: nothing to copy
    EXPECT_TRUE(control<QLineEdit>("txtDefault")->text().isEmpty());
    EXPECT_FALSE(tables()->isEnabled());

    window.CurrentDatabasePath = copyOfShop("autoload-copy");
    window.table = QStringLiteral("Orders");
    window.field = QStringLiteral("Status");
    click("cmdCurrent");
    EXPECT_EQ(control<QLineEdit>("txtDefault")->text(), window.CurrentDatabasePath);
    EXPECT_TRUE(tables()->isEnabled());
    EXPECT_TRUE(fields()->isEnabled());
    EXPECT_EQ(tables()->currentText(), QStringLiteral("Orders"));
    EXPECT_EQ(fields()->currentText(), QStringLiteral("Status"));
    EXPECT_FALSE(control<QCheckBox>("chkDefaultdb")->isChecked());
}

TEST_F(AutoLoadDialogTest, OkOpensTheDefaultDatabaseAtOnce) {
    const QString path = copyOfShop("autoload-ok");
    open();
    control<QCheckBox>("chkDefaultdb")->click();
    FileDialog::queueAnswer(path);
    click("cmdFiles");
    tables()->setCurrentText(QStringLiteral("Customers"));
    enter(fields());
    fields()->setCurrentText(QStringLiteral("City"));
    click("OKButton");

    EXPECT_EQ(window.settings.UseDefault, QStringLiteral("1"));
    EXPECT_EQ(window.settings.AutoLoadDatabase, path);
    EXPECT_EQ(window.settings.AutoLoadTable, QStringLiteral("Customers"));
    EXPECT_EQ(window.settings.AutoLoadField, QStringLiteral("City"));
    EXPECT_EQ(checkMark, true);
    EXPECT_EQ(window.CurrentDatabasePath, path);
    EXPECT_EQ(window.caption, QStringLiteral("Quarix - shop.mdb"));
    EXPECT_EQ(window.calls,
              (QStringList{QStringLiteral("updateTableQuery"), QStringLiteral("loadTables ") + path,
                           QStringLiteral("resetGrid"), QStringLiteral("loadFields ")}));
    EXPECT_TRUE(closed());
}

TEST_F(AutoLoadDialogTest, UntickingKeepsTheStoredChoice) {
    window.settings.UseDefault = QStringLiteral("1");
    window.settings.AutoLoadDatabase = QStringLiteral("/data/kept.mdb");
    window.settings.AutoLoadTable = QStringLiteral("Orders");
    window.settings.AutoLoadField = QStringLiteral("Status");
    open();
    control<QCheckBox>("chkDefaultdb")->click();
    control<QLineEdit>("txtDefault")->setText(QStringLiteral("/data/other.mdb"));
    click("OKButton");
    EXPECT_EQ(window.settings.UseDefault, QStringLiteral("0"));
    EXPECT_EQ(window.settings.AutoLoadDatabase, QStringLiteral("/data/kept.mdb"));
    EXPECT_EQ(window.settings.AutoLoadTable, QStringLiteral("Orders"));
    EXPECT_EQ(window.settings.AutoLoadField, QStringLiteral("Status"));
    EXPECT_EQ(checkMark, false);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_FALSE(firstDatabase(QString(), window.settings).has_value());
}

TEST_F(AutoLoadDialogTest, CancelChangesNothing) {
    open();
    control<QCheckBox>("chkDefaultdb")->click();
    control<QLineEdit>("txtDefault")->setText(QStringLiteral("/data/new.mdb"));
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
    settings.UseDefault = QStringLiteral("1");
    settings.AutoLoadDatabase = QStringLiteral("/data/default.mdb");
    EXPECT_EQ(firstDatabase(QStringLiteral("/data/cmd.mdb"), settings),
              QStringLiteral("/data/cmd.mdb"));
    EXPECT_EQ(firstDatabase(QString(), settings), settings.AutoLoadDatabase);
    settings.AutoLoadDatabase = QStringLiteral("C");
    EXPECT_FALSE(firstDatabase(QString(), settings).has_value());
    settings.AutoLoadDatabase = QStringLiteral("C:");
    EXPECT_TRUE(firstDatabase(QString(), settings).has_value());
    for (const char* off : {"0", "", "True"}) {
        settings.UseDefault = QLatin1String(off);
        EXPECT_FALSE(firstDatabase(QString(), settings).has_value()) << off;
    }
}

TEST(AutoLoadStartup, OpensTheDatabaseWithoutEmptyingTheGrid) {
    FakeSearchWindow window;
    window.table = QStringLiteral("Customers");
    quarix::history::SearchWindowPort port = window.port();
    openDefaultDatabase(QStringLiteral("/data/shop.accdb"), port, false);
    EXPECT_EQ(window.CurrentDatabasePath, QStringLiteral("/data/shop.accdb"));
    EXPECT_EQ(window.caption, QStringLiteral("Quarix - shop.accdb"));
    EXPECT_EQ(window.calls, (QStringList{QStringLiteral("updateTableQuery"),
                                         QStringLiteral("loadTables /data/shop.accdb"),
                                         QStringLiteral("loadFields Customers")}));
}
