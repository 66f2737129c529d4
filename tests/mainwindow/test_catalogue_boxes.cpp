#include "MainWindowFixture.h"

#include "mainwindow/ResultGridView.h"

#include <QFile>

namespace {

TEST_F(MainWindowTest, OpeningListsTablesAndQueriesWithoutSystemObjects) {
    REQUIRE_ENGINE();
    const QString path = copyOf("shop.mdb");
    openThroughDialog(path);
    EXPECT_EQ(window->CurrentDatabasePath, path);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quarix - shop.mdb"));
    EXPECT_FALSE(window->PagedMode);
    EXPECT_EQ(entries(box("cmbTableQuery")),
              (QStringList{QStringLiteral("Table"), QStringLiteral("Query")}));
    const QStringList tables = entries(box("cmbTable"));
    for (const char* name :
         {"Customers", "Orders", "Order Details", "Empty Table", "Wide", "msysnotes", "Types"})
        EXPECT_TRUE(tables.contains(QString::fromLatin1(name))) << name;
    for (const QString& name : tables)
        EXPECT_FALSE(name.startsWith(QStringLiteral("MSys"))) << name.toStdString();
    EXPECT_TRUE(messages().empty());

    box("cmbTableQuery")->setCurrentIndex(1);
    window->cmbTableQuery_Click();
    settle();
    const QStringList queries = entries(box("cmbTable"));
    EXPECT_TRUE(queries.contains(QStringLiteral("London Customers")));
    EXPECT_TRUE(queries.contains(QStringLiteral("Big Spenders")));
    EXPECT_FALSE(queries.contains(QStringLiteral("~sq_cfrmHidden")));
}

TEST_F(MainWindowTest, KindBoxFollowsTheSettings) {
    window->settings.ShowTables = 0;
    window->UpdateTableQuery();
    EXPECT_EQ(entries(box("cmbTableQuery")), QStringList{QStringLiteral("Query")});
    window->settings.ShowQueries = 0;
    window->UpdateTableQuery();
    EXPECT_EQ(box("cmbTableQuery")->count(), 0);
}

TEST_F(MainWindowTest, FieldsAreListedAlsoForATableWithoutRows) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    box("cmbTable")->setEditText(QStringLiteral("Customers"));
    window->cmbTable_LostFocus();
    settle();
    EXPECT_EQ(entries(box("CmbField")).mid(0, 4),
              (QStringList{QStringLiteral("CustomerID"), QStringLiteral("Name"),
                           QStringLiteral("City"), QStringLiteral("Country")}));
    box("cmbTable")->setEditText(QStringLiteral("Empty Table"));
    window->cmbTable_LostFocus();
    settle();
    EXPECT_GT(box("CmbField")->count(), 0);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(quarix::platform::FileDialog::shown().size() == 1u); // only the opening one
}

TEST_F(MainWindowTest, AnUnknownTableReportsAndOffersTheOpenDialog) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    box("cmbTable")->setEditText(QStringLiteral("No Such Table"));
    window->cmbTable_LostFocus();
    settle();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(
        messages()[0].text.startsWith(QStringLiteral("LOAD FIELDS: Error Reading Database\n")));
    EXPECT_EQ(quarix::platform::FileDialog::shown().size(), 2u);
}

TEST_F(MainWindowTest, ValueListOffersDistinctValuesUpToItsLimit) {
    REQUIRE_ENGINE();
    openThroughDialog(copyOf("shop.mdb"));
    choose(QStringLiteral("Customers"), QStringLiteral("City"), QStringLiteral("Contains"),
           QString());
    window->CmbField_LostFocus();
    settle();
    QStringList values = entries(box("cmbValues"));
    ASSERT_FALSE(values.isEmpty());
    EXPECT_EQ(values.first(), QString());
    EXPECT_TRUE(values.contains(QStringLiteral("London")));
    EXPECT_TRUE(values.contains(QStringLiteral("Zürich")));
    EXPECT_EQ(values.removeDuplicates(), 0);

    window->settings.ValueListMax = QStringLiteral("5");
    window->CmbField_LostFocus();
    settle();
    EXPECT_EQ(box("cmbValues")->count(), 5);

    window->mnuValuePickList_Click();
    EXPECT_FALSE(window->settings.ListValues);
    box("cmbValues")->setEditText(QStringLiteral("typed"));
    window->CmbField_LostFocus();
    settle();
    EXPECT_EQ(box("cmbValues")->count(), 0);
    EXPECT_EQ(box("cmbValues")->currentText(),
              QStringLiteral("typed")); // the list goes, not the text
}

TEST_F(MainWindowTest, ADatabaseDroppedOnTheGridOpens) {
    REQUIRE_ENGINE();
    const QString path = copyOf("shop.accdb");
    window->UpdateTableQuery();
    // The platform only delivers drops during a real drag; the grid's signal
    // is what a drop of these files gives.
    auto* grid = control<ResultGridView>("MSFlexGrid1");
    EXPECT_TRUE(grid->acceptDrops());
    emit grid->filesDropped({path, QStringLiteral("/tmp/second.mdb")});
    settle();
    EXPECT_EQ(window->CurrentDatabasePath, path);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quarix - shop.accdb"));
    EXPECT_TRUE(window->PagedMode);
    EXPECT_TRUE(entries(box("cmbTable")).contains(QStringLiteral("Customers")));
}

TEST_F(MainWindowTest, AFileThatIsNoDatabaseIsReported) {
    const QString path = copyOf("shop.mdb") + QStringLiteral(".txt");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not an Access database");
    }
    openThroughDialog(path);
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(
        messages()[0].text.startsWith(QStringLiteral("LOAD TABLES: Error Reading Database\n")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quarix - shop.mdb.txt"));
}

TEST_F(MainWindowTest, AutoLoadDatabasePreselectsItsTableAndField) {
    REQUIRE_ENGINE();
    const QString path = copyOf("shop.mdb");
    window->settings.AutoLoadDatabase = path;
    window->settings.AutoLoadTable = QStringLiteral("Orders");
    window->settings.AutoLoadField = QStringLiteral("Status");
    openThroughDialog(path);
    EXPECT_EQ(box("cmbTable")->currentText(), QStringLiteral("Orders"));
    EXPECT_EQ(box("CmbField")->currentText(), QStringLiteral("Status"));
    EXPECT_EQ(box("CmbField")->currentIndex(), box("CmbField")->findText(QStringLiteral("Status")));
}

} // namespace
