// The Programs menu, its dialog and the launchers, through the test seams:
// nothing here starts a real program.
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "tools/Launcher.h"
#include "tools/ProgramsMenu.h"
#include "tools/frmPrograms.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace quarix;
using namespace quarix::tools;

namespace {

class ProgramsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::MessageBox::setTestMode(true);
        platform::FileDialog::setTestMode(true);
        platform::Shell::setTestMode(true);
        Launcher::setTestMode(true);
    }
    void TearDown() override {
        platform::MessageBox::setTestMode(false);
        platform::FileDialog::setTestMode(false);
        platform::Shell::setTestMode(false);
        Launcher::setTestMode(false);
    }
    static QString lastMessage() {
        const auto& shown = platform::MessageBox::shown();
        return shown.empty() ? QString() : shown.back().text;
    }
    static QStringList listed(const frmPrograms& dialog) {
        QStringList rows;
        for (int i = 0; i < dialog.lstPrograms->count(); ++i)
            rows << dialog.lstPrograms->item(i)->text();
        return rows;
    }
};

std::array<QString, 10> threePrograms() {
    return {QStringLiteral("A,/bin/a"), QStringLiteral("B,/bin/b"), QStringLiteral("C,/bin/c")};
}

} // namespace

TEST_F(ProgramsTest, MenuShowsTheFilledSlotsWithTheirKeys) {
    const ProgramsMenuModel empty = LoadProgramsMenu({});
    EXPECT_FALSE(empty.mnulineOP1Visible);
    for (const auto& item : empty.mnuoth)
        EXPECT_FALSE(item.visible);

    std::array<QString, 10> programs = threePrograms();
    programs[9] = QStringLiteral("Last,/bin/last");
    const ProgramsMenuModel model = LoadProgramsMenu(programs);
    EXPECT_TRUE(model.mnulineOP1Visible);
    EXPECT_EQ(model.mnuoth[0].caption, QStringLiteral("A"));
    EXPECT_TRUE(model.mnuoth[2].visible);
    EXPECT_FALSE(model.mnuoth[3].visible);
    EXPECT_EQ(model.mnuoth[7].shortcut, QStringLiteral("F9"));
    EXPECT_EQ(model.mnuoth[8].shortcut, QStringLiteral("F11"));
    EXPECT_EQ(model.mnuoth[9].shortcut, QStringLiteral("F12"));

    QMenu menu;
    for (int i = 0; i < 10; ++i)
        menu.addAction(QString())->setObjectName(QStringLiteral("mnuoth%1").arg(i));
    menu.addSeparator()->setObjectName(QStringLiteral("mnulineOP1"));
    applyProgramsMenu(&menu, programs);
    auto* first = menu.findChild<QAction*>(QStringLiteral("mnuoth0"));
    EXPECT_EQ(first->text(), QStringLiteral("A"));
    EXPECT_EQ(first->shortcut(), QKeySequence(QStringLiteral("F2")));
    EXPECT_TRUE(menu.findChild<QAction*>(QStringLiteral("mnulineOP1"))->isVisible());
    EXPECT_FALSE(menu.findChild<QAction*>(QStringLiteral("mnuoth5"))->isVisible());
}

