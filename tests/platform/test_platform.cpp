#include "platform/Clipboard.h"
#include "platform/DroppedFiles.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

using namespace quarix::platform;

namespace {

TEST(Platform, MessageBoxesAreRecordedAndAnsweredInTestMode) {
    MessageBox::setTestMode(true);
    MessageBox::queueAnswer(QMessageBox::No);
    EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("Sure?"), QStringLiteral("T"),
                               MessageBox::Icon::Question, QMessageBox::Yes | QMessageBox::No),
              QMessageBox::No);
    EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("Done")), QMessageBox::Ok);
    ASSERT_EQ(MessageBox::shown().size(), 2u);
    EXPECT_EQ(MessageBox::shown()[0].title, QStringLiteral("T"));
    EXPECT_EQ(MessageBox::shown()[0].icon, MessageBox::Icon::Question);
    EXPECT_EQ(MessageBox::shown()[1].title, QCoreApplication::applicationName());
    MessageBox::setTestMode(false);
}

TEST(Platform, FileDialogAnswersFromTheQueueAndCancelsWhenEmpty) {
    FileDialog::setTestMode(true);
    FileDialog::queueAnswer(QStringLiteral("/tmp/a.mdb"));
    EXPECT_EQ(FileDialog::openFileName(nullptr, QStringLiteral("Open Database"),
                                       QStringLiteral("A|*.a"), {}),
              QStringLiteral("/tmp/a.mdb"));
    EXPECT_FALSE(
        FileDialog::openFileName(nullptr, QStringLiteral("Open Database"), {}, {}).has_value());
    EXPECT_EQ(FileDialog::shown().size(), 2u);
    EXPECT_EQ(
        FileDialog::toQtFilter(QStringLiteral("Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb")),
        QStringLiteral("Microsoft Access (*.mdb *.accdb)"));
    FileDialog::setTestMode(false);
}

TEST(Platform, ClipboardPasteLandsAtTheCursorOverTheSelection) {
    QLineEdit box(QStringLiteral("[City] xx"));
    box.setSelection(7, 2);
    Clipboard::pasteInto(&box, QStringLiteral("Like 'L*'"));
    EXPECT_EQ(box.text(), QStringLiteral("[City] Like 'L*'"));
    EXPECT_EQ(Clipboard::text(), QStringLiteral("Like 'L*'"));
    Clipboard::clear();
    EXPECT_TRUE(Clipboard::text().isEmpty());
}

TEST(Platform, DropsGiveLocalFilesAndShellRecordsInTestMode) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/x.mdb")),
                  QUrl(QStringLiteral("https://example.org"))});
    EXPECT_EQ(droppedFiles(&data), QStringList{QStringLiteral("/tmp/x.mdb")});
    EXPECT_TRUE(droppedFiles(nullptr).isEmpty());
    Shell::setTestMode(true);
    EXPECT_TRUE(Shell::open(QStringLiteral("/tmp/x.mdb")));
    EXPECT_EQ(Shell::opened(), QStringList{QStringLiteral("/tmp/x.mdb")});
    Shell::setTestMode(false);
}

} // namespace
