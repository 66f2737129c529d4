// Database work runs on the window's worker: what the user does while a
// read is under way, and databases that ask for their password.
#include "MainWindowFixture.h"

#include "engine/AccessDatabase.h"
#include "history/SavedSearches.h"
#include "history/frmAutoLoad.h"
#include "mainwindow/ResultGridView.h"
#include "platform/PasswordPrompt.h"
#include "session/DatabaseWorker.h"
#include "tests/support/AccessPages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

using quarix::platform::PasswordPrompt;

class WindowJobsTest : public MainWindowTest {
protected:
    void TearDown() override {
        release();
        MainWindowTest::TearDown();
    }

    // Holds every job of the window's worker until released or cancelled,
    // as a read of a big table or a slow share keeps it busy.
    void hold() {
        held_ = true;
        window->worker().setGate([this](const std::atomic<bool>& cancel) {
            while (held_ && !cancel)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        });
    }
    void release() {
        held_ = false;
        if (window)
            window->worker().setGate({});
    }

    // The user opens a database; its table list is being read.
    void startOpening(const QString& path) {
        hold();
        quarix::platform::FileDialog::queueAnswer(path);
        action("mnuopen")->trigger();
        ASSERT_FALSE(window->databaseIdle());
    }

private:
    std::atomic<bool> held_{false};
};

// Each of these would change the database, the window or the settings: it
// stops the read first, and the window ends in the state the action asks.
TEST_F(WindowJobsTest, ActionsDuringAReadStopItFirst) {
    REQUIRE_ENGINE();
    const QString first = copyOf("shop.mdb");
    const QString second = copyOf("shop.accdb");

    // Files dropped on the grid: the first of them opens.
    startOpening(first);
    auto* grid = control<ResultGridView>("MSFlexGrid1");
    EXPECT_TRUE(grid->acceptDrops());
    emit grid->filesDropped({second, u"/tmp/never-opened.mdb"_s});
    release();
    settle();
    EXPECT_EQ(window->CurrentDatabasePath, second);
    EXPECT_TRUE(entries(box("cmbTable")).contains(u"Customers"_s));
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.accdb"_s);

    startOpening(first);
    ASSERT_EQ(window->settings.Recent2, second); // the first database went to the top
    action("mnuRecentFile1")->trigger();
    release();
    settle();
    EXPECT_EQ(window->CurrentDatabasePath, second);
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.accdb"_s);
    EXPECT_TRUE(messages().empty());
}

TEST_F(WindowJobsTest, ClosingDuringAReadClosesOnceTheReadHasStopped) {
    REQUIRE_ENGINE();
    startOpening(copyOf("shop.mdb"));
    window->close();
    EXPECT_TRUE(window->isVisible()) << "the read stops first";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 20000));
    EXPECT_TRUE(window->databaseIdle());
}

TEST_F(WindowJobsTest, AReplayAndAnAutoLoadDuringAReadStopItFirst) {
    REQUIRE_ENGINE();
    const QString path = open("shop.mdb");
    search("Customers", "City", "Equals", "London");
    ASSERT_EQ(dataRows(), 22);

    window->mnusavedsearch_Click(quarix::history::SavedSearchesMenu::kSave);
    startOpening(copyOf("shop.accdb"));
    window->mnusavedsearch_Click(quarix::history::SavedSearchesMenu::kFirstSlot);
    release();
    settle();
    EXPECT_EQ(window->CurrentDatabasePath, path);
    EXPECT_EQ(dataRows(), 22) << "the replay ran after the read stopped";

    hold();
    window->Load_Fields();
    window->mnuautoload_Click();
    release();
    settle();
    EXPECT_NE(window->findChild<quarix::history::frmAutoLoad*>(), nullptr);
}

class LockedDatabaseTest : public WindowJobsTest {
protected:
    QString encrypted() { return copyOf("encrypted/db2007-enc.accdb"); }
    static QString shownPrompt(std::size_t n) { return PasswordPrompt::shown().at(n).text; }
};

TEST_F(LockedDatabaseTest, AsksForThePasswordUntilItIsRightThenNeverAgain) {
    REQUIRE_ENGINE();
    const QString path = encrypted();
    PasswordPrompt::queueAnswer(QByteArray("wrong"));
    PasswordPrompt::queueAnswer(QByteArray("Test123"));
    openThroughDialog(path);
    ASSERT_EQ(PasswordPrompt::shown().size(), 2u);
    EXPECT_EQ(shownPrompt(0), QStringLiteral("'db2007-enc.accdb' is protected by a password.\n"
                                             "Password:"));
    EXPECT_TRUE(shownPrompt(1).startsWith(u"Not a valid password.\n"_s));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(window->CurrentDatabasePath, path);
    const QStringList tables = entries(box("cmbTable"));
    ASSERT_FALSE(tables.isEmpty());

    choose(tables.first(), QString(), u"Contains"_s, QString());
    box("CmbField")->setCurrentIndex(0);
    window->cmdQuarix_Click();
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_GT(dataRows(), 0);
    EXPECT_EQ(PasswordPrompt::shown().size(), 2u) << "lists and searches do not ask again";
}

TEST_F(LockedDatabaseTest, CancelOpensNothingAndAnotherDatabaseForgetsThePassword) {
    REQUIRE_ENGINE();
    const QString path = encrypted();
    openThroughDialog(path); // no answer queued: the prompt is cancelled
    EXPECT_EQ(PasswordPrompt::shown().size(), 1u);
    EXPECT_TRUE(window->CurrentDatabasePath.isEmpty());
    EXPECT_EQ(box("cmbTable")->count(), 0);
    EXPECT_EQ(window->windowTitle(), u"Quarix"_s);
    EXPECT_TRUE(messages().empty());

    PasswordPrompt::queueAnswer(QByteArray("Test123"));
    openThroughDialog(path);
    ASSERT_EQ(window->CurrentDatabasePath, path);
    open("shop.mdb");
    EXPECT_THROW(quarix::engine::AccessDatabase::open(path.toStdString()),
                 quarix::engine::EngineError)
        << "the password was wiped when another database opened";
}

// A table with a damaged page: the window shows what can be read and says
// what is missing, in the caption and the status bar.
TEST_F(WindowJobsTest, ADamagedTableShowsItsReadableRowsAndSaysSo) {
    REQUIRE_ENGINE();
    quarix::test::AccessPages pages(quarix::test::fileBytes(quarix::test::dataFile("shop.mdb")));
    std::vector<std::size_t> dataPages;
    for (const auto& table :
         quarix::engine::AccessDatabase::open(quarix::test::dataFile("shop.mdb"))
             ->catalogue()
             .tables)
        if (table.name == "Order Details")
            dataPages = pages.dataPagesOf(static_cast<std::uint32_t>(table.id) & 0xffffff);
    ASSERT_GE(dataPages.size(), 2u);
    const unsigned lost = pages.rowCount(dataPages[1]);
    pages.zero(dataPages[1]);
    const QString path = copyOf("shop.mdb");
    quarix::test::writeBytes(path.toStdString(), pages.bytes());
    openThroughDialog(path);
    search("Order Details", "OrderID", "> Greater", "0");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(dataRows(), static_cast<int>(600 - lost));
    EXPECT_TRUE(window->windowTitle().endsWith(u" - INCOMPLETE: damaged records left out"_s));
    EXPECT_TRUE(
        control<QLabel>("lblStatus")->text().contains(u"Incomplete: The table 'Order Details'"_s));
}

} // namespace
