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

using namespace Qt::StringLiterals;

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
    // An executable script in the test's folder, run by this interpreter.
    QString script(const QString& name, const QByteArray& interpreter) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!" + interpreter + "\n");
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return path;
    }
    static QStringList listed(const frmPrograms& dialog) {
        QStringList rows;
        for (int i = 0; i < dialog.lstPrograms->count(); ++i)
            rows << dialog.lstPrograms->item(i)->text();
        return rows;
    }

    QTemporaryDir dir;
};

const QString kCannotLaunch = u"Cannot launch this program: check file and path exist!"_s;

std::array<QString, 10> threePrograms() {
    return {u"A,/bin/a"_s, u"B,/bin/b"_s, u"C,/bin/c"_s};
}

} // namespace

TEST_F(ProgramsTest, MenuShowsTheFilledSlotsWithTheirKeys) {
    const ProgramsMenuModel empty = LoadProgramsMenu({});
    EXPECT_FALSE(empty.mnulineOP1Visible);
    for (const auto& item : empty.mnuoth)
        EXPECT_FALSE(item.visible);

    std::array<QString, 10> programs = threePrograms();
    programs[9] = u"Last,/bin/last"_s;
    const ProgramsMenuModel model = LoadProgramsMenu(programs);
    EXPECT_TRUE(model.mnulineOP1Visible);
    EXPECT_EQ(model.mnuoth[0].caption, u"A"_s);
    EXPECT_TRUE(model.mnuoth[2].visible);
    EXPECT_FALSE(model.mnuoth[3].visible);
    EXPECT_EQ(model.mnuoth[7].shortcut, u"F9"_s);
    EXPECT_EQ(model.mnuoth[8].shortcut, u"F11"_s);
    EXPECT_EQ(model.mnuoth[9].shortcut, u"F12"_s);

    QMenu menu;
    for (int i = 0; i < 10; ++i)
        menu.addAction(QString())->setObjectName(u"mnuoth%1"_s.arg(i));
    menu.addSeparator()->setObjectName(u"mnulineOP1"_s);
    applyProgramsMenu(&menu, programs);
    auto* first = menu.findChild<QAction*>(u"mnuoth0"_s);
    EXPECT_EQ(first->text(), u"A"_s);
    EXPECT_EQ(first->shortcut(), QKeySequence(u"F2"_s));
    EXPECT_TRUE(menu.findChild<QAction*>(u"mnulineOP1"_s)->isVisible());
    EXPECT_FALSE(menu.findChild<QAction*>(u"mnuoth5"_s)->isVisible());
}

TEST_F(ProgramsTest, UserProgramsLaunchByKind) {
    const QString tool = script(u"tool.sh"_s, "/bin/sh");
    const QString database = dir.filePath(u"stock.MDB"_s);
    QFile(database).open(QIODevice::WriteOnly);

    launchProgramEntry(nullptr, u"Tool,"_s + tool);
    ASSERT_EQ(Launcher::started().size(), 1u);
    EXPECT_EQ(Launcher::started()[0].program, tool);

    launchProgramEntry(nullptr, u"Notes,/home/user/notes.txt"_s);
    EXPECT_EQ(platform::Shell::opened(), QStringList{u"/home/user/notes.txt"_s});

    // A database goes to the desktop's application for it; none here.
    launchProgramEntry(nullptr, u"Stock,"_s + database);
    EXPECT_EQ(lastMessage(), kCannotLaunch);
    Launcher::setTestDefaultApplications({{u"application/x-msaccess"_s, u"base.desktop"_s},
                                          {u"application/vnd.ms-access"_s, u"base.desktop"_s}});
    platform::MessageBox::clearShown();
    launchProgramEntry(nullptr, u"Stock,"_s + database);
    EXPECT_TRUE(platform::MessageBox::shown().empty());
    EXPECT_TRUE(platform::Shell::opened().contains(database));

    launchProgramEntry(nullptr, u"No comma here"_s);
    EXPECT_EQ(lastMessage(), kCannotLaunch);
}

TEST_F(ProgramsTest, APathWithACommaIsKeptWholeAndAFailedStartIsReported) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"a,b"_s));
    const QString tool = script(u"a,b/tool.sh"_s, "/nonexistent/interpreter");
    launchProgramEntry(nullptr, u"Tool,"_s + tool);
    ASSERT_EQ(Launcher::started().size(), 1u);
    EXPECT_EQ(Launcher::started()[0].program, tool);
    EXPECT_TRUE(platform::MessageBox::shown().empty());

    // Really started, the program cannot run: the user is told.
    Launcher::setTestMode(false);
    launchProgramEntry(nullptr, u"Tool,"_s + tool);
    Launcher::setTestMode(true);
    EXPECT_EQ(lastMessage(), kCannotLaunch);
}

TEST_F(ProgramsTest, AccessoriesStartTheFirstProgramFoundOrDisableTheItem) {
    Launcher::setTestExecutables({{u"soffice"_s, u"/usr/bin/soffice"_s},
                                  {u"kate"_s, u"/usr/bin/kate"_s},
                                  {u"gedit"_s, u"/usr/bin/gedit"_s}});
    QAction calc(u"Excel"_s);
    launchAccessory(nullptr, Accessory::Excel, &calc);
    launchAccessory(nullptr, Accessory::TextEditor, nullptr);
    ASSERT_EQ(Launcher::started().size(), 2u);
    EXPECT_EQ(Launcher::started()[0], (Launcher::Command{u"/usr/bin/soffice"_s, {u"--calc"_s}}));
    EXPECT_EQ(Launcher::started()[1].program, u"/usr/bin/gedit"_s);
    EXPECT_TRUE(calc.isEnabled());

    QAction calculator(u"Calculator"_s);
    launchAccessory(nullptr, Accessory::Calculator, &calculator);
    EXPECT_EQ(lastMessage(), u"This program is not installed!"_s);
    EXPECT_FALSE(calculator.isEnabled());
    EXPECT_EQ(Launcher::started().size(), 2u);
}

