#pragma once

#include "mainwindow/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ParameterPrompt.h"
#include "platform/PasswordPrompt.h"
#include "search/ResultGridModel.h"
#include "tests/mainwindow/WindowWaits.h"
#include "tests/support/ComboEntries.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// A real main window with its dialogs answered by the test, on copies of the
// shop databases.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        quarix::platform::MessageBox::setTestMode(true);
        quarix::platform::FileDialog::setTestMode(true);
        quarix::platform::PasswordPrompt::setTestMode(true);
        quarix::platform::ParameterPrompt::setTestMode(true);
        scratch_ = quarix::test::scratchDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // Settings and the search log stay in the test's own folder.
        qputenv("ALLUSERSPROFILE", QByteArray::fromStdString((scratch_ / "all").string()));
        qputenv("APPDATA", QByteArray::fromStdString((scratch_ / "user").string()));
        window = std::make_unique<frmMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        settle();
        window.reset();
        std::filesystem::remove_all(scratch_);
        qunsetenv("ALLUSERSPROFILE");
        qunsetenv("APPDATA");
        quarix::platform::MessageBox::setTestMode(false);
        quarix::platform::FileDialog::setTestMode(false);
        quarix::platform::PasswordPrompt::setTestMode(false);
        quarix::platform::ParameterPrompt::setTestMode(false);
    }

    // A private copy of a test database.
    QString copyOf(const std::string& name) {
        const auto target = scratch_ / name;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(quarix::test::dataFile(name), target);
        return QString::fromStdString(target.string());
    }

    // Waits for the window's database work to end.
    void settle() const { ASSERT_TRUE(settled(window.get())) << "the window's work never ended"; }

    template <typename T> T* control(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QComboBox* box(const char* name) const { return control<QComboBox>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QAction* action(const char* name) const { return control<QAction>(name); }

    // Opens a database through the File menu's dialog.
    void openThroughDialog(const QString& path) {
        quarix::platform::FileDialog::queueAnswer(path);
        action("mnuopen")->trigger();
        settle();
    }

    // Opens a copy of a test database through the File menu; the copy's path.
    QString open(const std::string& name) {
        const QString path = copyOf(name);
        openThroughDialog(path);
        return path;
    }

    // Chooses table, field, operator and value as a user would.
    void choose(const QString& table, const QString& field, const QString& op,
                const QString& value) {
        box("cmbTable")->setEditText(table);
        window->Load_Fields();
        settle();
        box("CmbField")->setEditText(field);
        box("cmbFunction")->setCurrentText(op);
        box("cmbValues")->setEditText(value);
    }
    void choose(const char* table, const char* field, const char* op, const char* value) {
        choose(QString::fromUtf8(table), QString::fromUtf8(field), QString::fromUtf8(op),
               QString::fromUtf8(value));
    }

    // Chooses and runs a search, or a filter of the results on screen.
    void search(const char* table, const char* field, const char* op, const char* value) {
        choose(table, field, op, value);
        window->cmdQuarix_Click();
        settle();
    }
    void filter(const char* table, const char* field, const char* op, const char* value) {
        choose(table, field, op, value);
        window->cmdFilter_Click();
        settle();
    }

    // The grid's column under this header, -1 when there is none.
    int column(const char* header) const {
        for (int c = 0; c < window->gridModel()->Cols(); ++c)
            if (window->gridModel()->TextMatrix(0, c) == QString::fromUtf8(header))
                return c;
        return -1;
    }
    // The texts of a column below its header.
    QStringList cells(int column) const {
        QStringList out;
        for (long r = 1; r < window->gridModel()->Rows(); ++r)
            out << window->gridModel()->TextMatrix(r, column);
        return out;
    }

    static QStringList entries(const QComboBox* box) { return quarix::test::entries(box); }
    int dataRows() const { return window->gridModel()->Rows() - 1; }
    QString clipboard() const { return quarix::platform::Clipboard::text(); }
    static const std::vector<quarix::platform::MessageBox::Shown>& messages() {
        return quarix::platform::MessageBox::shown();
    }
    static void forgetMessages() { quarix::platform::MessageBox::clearShown(); }

    std::unique_ptr<frmMain> window;

private:
    std::filesystem::path scratch_;
};
