#include "MainWindowFixture.h"

#include <QLabel>

#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A copy of shop.mdb cut after its first bytes, or a file of other bytes.
class DamagedFileTest : public MainWindowTest {
protected:
    QString cutCopy(qint64 bytes) {
        const QString path = folder_.filePath(u"cut-%1.mdb"_s.arg(bytes));
        EXPECT_TRUE(QFile::copy(QString::fromStdString(quarix::test::dataFile("shop.mdb")), path));
        EXPECT_TRUE(QFile::resize(path, bytes));
        return path;
    }
    QString garbageFile() {
        const QString path = folder_.filePath(u"garbage.mdb"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, '\x5a'));
        return path;
    }

    // The messages shown by one action, forgotten afterwards.
    std::vector<quarix::platform::MessageBox::Shown> shownBy(const std::function<void()>& action) {
        forgetMessages();
        action();
        auto shown = messages();
        forgetMessages();
        return shown;
    }

private:
    QTemporaryDir folder_;
};

// Every step on a damaged file says what went wrong: opening (or listing
// fields, where the tables could still be read) names the damage, and a
// search without the lists says why it cannot run.
TEST_F(DamagedFileTest, EveryStepOnADamagedFileSaysWhy) {
    REQUIRE_ENGINE();
    for (const QString& path : {garbageFile(), cutCopy(1000), cutCopy(70000)}) {
        SCOPED_TRACE(path.toStdString());
        const auto opened = shownBy([&] { openThroughDialog(path); });
        if (!opened.empty()) {
            ASSERT_EQ(opened.size(), 1u);
            EXPECT_TRUE(opened[0].text.startsWith(u"LOAD TABLES: Error Reading Database\n3343 "_s))
                << opened[0].text.toStdString();
        }
        const auto listed = shownBy([&] {
            box("cmbTable")->setEditText(u"Customers"_s);
            window->cmbTable_LostFocus();
            settle();
        });
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_TRUE(listed[0].text.startsWith(u"LOAD FIELDS: Error Reading Database\n3343 "_s))
            << listed[0].text.toStdString();
        EXPECT_EQ(box("CmbField")->count(), 0);

        box("cmbTable")->setEditText(u"Customers"_s);
        const auto searched = shownBy([&] { window->cmdQuarix_Click(); });
        ASSERT_EQ(searched.size(), 1u);
        EXPECT_EQ(searched[0].text, u"No Field Selected"_s);
        EXPECT_EQ(searched[0].title, u"Quarix - Search Error"_s);
    }
}

TEST_F(MainWindowTest, ASearchWithoutAFieldSaysSoUnlessItNeedsNone) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    box("cmbTable")->setEditText(u"Customers"_s);
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, u"No Field Selected"_s);

    // "Undo Filter" shows every record again, and SQL mode's own criterion
    // names its fields itself.
    forgetMessages();
    window->cmdClear_Click();
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(dataRows(), 250);
    window->mnuSQLmode_Click();
    control<QLineEdit>("txtSearch")->setText(u"[Age] > 70"_s);
    window->cmdQuarix_Click();
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_GT(dataRows(), 0);
}

TEST_F(MainWindowTest, AValueListThatCannotBeReadIsReported) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    choose("Customers", "No Such Field", "Contains", "");
    window->CmbField_LostFocus();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.startsWith(u"LOAD VALUES: Error Reading Database\n"_s));
    EXPECT_EQ(box("cmbValues")->count(), 0);

    // An empty field box has nothing to list and nothing to report.
    forgetMessages();
    box("CmbField")->setEditText(QString());
    window->CmbField_LostFocus();
    settle();
    EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowTest, PagingDisappearsWhenASearchFails) {
    REQUIRE_ENGINE();
    open("shop.accdb");
    window->settings.MaxResults = u"50"_s;
    search("Customers", "Name", "Contains", "a");
    ASSERT_FALSE(button("cmdPage1")->isHidden());

    // An engine failure and a refused criterion both leave no page to turn.
    search("Customers", "No Such Field", "Contains", "a");
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(messages()[0].text.startsWith(u"GET DATA: "_s));
    EXPECT_TRUE(button("cmdPage1")->isHidden());

    search("Customers", "Name", "Contains", "a");
    ASSERT_FALSE(button("cmdPage1")->isHidden());
    box("cmbFunction")->setCurrentText(u"> Greater"_s);
    window->cmdQuarix_Click();
    settle();
    EXPECT_EQ(messages().back().text, u"The > Greater operator requires a number."_s);
    EXPECT_TRUE(button("cmdPage1")->isHidden());
    // Nothing speaks of the counts that are no longer on screen.
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.accdb"_s);
    EXPECT_TRUE(control<QLabel>("lblStatus")->text().isEmpty());
}

} // namespace