TEST_F(ProgramsTest, UserProgramsLaunchByKind) {
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("tool.sh"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    const QString database = dir.filePath(QStringLiteral("stock.MDB"));
    QFile(database).open(QIODevice::WriteOnly);

    launchProgramEntry(nullptr, QStringLiteral("Tool,") + script);
    ASSERT_EQ(Launcher::started().size(), 1u);
    EXPECT_EQ(Launcher::started()[0].program, script);

    launchProgramEntry(nullptr, QStringLiteral("Notes,/home/user/notes.txt"));
    EXPECT_EQ(platform::Shell::opened(), QStringList{QStringLiteral("/home/user/notes.txt")});

    // A database goes to the desktop's application for it; none here.
    launchProgramEntry(nullptr, QStringLiteral("Stock,") + database);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Cannot launch this program: check file and path exist!"));
    Launcher::setTestDefaultApplications(
        {{QStringLiteral("application/x-msaccess"), QStringLiteral("base.desktop")},
         {QStringLiteral("application/vnd.ms-access"), QStringLiteral("base.desktop")}});
    platform::MessageBox::clearShown();
    launchProgramEntry(nullptr, QStringLiteral("Stock,") + database);
    EXPECT_TRUE(platform::MessageBox::shown().empty());
    EXPECT_TRUE(platform::Shell::opened().contains(database));

    launchProgramEntry(nullptr, QStringLiteral("No comma here"));
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Cannot launch this program: check file and path exist!"));
}

TEST_F(ProgramsTest, APathWithACommaIsKeptWholeAndAFailedStartIsReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("a,b")));
    const QString script = dir.filePath(QStringLiteral("a,b/tool.sh"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/nonexistent/interpreter\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    launchProgramEntry(nullptr, QStringLiteral("Tool,") + script);
    ASSERT_EQ(Launcher::started().size(), 1u);
    EXPECT_EQ(Launcher::started()[0].program, script);
    EXPECT_TRUE(platform::MessageBox::shown().empty());

    // Really started, the program cannot run: the user is told.
    Launcher::setTestMode(false);
    launchProgramEntry(nullptr, QStringLiteral("Tool,") + script);
    Launcher::setTestMode(true);
    EXPECT_EQ(lastMessage(),
              QStringLiteral("Cannot launch this program: check file and path exist!"));
}

TEST_F(ProgramsTest, AccessoriesStartTheFirstProgramFoundOrDisableTheItem) {
    Launcher::setTestExecutables({{QStringLiteral("soffice"), QStringLiteral("/usr/bin/soffice")},
                                  {QStringLiteral("kate"), QStringLiteral("/usr/bin/kate")},
                                  {QStringLiteral("gedit"), QStringLiteral("/usr/bin/gedit")}});
    QAction calc(QStringLiteral("Excel"));
    launchAccessory(nullptr, Accessory::Excel, &calc);
    launchAccessory(nullptr, Accessory::TextEditor, nullptr);
    ASSERT_EQ(Launcher::started().size(), 2u);
    EXPECT_EQ(Launcher::started()[0],
              (Launcher::Command{QStringLiteral("/usr/bin/soffice"), {QStringLiteral("--calc")}}));
    EXPECT_EQ(Launcher::started()[1].program, QStringLiteral("/usr/bin/gedit"));
    EXPECT_TRUE(calc.isEnabled());

    QAction calculator(QStringLiteral("Calculator"));
    launchAccessory(nullptr, Accessory::Calculator, &calculator);
    EXPECT_EQ(lastMessage(), QStringLiteral("This program is not installed!"));
    EXPECT_FALSE(calculator.isEnabled());
    EXPECT_EQ(Launcher::started().size(), 2u);
}

TEST_F(ProgramsTest, AddRefusesWithoutNameOrFileOrPastTen) {
    std::array<QString, 10> programs{};
    frmPrograms dialog(programs, {});
    EXPECT_EQ(dialog.txtProgname->text(), QStringLiteral("Program Name"));
    dialog.txtProgfile->setText(QStringLiteral("/bin/x"));
    dialog.cmdAdd_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("You must enter a name for the program!"));
    dialog.txtProgname->clear();
    dialog.cmdAdd_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("You must enter a name for the program!"));
    dialog.txtProgname->setText(QStringLiteral("X"));
    dialog.txtProgfile->clear();
    dialog.cmdAdd_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("You must select the program file!"));
    dialog.txtProgfile->setText(QStringLiteral("/bin/x"));
    dialog.txtProgname->setText(QStringLiteral("Smith, Jones"));
    dialog.cmdAdd_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("A program name cannot contain a comma."));
    EXPECT_EQ(dialog.lstPrograms->count(), 0);
    dialog.txtProgname->setText(QStringLiteral("X"));
    for (int i = 0; i < 10; ++i)
        dialog.cmdAdd_Click();
    EXPECT_EQ(dialog.lstPrograms->count(), 10);
    dialog.cmdAdd_Click();
    EXPECT_EQ(lastMessage(), QStringLiteral("Only 10 programs can be installed!"));
    EXPECT_EQ(dialog.txtProgname->text(), QStringLiteral("X")); // the boxes keep their contents
}

