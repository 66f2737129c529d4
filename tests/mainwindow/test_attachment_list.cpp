#include "MainWindowFixture.h"

#include "engine/AccessDatabase.h"
#include "mainwindow/AttachmentListDialog.h"
#include "mainwindow/ResultGridView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace {

QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class AttachmentListTest : public MainWindowTest {
protected:
    void TearDown() override {
        for (auto* dialog : window->findChildren<AttachmentListDialog*>())
            delete dialog;
        MainWindowTest::TearDown();
    }

    // Every row of Table1 but row1, shown with the id column descending.
    void showRowsSortedDown() {
        open("real/complexDataTestV2010.accdb");
        choose("Table1", "id", "<> Not", "row1");
        QTest::mouseClick(button("cmdQuarix"), Qt::LeftButton);
        settle();
        ASSERT_EQ(dataRows(), 3);
        window->gridModel()->sortByColumn(column("id"), false, 1000);
        ASSERT_EQ(window->gridModel()->TextMatrix(1, column("id")).toStdString(), "row4");
    }

    // Double-clicks a cell and returns the list it opens.
    AttachmentListDialog* listOf(int row, int col) {
        ResultGridView* grid = window->grid();
        const QRect cell = grid->visualRect(window->gridModel()->index(row, col));
        // A real double click: press, release, then the double click.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        settle();
        return window->findChild<AttachmentListDialog*>();
    }

    static std::vector<std::string> names(AttachmentListDialog* dialog) {
        auto* files = dialog->findChild<QTableWidget*>(u"attachmentFiles"_s);
        std::vector<std::string> out;
        for (int r = 0; r < files->rowCount(); ++r)
            out.push_back(files->item(r, 0)->text().toStdString());
        return out;
    }
};

TEST_F(AttachmentListTest, TheListShowsTheFilesOfTheClickedRowOnly) {
    REQUIRE_ENGINE();
    showRowsSortedDown();
    const struct {
        int row;
        std::vector<std::string> files;
    } cases[] = {
        {0, {"test_data2.txt"}},                  // row4
        {1, {}},                                  // row3
        {2, {"test_data.txt", "test_data2.txt"}}, // row2
    };
    for (const auto& c : cases) {
        AttachmentListDialog* dialog = listOf(c.row, column("attach-data"));
        ASSERT_NE(dialog, nullptr) << c.row;
        EXPECT_EQ(names(dialog), c.files) << c.row;
        delete dialog;
    }
    // Another column's cell opens nothing.
    EXPECT_EQ(listOf(0, column("id")), nullptr);
}

TEST_F(AttachmentListTest, SaveAsAndOpenWriteTheExactBytes) {
    REQUIRE_ENGINE();
    showRowsSortedDown();
    QByteArray expected;
    quarix::engine::AccessDatabase::open(quarix::test::dataFile("real/complexDataTestV2010.accdb"))
        ->attachments("Table1", "attach-data", "[id] = 'row4'",
                      [&](const quarix::engine::AttachmentFile& file) {
                          expected = QByteArray::fromStdString(*file.bytes);
                      });
    ASSERT_FALSE(expected.isEmpty());
    AttachmentListDialog* dialog = listOf(0, column("attach-data"));
    ASSERT_NE(dialog, nullptr);

    // A file already there, which the dialog has agreed to replace.
    const QString target = QDir::temp().filePath(u"quarix-saved-attachment.txt"_s);
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("old");
    old.close();
    quarix::platform::FileDialog::queueAnswer(target);
    QTest::mouseClick(dialog->findChild<QPushButton*>(u"saveAttachment"_s), Qt::LeftButton);
    EXPECT_EQ(contentsOf(target), expected);
    QFile::remove(target);

    const qsizetype openedBefore = quarix::platform::Shell::opened().size();
    QTest::mouseClick(dialog->findChild<QPushButton*>(u"openAttachment"_s), Qt::LeftButton);
    ASSERT_EQ(quarix::platform::Shell::opened().size(), openedBefore + 1);
    const QString opened = quarix::platform::Shell::opened().last();
    EXPECT_EQ(QFileInfo(opened).fileName().toStdString(), "test_data2.txt");
    EXPECT_EQ(contentsOf(opened), expected);
    // The copy and the folders above it up to the temporary folder are the user's alone.
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QString top = QFileInfo(QFileInfo(opened).absolutePath()).absolutePath();
    EXPECT_EQ(QFileInfo(top).permissions() & ~ownerOnly & ~QFileDevice::ReadUser &
                  ~QFileDevice::WriteUser & ~QFileDevice::ExeUser,
              QFileDevice::Permissions());
    EXPECT_FALSE(QFileInfo(opened).permissions() &
                 (QFileDevice::ReadGroup | QFileDevice::ReadOther));
}

TEST_F(AttachmentListTest, TheGridMenuOffersTheListOnAnAttachmentCellOnly) {
    REQUIRE_ENGINE();
    showRowsSortedDown();
    ResultGridView* grid = window->grid();
    const QRect plain = grid->visualRect(window->gridModel()->index(0, column("id")));
    window->MSFlexGrid1_MouseDown(Qt::RightButton, grid->viewport()->mapToGlobal(plain.center()));
    EXPECT_EQ(window->findChild<QAction*>(u"mnuAttachments"_s), nullptr);
    window->findChild<QMenu*>(u"gridPopup"_s)->close();
    const QRect cell = grid->visualRect(window->gridModel()->index(0, column("attach-data")));
    window->MSFlexGrid1_MouseDown(Qt::RightButton, grid->viewport()->mapToGlobal(cell.center()));
    auto* item = window->findChild<QAction*>(u"mnuAttachments"_s);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text().toStdString(), "Attachments...");
    item->trigger();
    settle();
    AttachmentListDialog* dialog = window->findChild<AttachmentListDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(names(dialog), std::vector<std::string>{"test_data2.txt"});
}

} // namespace
