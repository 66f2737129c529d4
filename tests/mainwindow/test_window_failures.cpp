#include "MainWindowFixture.h"

#include <QLabel>

#include <QFile>
#include <QTemporaryDir>

namespace {

// A copy of shop.mdb cut after its first bytes, or a file of other bytes.
class DamagedFileTest : public MainWindowTest {
protected:
    QString cutCopy(qint64 bytes) {
        const QString path = folder_.filePath(QStringLiteral("cut-%1.mdb").arg(bytes));
        EXPECT_TRUE(QFile::copy(QString::fromStdString(quarix::test::dataFile("shop.mdb")), path));
        EXPECT_TRUE(QFile::resize(path, bytes));
        return path;
    }
    QString garbageFile() {
        const QString path = folder_.filePath(QStringLiteral("garbage.mdb"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(8192, '\x5a'));
        return path;
    }

    // The messages shown by one action, forgotten afterwards.
    std::vector<quarix::platform::MessageBox::Shown> shownBy(const std::function<void()>& action) {
        quarix::platform::MessageBox::clearShown();
        action();
        auto shown = messages();
        quarix::platform::MessageBox::clearShown();
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
            EXPECT_TRUE(opened[0].text.startsWith(
                QStringLiteral("LOAD TABLES: Error Reading Database\n3343 ")))
                << opened[0].text.toStdString();
        }
        const auto listed = shownBy([&] {
            box("cmbTable")->setEditText(QStringLiteral("Customers"));
            window->cmbTable_LostFocus();
            settle();
        });
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_TRUE(
            listed[0].text.startsWith(QStringLiteral("LOAD FIELDS: Error Reading Database\n3343 ")))
            << listed[0].text.toStdString();
        EXPECT_EQ(box("CmbField")->count(), 0);

        box("cmbTable")->setEditText(QStringLiteral("Customers"));
        const auto searched = shownBy([&] { window->cmdQuarix_Click(); });
        ASSERT_EQ(searched.size(), 1u);
        EXPECT_EQ(searched[0].text, QStringLiteral("No Field Selected"));
        EXPECT_EQ(searched[0].title, QStringLiteral("Quarix - Search Error"));
    }
}

TEST_F(MainWindowTest, ASearchWithoutAFieldSaysSoUnlessItNeedsNone) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, QStringLiteral("No Field Selected"));

    // "Undo Filter" shows every record again, and SQL mode's own criterion
    // names its fields itself.
    quarix::platform::MessageBox::clearShown();
    window->cmdClear_Click();
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(dataRows(), 250);
    window->mnuSQLmode_Click();
    control<QLineEdit>("txtSearch")->setText(QStringLiteral("[Age] > 70"));
    window->cmdQuarix_Click();
    settle();
    EXPECT_TRUE(messages().empty());
    EXPECT_GT(dataRows(), 0);
}

TEST_F(MainWindowTest, AValueListThatCannotBeReadIsReported) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("No Such Field"), QStringLiteral("Contains"),
           QString());
    window->CmbField_LostFocus();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(
        messages()[0].text.startsWith(QStringLiteral("LOAD VALUES: Error Reading Database\n")));
    EXPECT_EQ(box("cmbValues")->count(), 0);

    // An empty field box has nothing to list and nothing to report.
    quarix::platform::MessageBox::clearShown();
    box("CmbField")->setEditText(QString());
    window->CmbField_LostFocus();
    settle();
    EXPECT_TRUE(messages().empty());
}

TEST_F(MainWindowTest, PagingDisappearsWhenASearchFails) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.accdb"));
    window->settings.MaxResults = QStringLiteral("50");
    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_FALSE(button("cmdPage1")->isHidden());

    // An engine failure and a refused criterion both leave no page to turn.
    choose(QStringLiteral("Customers"), QStringLiteral("No Such Field"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("GET DATA: ")));
    EXPECT_TRUE(button("cmdPage1")->isHidden());

    choose(QStringLiteral("Customers"), QStringLiteral("Name"), QStringLiteral("Contains"),
           QStringLiteral("a"));
    window->cmdQuarix_Click();
    settle();
    ASSERT_FALSE(button("cmdPage1")->isHidden());
    box("cmbFunction")->setCurrentText(QStringLiteral("> Greater"));
    window->cmdQuarix_Click();
    settle();
    EXPECT_EQ(messages().back().text, QStringLiteral("The > Greater operator requires a number."));
    EXPECT_TRUE(button("cmdPage1")->isHidden());
    // Nothing speaks of the counts that are no longer on screen.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quarix - shop.accdb"));
    EXPECT_TRUE(control<QLabel>("lblStatus")->text().isEmpty());
}

} // namespace
