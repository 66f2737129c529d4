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
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

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
    // The desktop has an application for Access files.
    static void accessApplication() {
        Launcher::setTestDefaultApplications({{u"application/x-msaccess"_s, u"base.desktop"_s},
                                              {u"application/vnd.ms-access"_s, u"base.desktop"_s}});
    }
};

} // namespace

TEST_F(ObjectViewerTest, ListsHideSystemTablesAndHiddenQueries) {
    for (const char* file : {"shop.mdb", "shop.accdb"}) {
        SCOPED_TRACE(file);
        const ObjectLists lists = Load_Objects(data(file));
        EXPECT_FALSE(lists.error);
        // Lower-case msys is a user table.
        for (const QString& table : {u"Customers"_s, u"Order Details"_s, u"msysnotes"_s})
            EXPECT_TRUE(lists.tables.contains(table)) << table.toStdString();
        EXPECT_TRUE(lists.queries.contains(u"London Customers"_s));
        EXPECT_TRUE(lists.queries.contains(u"Age Everyone"_s));
        EXPECT_FALSE(lists.queries.contains(u"~sq_cfrmHidden"_s));
        for (const QString& table : lists.tables)
            EXPECT_FALSE(table.startsWith(u"MSys"_s)) << table.toStdString();
    }
    const ObjectLists compact = Load_Objects(data("real/queryTestV2007.accdb"));
    EXPECT_FALSE(compact.error);
    EXPECT_TRUE(compact.tables.contains(u"Table1"_s));
    EXPECT_FALSE(compact.tables.contains(u"MSysCompactError"_s));
    EXPECT_FALSE(compact.queries.isEmpty());
    for (const char* file : {"real/testV1997.mdb", "real/queryTestV2000.mdb"}) {
        const ObjectLists lists = Load_Objects(data(file));
        EXPECT_FALSE(lists.error) << file;
        EXPECT_FALSE(lists.tables.isEmpty()) << file;
    }
}

// No database or a missing file lists nothing quietly; a broken file says why.
TEST_F(ObjectViewerTest, ListsOfNoDatabaseAreEmptyAndABrokenFileReportsTheError) {
    for (const QString& path : {QString(), u"/nonexistent/gone.mdb"_s}) {
        const ObjectLists lists = Load_Objects(path);
        EXPECT_FALSE(lists.error);
        EXPECT_TRUE(lists.tables.isEmpty() && lists.queries.isEmpty() && lists.forms.isEmpty());
    }
    const test::ScratchFolder dir("objects-broken");
    test::writeBytes(dir / "broken.mdb", std::string(4096, 'x'));
    const ObjectLists lists = Load_Objects(QString::fromStdString((dir / "broken.mdb").string()));
    ASSERT_TRUE(lists.error);
    EXPECT_TRUE(lists.error->startsWith(u"LOAD OBJECTS: Error Reading Database\r\n"_s));
}

