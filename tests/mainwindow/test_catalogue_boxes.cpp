#include "MainWindowFixture.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

TEST_F(MainWindowTest, OpeningListsTablesAndQueriesWithoutSystemObjects) {
    REQUIRE_ENGINE();
    const QString path = open("shop.mdb");
    EXPECT_EQ(window->CurrentDatabasePath, path);
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.mdb"_s);
    EXPECT_FALSE(window->PagedMode);
    EXPECT_EQ(entries(box("cmbTableQuery")), (QStringList{u"Table"_s, u"Query"_s}));
    const QStringList tables = entries(box("cmbTable"));
    for (const char* name :
         {"Customers", "Orders", "Order Details", "Empty Table", "Wide", "msysnotes", "Types"})
        EXPECT_TRUE(tables.contains(QString::fromLatin1(name))) << name;
    for (const QString& name : tables)
        EXPECT_FALSE(name.startsWith(u"MSys"_s)) << name.toStdString();
    EXPECT_TRUE(messages().empty());

    box("cmbTableQuery")->setCurrentIndex(1);
    window->cmbTableQuery_Click();
    settle();
    const QStringList queries = entries(box("cmbTable"));
    EXPECT_TRUE(queries.contains(u"London Customers"_s));
    EXPECT_TRUE(queries.contains(u"Big Spenders"_s));
    EXPECT_FALSE(queries.contains(u"~sq_cfrmHidden"_s));
}

TEST_F(MainWindowTest, KindBoxFollowsTheSettings) {
    window->settings.ShowTables = 0;
    window->UpdateTableQuery();
    EXPECT_EQ(entries(box("cmbTableQuery")), QStringList{u"Query"_s});
    window->settings.ShowQueries = 0;
    window->UpdateTableQuery();
    EXPECT_EQ(box("cmbTableQuery")->count(), 0);
}

// Leaving the table box lists its fields, also for a table without rows; an
// unknown table is reported and the Open dialog offered.
TEST_F(MainWindowTest, LeavingTheTableBoxListsItsFields) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    const auto leaveTable = [this](const QString& table) {
        box("cmbTable")->setEditText(table);
        window->cmbTable_LostFocus();
        settle();
    };
    leaveTable(u"Customers"_s);
    EXPECT_EQ(entries(box("CmbField")).mid(0, 4),
              (QStringList{u"CustomerID"_s, u"Name"_s, u"City"_s, u"Country"_s}));
    leaveTable(u"Empty Table"_s);
    EXPECT_GT(box("CmbField")->count(), 0);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(quarix::platform::FileDialog::shown().size(), 1u); // only the opening one

    leaveTable(u"No Such Table"_s);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].text.startsWith(u"LOAD FIELDS: Error Reading Database\n"_s));
    EXPECT_EQ(quarix::platform::FileDialog::shown().size(), 2u);
}

TEST_F(MainWindowTest, ValueListOffersDistinctValuesUpToItsLimit) {
    REQUIRE_ENGINE();
    open("shop.mdb");
    choose("Customers", "City", "Contains", "");
    window->CmbField_LostFocus();
    settle();
    QStringList values = entries(box("cmbValues"));
    ASSERT_FALSE(values.isEmpty());
    EXPECT_EQ(values.first(), QString());
    EXPECT_TRUE(values.contains(u"London"_s));
    EXPECT_TRUE(values.contains(u"Zürich"_s));
    EXPECT_EQ(values.removeDuplicates(), 0);

    window->settings.ValueListMax = u"5"_s;
    window->CmbField_LostFocus();
    settle();
    EXPECT_EQ(box("cmbValues")->count(), 5);

    window->mnuValuePickList_Click();
    EXPECT_FALSE(window->settings.ListValues);
    box("cmbValues")->setEditText(u"typed"_s);
    window->CmbField_LostFocus();
    settle();
    EXPECT_EQ(box("cmbValues")->count(), 0);
    EXPECT_EQ(box("cmbValues")->currentText(), u"typed"_s); // the list goes, not the text
}

TEST_F(MainWindowTest, AFileThatIsNoDatabaseIsReported) {
    const QString path = copyOf("shop.mdb") + u".txt"_s;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not an Access database");
    }
    openThroughDialog(path);
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(messages()[0].text.startsWith(u"LOAD TABLES: Error Reading Database\n"_s));
    EXPECT_EQ(window->windowTitle(), u"Quarix - shop.mdb.txt"_s);
}

TEST_F(MainWindowTest, AutoLoadDatabasePreselectsItsTableAndField) {
    REQUIRE_ENGINE();
    const QString path = copyOf("shop.mdb");
    window->settings.AutoLoadDatabase = path;
    window->settings.AutoLoadTable = u"Orders"_s;
    window->settings.AutoLoadField = u"Status"_s;
    openThroughDialog(path);
    EXPECT_EQ(box("cmbTable")->currentText(), u"Orders"_s);
    EXPECT_EQ(box("CmbField")->currentText(), u"Status"_s);
    EXPECT_EQ(box("CmbField")->currentIndex(), box("CmbField")->findText(u"Status"_s));
}

} // namespace
