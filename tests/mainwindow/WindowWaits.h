#pragma once

#include "mainwindow/frmMain.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/ParameterPrompt.h"
#include "platform/PasswordPrompt.h"
#include "platform/Shell.h"
#include "session/DatabaseHandle.h"
#include "tests/support/TestData.h"
#include "tools/Launcher.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The window's database work runs on its worker: an action returns at once
// and its results are on screen once the worker has nothing left.
inline bool settled(const frmMain* window, int timeoutMs = 30000) {
    return QTest::qWaitFor([window] { return window->databaseIdle(); }, timeoutMs);
}

// Whether the reader can open the test files at all: without it, every
// test that reads a database fails here, saying why.
inline bool readerAvailable() {
    try {
        quarix::session::DatabaseHandle(QString::fromStdString(quarix::test::dataFile("shop.mdb")))
            .open();
        return true;
    } catch (const quarix::engine::EngineError&) {
        return false;
    }
}

#define REQUIRE_ENGINE()                                                                           \
    ASSERT_TRUE(readerAvailable()) << "the database reader cannot read the test files"

// Window tests: the platform's dialogs and programs answered by the test, and
// a scratch folder of the test's own for copies and settings.
class WindowTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        setTestModes(true);
        scratch_ = quarix::test::scratchDir(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        std::filesystem::remove_all(scratch_);
        setTestModes(false);
    }

    // A private copy of a test database.
    QString copyOf(const std::string& name) {
        const auto target = scratch_ / name;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(quarix::test::dataFile(name), target);
        return QString::fromStdString(target.string());
    }
    QString folder(const char* name) const {
        return QString::fromStdString((scratch_ / name).string());
    }

    static const std::vector<quarix::platform::MessageBox::Shown>& messages() {
        return quarix::platform::MessageBox::shown();
    }
    static void forgetMessages() { quarix::platform::MessageBox::clearShown(); }

private:
    static void setTestModes(bool on) {
        quarix::platform::MessageBox::setTestMode(on);
        quarix::platform::FileDialog::setTestMode(on);
        quarix::platform::PasswordPrompt::setTestMode(on);
        quarix::platform::ParameterPrompt::setTestMode(on);
        quarix::platform::Shell::setTestMode(on);
        quarix::tools::Launcher::setTestMode(on);
    }

    std::filesystem::path scratch_;
};