TEST_F(ObjectViewerTest, OpeningATableShowsItsRowsReadOnly) {
    frmObject dialog(data("shop.accdb"), nullptr);
    // Opened from a dialog at the screen's far corner, the records still show whole.
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    dialog.move(room.right() - 20, room.bottom() - 20);
    EXPECT_EQ(dialog.windowTitle(), u"Quarix Objects"_s);
    dialog.cmbTable->setCurrentText(u"Customers"_s);
    dialog.cmdShow_Click(frmObject::TableRow);
    ASSERT_EQ(dialog.viewers().size(), 1);
    const RecordsetViewer* viewer = dialog.viewers().first();
    EXPECT_EQ(viewer->model().Rows(), 251); // the header and 250 records
    EXPECT_EQ(viewer->model().TextMatrix(0, 1), u"Name"_s);
    EXPECT_EQ(viewer->model().TextMatrix(1, 0), u"1"_s);
    EXPECT_FALSE(viewer->model().flags(viewer->model().index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(room.contains(viewer->frameGeometry()))
        << viewer->x() << "," << viewer->y() << " " << viewer->width() << "x" << viewer->height()
        << " in " << room.width() << "x" << room.height();

    dialog.cmbQuery->setCurrentText(u"London Customers"_s);
    dialog.cmdShow_Click(frmObject::QueryRow);
    ASSERT_EQ(dialog.viewers().size(), 2);
    EXPECT_EQ(dialog.viewers().last()->model().Rows(), 23);
    // What ran is shown with the rows: the query's SQL rebuilt from the file.
    const auto* sql = dialog.viewers().last()->findChild<QPlainTextEdit*>(u"txtQuerySql"_s);
    ASSERT_NE(sql, nullptr);
    EXPECT_EQ(sql->toPlainText(),
              u"SELECT Customers.* FROM Customers WHERE ((Customers.City)=\"London\");"_s);
}

TEST_F(ObjectViewerTest, AnActionQueryCannotBeViewedAndSaysSo) {
    frmObject dialog(data("shop.mdb"), nullptr);
    dialog.cmbQuery->setCurrentText(u"Age Everyone"_s);
    dialog.cmdShow_Click(frmObject::QueryRow);
    EXPECT_TRUE(dialog.viewers().isEmpty());
    EXPECT_TRUE(lastMessage().startsWith(u"'Age Everyone' cannot be opened."_s));
    EXPECT_TRUE(lastMessage().endsWith(u"UPDATE Customers SET Customers.Age = [Age]+1;"_s));
}

TEST_F(ObjectViewerTest, FormsAndReportsGoToTheDesktopApplicationOrNeedAccess) {
    frmObject dialog(data("shop.accdb"), nullptr);
    dialog.cmbForm->addItem(u"Orders Form"_s);
    dialog.cmdShow_Click(frmObject::FormRow);
    EXPECT_TRUE(lastMessage().startsWith(u"Forms and reports need Microsoft Access"_s));
    EXPECT_TRUE(platform::Shell::opened().isEmpty());

    accessApplication();
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
    const std::string before = test::fileBytes(copy.toStdString());

    mnuAccess_Click(nullptr, copy);
    EXPECT_EQ(lastMessage(), u"The database cannot be opened or Quarix cannot connect to Access"_s);

    accessApplication();
    const QString cwd = QDir::currentPath();
    fs::create_directories(dir / "sub");
    QDir::setCurrent(QString::fromStdString((dir / "sub").string()));
    mnuAccess_Click(nullptr, u"../shop.mdb"_s);
    QDir::setCurrent(cwd);
    ASSERT_EQ(platform::Shell::opened().size(), 1);
    EXPECT_EQ(QFileInfo(platform::Shell::opened()[0]).canonicalFilePath(),
              QFileInfo(copy).canonicalFilePath());

    mnuCompact_Click(nullptr);
    EXPECT_TRUE(lastMessage().startsWith(u"The database cannot be compacted.\n"_s));
    EXPECT_EQ(lastMessage().count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(test::fileBytes(copy.toStdString()) == before) << "the database changed";
}

TEST_F(ObjectViewerTest, AboutBoxVersionSystemInfoUpdateAndNewWindow) {
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), u"About Quarix"_s);
    EXPECT_EQ(about.lblTitle->text(), u"Quarix"_s);
    EXPECT_EQ(about.lblVersion->text(), u"Version 8.0.120"_s);

    StartSysInfo(nullptr);
    EXPECT_EQ(lastMessage(), u"System Information Is Unavailable At This Time"_s);
    Launcher::setTestExecutables({{u"kinfocenter"_s, u"/usr/bin/kinfocenter"_s}});
    StartSysInfo(nullptr);
    ASSERT_EQ(Launcher::started().size(), 1u);
    EXPECT_EQ(Launcher::started()[0].program, u"/usr/bin/kinfocenter"_s);

    const QString server = u"https://updates.test"_s;
    EXPECT_EQ(updateAddress(server),
              u"https://updates.test/cgi-bin/update.cgi?soft=Quarix&vers=8.0.120"_s);
    mnuupdates_Click(nullptr, server);
    EXPECT_EQ(platform::Shell::opened(), QStringList{updateAddress(server)});
    // Without a server: no address is opened, the user learns where versions come from.
    mnuupdates_Click(nullptr, QString());
    EXPECT_EQ(platform::Shell::opened().size(), 1);
    EXPECT_EQ(lastMessage(), whereNewVersionsComeFrom());
    EXPECT_TRUE(lastMessage().contains(u"8.0.120"_s));

    EXPECT_TRUE(mnuNew_Click({u"/K"_s}));
    EXPECT_EQ(Launcher::started().back(),
              (Launcher::Command{QCoreApplication::applicationFilePath(), {u"/K"_s}}));
}

TEST_F(ObjectViewerTest, HelpShowsTheCompiledManual) {
    const QString manual = manualText();
    for (const char* topic : {"Searching", "Paging", "SQL mode", "Command line",
                              "Export to a spreadsheet", "Programs menu", "The cache"})
        EXPECT_TRUE(manual.contains(QString::fromLatin1(topic))) << topic;
    HelpWindow help;
    EXPECT_TRUE(help.browser()->toPlainText().contains(u"Quarix user manual"_s));
}
