// The object viewer, the database hand-over, compaction, About and help.
#include "tests/support/TestData.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "search/ResultGridModel.h"
#include "tools/AboutInfo.h"
#include "tools/DatabaseHandOver.h"
#include "tools/HelpWindow.h"
#include "tools/Launcher.h"
#include "tools/ObjectCatalogue.h"
#include "tools/RecordsetViewer.h"
#include "tools/frmAbout.h"
#include "tools/frmObject.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTextBrowser>

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace quarix;
using namespace quarix::tools;

namespace {

class ObjectViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::MessageBox::setTestMode(true);
        platform::Shell::setTestMode(true);
        Launcher::setTestMode(true);
    }
    void TearDown() override {
        platform::MessageBox::setTestMode(false);
        platform::Shell::setTestMode(false);
        Launcher::setTestMode(false);
    }
    static QString data(const std::string& name) {
        return QString::fromStdString(test::dataFile(name));
    }
    static QString lastMessage() {
        const auto& shown = platform::MessageBox::shown();
        return shown.empty() ? QString() : shown.back().text;
    }
};

std::string contents(const QString& path) {
    return test::fileBytes(path.toStdString());
}

} // namespace

TEST_F(ObjectViewerTest, ListsHideSystemTablesAndHiddenQueries) {
    for (const char* file : {"shop.mdb", "shop.accdb"}) {
        const ObjectLists lists = Load_Objects(data(file));
        EXPECT_FALSE(lists.error) << file;
        EXPECT_TRUE(lists.tables.contains(QStringLiteral("Customers"))) << file;
        EXPECT_TRUE(lists.tables.contains(QStringLiteral("Order Details"))) << file;
        EXPECT_TRUE(lists.tables.contains(QStringLiteral("msysnotes")))
            << file; // lower-case msys is a user table
        EXPECT_TRUE(lists.queries.contains(QStringLiteral("London Customers"))) << file;
        EXPECT_TRUE(lists.queries.contains(QStringLiteral("Age Everyone"))) << file;
        EXPECT_FALSE(lists.queries.contains(QStringLiteral("~sq_cfrmHidden"))) << file;
        for (const QString& table : lists.tables)
            EXPECT_FALSE(table.startsWith(QStringLiteral("MSys"))) << file;
    }
    const ObjectLists compact = Load_Objects(data("real/queryTestV2007.accdb"));
    EXPECT_FALSE(compact.error);
    EXPECT_TRUE(compact.tables.contains(QStringLiteral("Table1")));
    EXPECT_FALSE(compact.tables.contains(QStringLiteral("MSysCompactError")));
    EXPECT_FALSE(compact.queries.isEmpty());
    for (const char* file : {"real/testV1997.mdb", "real/queryTestV2000.mdb"}) {
        const ObjectLists lists = Load_Objects(data(file));
        EXPECT_FALSE(lists.error) << file;
        EXPECT_FALSE(lists.tables.isEmpty()) << file;
    }
}

TEST_F(ObjectViewerTest, NoDatabaseOrAMissingFileGivesEmptyListsQuietly) {
    for (const QString& path : {QString(), QStringLiteral("/nonexistent/gone.mdb")}) {
        const ObjectLists lists = Load_Objects(path);
        EXPECT_FALSE(lists.error);
        EXPECT_TRUE(lists.tables.isEmpty() && lists.queries.isEmpty() && lists.forms.isEmpty());
    }
}

TEST_F(ObjectViewerTest, ABrokenFileReportsTheCatalogueError) {
    const test::ScratchFolder dir("objects-broken");
    const fs::path broken = dir / "broken.mdb";
    test::writeBytes(broken, std::string(4096, 'x'));
    const ObjectLists lists = Load_Objects(QString::fromStdString(broken.string()));
    ASSERT_TRUE(lists.error);
    EXPECT_TRUE(
        lists.error->startsWith(QStringLiteral("LOAD OBJECTS: Error Reading Database\r\n")));
}

TEST_F(ObjectViewerTest, OpeningATableShowsItsRowsReadOnly) {
    frmObject dialog(data("shop.accdb"), nullptr);
    // Opened from a dialog at the screen's far corner, the records still show whole.
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.move(room.right() - 20, room.bottom() - 20);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quarix Objects"));
    dialog.cmbTable->setCurrentText(QStringLiteral("Customers"));
    dialog.cmdShow_Click(frmObject::TableRow);
    ASSERT_EQ(dialog.viewers().size(), 1);
    const RecordsetViewer* viewer = dialog.viewers().first();
    EXPECT_EQ(viewer->model().Rows(), 251); // the header and 250 records
    EXPECT_EQ(viewer->model().TextMatrix(0, 1), QStringLiteral("Name"));
    EXPECT_EQ(viewer->model().TextMatrix(1, 0), QStringLiteral("1"));
    EXPECT_FALSE(viewer->model().flags(viewer->model().index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(room.contains(viewer->frameGeometry()))
        << viewer->x() << "," << viewer->y() << " " << viewer->width() << "x" << viewer->height()
        << " in " << room.width() << "x" << room.height();

    dialog.cmbQuery->setCurrentText(QStringLiteral("London Customers"));
    dialog.cmdShow_Click(frmObject::QueryRow);
    ASSERT_EQ(dialog.viewers().size(), 2);
    EXPECT_EQ(dialog.viewers().last()->model().Rows(), 23);
    // What ran is shown with the rows: the query's SQL rebuilt from the file.
    const auto* sql =
        dialog.viewers().last()->findChild<QPlainTextEdit*>(QStringLiteral("txtQuerySql"));
    ASSERT_NE(sql, nullptr);
    EXPECT_EQ(
        sql->toPlainText(),
        QStringLiteral("SELECT Customers.* FROM Customers WHERE ((Customers.City)=\"London\");"));
}

TEST_F(ObjectViewerTest, AnActionQueryCannotBeViewedAndSaysSo) {
    frmObject dialog(data("shop.mdb"), nullptr);
    dialog.cmbQuery->setCurrentText(QStringLiteral("Age Everyone"));
    dialog.cmdShow_Click(frmObject::QueryRow);
    EXPECT_TRUE(dialog.viewers().isEmpty());
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("'Age Everyone' cannot be opened.")));
    EXPECT_TRUE(
        lastMessage().endsWith(QStringLiteral("UPDATE Customers SET Customers.Age = [Age]+1;")));
}

