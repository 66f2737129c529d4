#include "MainWindowFixture.h"

#include "session/DatabaseWorker.h"

#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

// The user presses Esc as soon as a database job starts. The copies are
// fresh files, so every job here begins with a first read of the file,
// which stops at once when it is cancelled.
class CancelTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QObject::connect(&window->worker(), &quarix::session::DatabaseWorker::submitted,
                         window.get(), [this] {
                             if (++jobsStarted == cancelledJob)
                                 QTest::keyClick(window.get(), Qt::Key_Escape);
                         });
    }

    // What a cancel leaves: no message, no further dialog, the caption of
    // the database and one note in the status bar.
    void expectQuietCancel(const QString& fileName, std::size_t dialogsBefore) {
        EXPECT_TRUE(messages().empty())
            << (messages().empty() ? "" : messages()[0].text.toStdString());
        EXPECT_EQ(quarix::platform::FileDialog::shown().size(), dialogsBefore);
        EXPECT_EQ(window->windowTitle(), u"Quarix - "_s + fileName);
        EXPECT_EQ(window->statusBar()->currentMessage(), u"Cancelled."_s);
        EXPECT_TRUE(window->databaseIdle());
    }

    // The user's next action comes through the event loop.
    static void later() { QCoreApplication::sendPostedEvents(); }

    // Esc for the job of this number (counting every job from 1).
    void cancelJobAfterNext(int jobs) { cancelledJob = jobsStarted + jobs; }

    int cancelledJob = 0;
    int jobsStarted = 0;
};

TEST_F(CancelTest, EscWhileTheFieldsLoadIsQuietAndTheNextLoadReadsAgain) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    ASSERT_TRUE(messages().empty());
    box("cmbTable")->setEditText(u"Customers"_s);
    cancelJobAfterNext(1);
    window->cmbTable_LostFocus();
    settle();
    expectQuietCancel(u"shop.mdb"_s, 1);
    EXPECT_EQ(box("CmbField")->count(), 0);
    EXPECT_EQ(box("cmbTable")->currentText(), u"Customers"_s);

    later();
    window->cmbTable_LostFocus();
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(box("CmbField")->itemText(0), u"CustomerID"_s);
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.mdb"_s);
}

TEST_F(CancelTest, EscDuringASearchLeavesNoResultAndNoPaging) {
    REQUIRE_ENGINE();
    open("shop.accdb");
    window->settings.WriteLog = true;
    box("cmbTable")->setEditText(u"Customers"_s);
    box("CmbField")->setEditText(u"Name"_s);
    box("cmbValues")->setEditText(u"a"_s);
    cancelJobAfterNext(1);
    window->cmdQuarix_Click();
    settle();
    expectQuietCancel(u"shop.accdb"_s, 1);
    EXPECT_EQ(dataRows(), 0);
    EXPECT_TRUE(button("cmdPage1")->isHidden());
    EXPECT_TRUE(window->searchState.CurrentWhere.isEmpty());

    later();
    window->cmdQuarix_Click();
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_GT(dataRows(), 0);
    EXPECT_EQ(window->searchState.CurrentWhere, u"[Name] Like '*a*'"_s);
}

TEST_F(CancelTest, ACancelWhileOpeningOffersNoOpenDialog) {
    REQUIRE_ENGINE();
    const QString path = copyOf("shop.mdb");
    // The default table has its fields listed right after the tables.
    window->settings.AutoLoadDatabase = path;
    window->settings.AutoLoadTable = u"Orders"_s;
    window->settings.AutoLoadField = u"Status"_s;
    cancelJobAfterNext(2);
    openThroughDialog(path);
    expectQuietCancel(u"shop.mdb"_s, 1);
    EXPECT_EQ(jobsStarted, 2);
    EXPECT_EQ(box("CmbField")->count(), 0);
}

TEST_F(CancelTest, ACancelledReplayRunsNoSearch) {
    REQUIRE_ENGINE();
    const QString path = open("shop.mdb");
    search("Customers", "Name", "Contains", "a");
    ASSERT_EQ(dataRows(), 215);
    // A changed file is read anew.
    std::filesystem::last_write_time(
        path.toStdString(), std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
    const int before = jobsStarted;
    cancelJobAfterNext(2); // the tables, then the fields
    window->mnulast_Click(0);
    settle();
    expectQuietCancel(u"shop.mdb"_s, 1);
    EXPECT_EQ(jobsStarted, before + 2);
    EXPECT_EQ(dataRows(), 0);
    EXPECT_TRUE(window->searchState.CurrentWhere.isEmpty());
    EXPECT_FALSE(window->searchState.ReplayPending);
}

} // namespace