TEST_F(ProgramsTest, AddRefusesWithoutNameOrFileOrPastTen) {
    std::array<QString, 10> programs{};
    frmPrograms dialog(programs, {});
    EXPECT_EQ(dialog.txtProgname->text(), u"Program Name"_s);
    const struct {
        const char* name; // the first is the box's hint
        const char* file;
        const char* refusal;
    } refused[] = {{"Program Name", "/bin/x", "You must enter a name for the program!"},
                   {"", "/bin/x", "You must enter a name for the program!"},
                   {"X", "", "You must select the program file!"},
                   {"Smith, Jones", "/bin/x", "A program name cannot contain a comma."}};
    for (const auto& r : refused) {
        dialog.txtProgname->setText(QString::fromLatin1(r.name));
        dialog.txtProgfile->setText(QString::fromLatin1(r.file));
        dialog.cmdAdd_Click();
        EXPECT_EQ(lastMessage(), QString::fromLatin1(r.refusal)) << r.name;
    }
    EXPECT_EQ(dialog.lstPrograms->count(), 0);
    dialog.txtProgname->setText(u"X"_s);
    for (int i = 0; i < 10; ++i)
        dialog.cmdAdd_Click();
    EXPECT_EQ(dialog.lstPrograms->count(), 10);
    dialog.cmdAdd_Click();
    EXPECT_EQ(lastMessage(), u"Only 10 programs can be installed!"_s);
    EXPECT_EQ(dialog.txtProgname->text(), u"X"_s); // the boxes keep their contents
}

TEST_F(ProgramsTest, ClickingTheNameBoxEmptiesItAndTheFileDialogFillsBoth) {
    std::array<QString, 10> programs{};
    frmPrograms dialog(programs, u"/data/stock/main.accdb"_s);
    QTest::mouseClick(dialog.txtProgname, Qt::LeftButton);
    EXPECT_TRUE(dialog.txtProgname->text().isEmpty());

    platform::FileDialog::queueAnswer(u"/usr/bin/gnome-calculator"_s);
    dialog.cmdFiles_Click();
    EXPECT_EQ(platform::FileDialog::shown().back().title, u"Select Database"_s);
    EXPECT_EQ(platform::FileDialog::shown().back().startPath, u"/data/stock"_s);
    EXPECT_EQ(dialog.txtProgfile->text(), u"/usr/bin/gnome-calculator"_s);
    EXPECT_EQ(dialog.txtProgname->text(), u"gnome-calculator"_s);

    platform::FileDialog::queueAnswer(std::nullopt);
    dialog.cmdFiles_Click();
    EXPECT_EQ(dialog.txtProgname->text(), u"gnome-calculator"_s);
}

TEST_F(ProgramsTest, MoveDeleteAndOkRewriteTheSlotsAndCancelLeavesThem) {
    std::array<QString, 10> programs = threePrograms();
    frmPrograms dialog(programs, {});
    EXPECT_EQ(listed(dialog), (QStringList{u"A,/bin/a"_s, u"B,/bin/b"_s, u"C,/bin/c"_s}));
    dialog.lstPrograms->setCurrentRow(0);
    dialog.cmdUp_Click(); // the first cannot move up
    dialog.lstPrograms->setCurrentRow(2);
    dialog.cmdDown_Click(); // the last cannot move down
    EXPECT_EQ(listed(dialog).first(), u"A,/bin/a"_s);
    dialog.cmdUp_Click();
    EXPECT_EQ(dialog.lstPrograms->currentRow(), 1);
    EXPECT_EQ(listed(dialog)[1], u"C,/bin/c"_s);

    dialog.lstPrograms->setCurrentRow(0);
    dialog.lstPrograms_Click();
    EXPECT_EQ(dialog.txtProgname->text(), u"A"_s);
    EXPECT_EQ(dialog.txtProgfile->text(), u"/bin/a"_s);

    platform::MessageBox::queueAnswer(QMessageBox::Cancel);
    dialog.lstPrograms_DblClick();
    EXPECT_EQ(platform::MessageBox::shown().back().text, u"Delete 'A' from Programs?"_s);
    EXPECT_EQ(platform::MessageBox::shown().back().title, u"Delete Program from Menu?"_s);
    EXPECT_EQ(dialog.lstPrograms->count(), 3);
    platform::MessageBox::queueAnswer(QMessageBox::Ok);
    dialog.lstPrograms_DblClick();
    EXPECT_EQ(dialog.lstPrograms->count(), 2);

    EXPECT_EQ(programs, threePrograms()); // nothing changes before OK, nor with Cancel
    frmPrograms cancelled(programs, {});
    cancelled.lstPrograms->setCurrentRow(0);
    platform::MessageBox::queueAnswer(QMessageBox::Ok);
    cancelled.lstPrograms_DblClick();
    cancelled.CancelButton->click();
    EXPECT_EQ(programs, threePrograms());
    dialog.OKButton_Click();
    EXPECT_EQ(programs[0], u"C,/bin/c"_s);
    EXPECT_EQ(programs[1], u"B,/bin/b"_s);
    EXPECT_TRUE(programs[2].isEmpty());
}
