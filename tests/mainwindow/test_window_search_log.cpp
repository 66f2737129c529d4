#include "SettingsWindowFixture.h"

#include "settings/SearchLog.h"

namespace {

// Chooses a search as a user would and runs it.
void search(frmMain* window, const QString& field, const QString& op, const QString& value) {
    window->findChild<QComboBox*>(QStringLiteral("cmbTable"))
        ->setEditText(QStringLiteral("Customers"));
    window->Load_Fields();
    ASSERT_TRUE(settled(window));
    window->findChild<QComboBox*>(QStringLiteral("CmbField"))->setEditText(field);
    window->findChild<QComboBox*>(QStringLiteral("cmbFunction"))->setCurrentText(op);
    window->findChild<QComboBox*>(QStringLiteral("cmbValues"))->setEditText(value);
    window->cmdQuarix_Click();
    ASSERT_TRUE(settled(window));
}

TEST_F(SettingsWindowTest, PagedAndUnpagedSearchesAreLogged) {
    REQUIRE_ENGINE();
    writeFile(allUsers + QStringLiteral("/Quarix.ini"), "[Quarix]\nWriteLog=True\nMaxResults=10\n");
    frmMain* paged = start({copyOf("shop.accdb")});
    ASSERT_TRUE(paged->PagedMode);
    search(paged, QStringLiteral("City"), QStringLiteral("Equals"), QStringLiteral("London"));
    paged->cmdPage_Click(1);
    ASSERT_TRUE(settled(paged));
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();
    paged->close();
    delete paged;

    frmMain* unpaged = start({copyOf("shop.mdb")});
    ASSERT_FALSE(unpaged->PagedMode);
    search(unpaged, QStringLiteral("City"), QStringLiteral("Equals"), QStringLiteral("London"));
    ASSERT_TRUE(messages().empty()) << messages().front().text.toStdString();

    const QStringList lines =
        QString::fromUtf8(readFile(searchLogPath(environment()))).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5); // header, three searches, the last line end
    EXPECT_EQ(lines[0], kSearchLogHeader);
    const QStringList first = lines[1].split(QLatin1Char(','));
    ASSERT_EQ(first.size(), 13);
    EXPECT_TRUE(first[2].endsWith(QStringLiteral("/shop.accdb")));
    EXPECT_EQ(first.mid(3, 4).join(QLatin1Char(',')),
              QStringLiteral("Customers,City,[City] Like 'London' ORDER BY [City] ASC,22"));
    EXPECT_EQ(first.mid(8).join(QLatin1Char(',')), QStringLiteral("ann,pc1,Paged,10,Page 1"));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(",ann,pc1,Paged,10,Page 2")));
    const QStringList third = lines[3].split(QLatin1Char(','));
    ASSERT_EQ(third.size(), 13);
    EXPECT_TRUE(third[2].endsWith(QStringLiteral("/shop.mdb")));
    EXPECT_EQ(third.mid(3, 4).join(QLatin1Char(',')),
              QStringLiteral("Customers,City,[City] Like 'London',22"));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral(",ann,pc1,Not Paged,,")));
    EXPECT_TRUE(lines[4].isEmpty());
}

TEST_F(SettingsWindowTest, ALogThatCannotBeWrittenIsReportedAndTheSearchStillSucceeds) {
    REQUIRE_ENGINE();
    const QString database = copyOf("shop.mdb");
    // A plain file where the all-users folder should be: nothing can be created in it.
    writeFile(allUsers, "not a folder");
    variables[QStringLiteral("ALLUSERSPROFILE")] = allUsers + QStringLiteral("/inside");
    frmMain* window = start({database});
    window->settings.WriteLog = true;
    search(window, QStringLiteral("City"), QStringLiteral("Equals"), QStringLiteral("London"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, kSearchLogWriteFailed);
    EXPECT_EQ(messages()[0].title, QStringLiteral("Quarix"));
    EXPECT_EQ(window->gridModel()->Rows() - 1, 22);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Quarix - Customers (22 results")));
}

} // namespace