TEST_F(ProgramsTest, ClickingTheNameBoxEmptiesItAndTheFileDialogFillsBoth) {
    std::array<QString, 10> programs{};
    frmPrograms dialog(programs, QStringLiteral("/data/stock/main.accdb"));
    QTest::mouseClick(dialog.txtProgname, Qt::LeftButton);
    EXPECT_TRUE(dialog.txtProgname->text().isEmpty());

    platform::FileDialog::queueAnswer(QStringLiteral("/usr/bin/gnome-calculator"));
    dialog.cmdFiles_Click();
    EXPECT_EQ(platform::FileDialog::shown().back().title, QStringLiteral("Select Database"));
    EXPECT_EQ(platform::FileDialog::shown().back().startPath, QStringLiteral("/data/stock"));
    EXPECT_EQ(dialog.txtProgfile->text(), QStringLiteral("/usr/bin/gnome-calculator"));
    EXPECT_EQ(dialog.txtProgname->text(), QStringLiteral("gnome-calculator"));

    platform::FileDialog::queueAnswer(std::nullopt);
    dialog.cmdFiles_Click();
    EXPECT_EQ(dialog.txtProgname->text(), QStringLiteral("gnome-calculator"));
}

TEST_F(ProgramsTest, MoveDeleteAndOkRewriteTheSlots) {
    std::array<QString, 10> programs = threePrograms();
    frmPrograms dialog(programs, {});
    EXPECT_EQ(listed(dialog), (QStringList{QStringLiteral("A,/bin/a"), QStringLiteral("B,/bin/b"),
                                           QStringLiteral("C,/bin/c")}));
    dialog.lstPrograms->setCurrentRow(0);
    dialog.cmdUp_Click(); // the first cannot move up
    dialog.lstPrograms->setCurrentRow(2);
    dialog.cmdDown_Click(); // the last cannot move down
    EXPECT_EQ(listed(dialog).first(), QStringLiteral("A,/bin/a"));
    dialog.cmdUp_Click();
    EXPECT_EQ(dialog.lstPrograms->currentRow(), 1);
    EXPECT_EQ(listed(dialog)[1], QStringLiteral("C,/bin/c"));

    dialog.lstPrograms->setCurrentRow(0);
    dialog.lstPrograms_Click();
    EXPECT_EQ(dialog.txtProgname->text(), QStringLiteral("A"));
    EXPECT_EQ(dialog.txtProgfile->text(), QStringLiteral("/bin/a"));

    platform::MessageBox::queueAnswer(QMessageBox::Cancel);
    dialog.lstPrograms_DblClick();
    EXPECT_EQ(platform::MessageBox::shown().back().text,
              QStringLiteral("Delete 'A' from Programs?"));
    EXPECT_EQ(platform::MessageBox::shown().back().title,
              QStringLiteral("Delete Program from Menu?"));
    EXPECT_EQ(dialog.lstPrograms->count(), 3);
    platform::MessageBox::queueAnswer(QMessageBox::Ok);
    dialog.lstPrograms_DblClick();
    EXPECT_EQ(dialog.lstPrograms->count(), 2);

    EXPECT_EQ(programs, threePrograms()); // nothing changes before OK
    dialog.OKButton_Click();
    EXPECT_EQ(programs[0], QStringLiteral("C,/bin/c"));
    EXPECT_EQ(programs[1], QStringLiteral("B,/bin/b"));
    EXPECT_TRUE(programs[2].isEmpty());
}

TEST_F(ProgramsTest, CancelLeavesTheSlots) {
    std::array<QString, 10> programs = threePrograms();
    frmPrograms dialog(programs, {});
    dialog.lstPrograms->setCurrentRow(0);
    platform::MessageBox::queueAnswer(QMessageBox::Ok);
    dialog.lstPrograms_DblClick();
    dialog.CancelButton->click();
    EXPECT_EQ(programs, threePrograms());
}