TEST_F(ObjectViewerTest, FormsAndReportsGoToTheDesktopApplicationOrNeedAccess) {
    frmObject dialog(data("shop.accdb"), nullptr);
    dialog.cmbForm->addItem(QStringLiteral("Orders Form"));
    dialog.cmdShow_Click(frmObject::FormRow);
    EXPECT_TRUE(
        lastMessage().startsWith(QStringLiteral("Forms and reports need Microsoft Access")));
    EXPECT_TRUE(platform::Shell::opened().isEmpty());

    Launcher::setTestDefaultApplications(
        {{QStringLiteral("application/x-msaccess"), QStringLiteral("base.desktop")},
         {QStringLiteral("application/vnd.ms-access"), QStringLiteral("base.desktop")}});
    dialog.cmdShow_Click(frmObject::FormRow);
    EXPECT_EQ(platform::Shell::opened(),
              QStringList{QFileInfo(data("shop.accdb")).absoluteFilePath()});

    // An empty selection does nothing.
    platform::MessageBox::clearShown();
    dialog.cmdShow_Click(frmObject::ReportRow);
    EXPECT_TRUE(platform::MessageBox::shown().empty());
}

TEST_F(ObjectViewerTest, OpenInAccessAndCompact) {
    const test::ScratchFolder dir("handover");
    fs::copy_file(test::dataFile("shop.mdb"), dir / "shop.mdb");
    const QString copy = QString::fromStdString((dir / "shop.mdb").string());
    const std::string before = contents(copy);

    mnuAccess_Click(nullptr, copy);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("The database cannot be opened or Quarix cannot connect to Access"));

    Launcher::setTestDefaultApplications(
        {{QStringLiteral("application/x-msaccess"), QStringLiteral("base.desktop")},
         {QStringLiteral("application/vnd.ms-access"), QStringLiteral("base.desktop")}});
    const QString cwd = QDir::currentPath();
    fs::create_directories(dir / "sub");
    QDir::setCurrent(QString::fromStdString((dir / "sub").string()));
    mnuAccess_Click(nullptr, QStringLiteral("../shop.mdb"));
    QDir::setCurrent(cwd);
    ASSERT_EQ(platform::Shell::opened().size(), 1);
    EXPECT_EQ(QFileInfo(platform::Shell::opened()[0]).canonicalFilePath(),
              QFileInfo(copy).canonicalFilePath());

    mnuCompact_Click(nullptr);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("The database cannot be compacted.\n")));
    EXPECT_EQ(lastMessage().count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(contents(copy) == before) << "the database changed";
}

TEST_F(ObjectViewerTest, AboutBoxVersionSystemInfoUpdateAndNewWindow) {
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Quarix"));
    EXPECT_EQ(about.lblTitle->text(), QStringLiteral("Quarix"));
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version 8.0.120"));

    StartSysInfo(nullptr);
    EXPECT_EQ(lastMessage(), QStringLiteral("System Information Is Unavailable At This Time"));
    Launcher::setTestExecutables(
        {{QStringLiteral("kinfocenter"), QStringLiteral("/usr/bin/kinfocenter")}});
    StartSysInfo(nullptr);
    ASSERT_EQ(Launcher::started().size(), 1u);
    EXPECT_EQ(Launcher::started()[0].program, QStringLiteral("/usr/bin/kinfocenter"));

    const QString server = QStringLiteral("https://updates.test");
    EXPECT_EQ(updateAddress(server),
              QStringLiteral("https://updates.test/cgi-bin/update.cgi?soft=Quarix&vers=8.0.120"));
    mnuupdates_Click(nullptr, server);
    EXPECT_EQ(platform::Shell::opened(), QStringList{updateAddress(server)});
    // Without a server: no address is opened, the user learns where versions come from.
    mnuupdates_Click(nullptr, QString());
    EXPECT_EQ(platform::Shell::opened().size(), 1);
    EXPECT_EQ(lastMessage(), whereNewVersionsComeFrom());
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("8.0.120")));

    EXPECT_TRUE(mnuNew_Click({QStringLiteral("/K")}));
    EXPECT_EQ(Launcher::started().back(),
              (Launcher::Command{QCoreApplication::applicationFilePath(), {QStringLiteral("/K")}}));
}

TEST_F(ObjectViewerTest, HelpShowsTheCompiledManual) {
    const QString manual = manualText();
    for (const char* topic : {"Searching", "Paging", "SQL mode", "Command line",
                              "Export to a spreadsheet", "Programs menu", "The cache"})
        EXPECT_TRUE(manual.contains(QString::fromLatin1(topic))) << topic;
    HelpWindow help;
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("Quarix user manual")));
}
