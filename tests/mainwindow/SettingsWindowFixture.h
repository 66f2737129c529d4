#pragma once

#include "mainwindow/frmMain.h"
#include "search/ResultGridModel.h"
#include "settings/IniFile.h"
#include "settings/frmSettings.h"
#include "tests/mainwindow/WindowWaits.h"
#include "tests/support/TestData.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// Main windows started as the program starts them: an environment whose
// folders are the test's own, and a command line. A window replaced by a
// reload is followed to its successor.
class SettingsWindowTest : public WindowTestBase {
protected:
    void SetUp() override {
        WindowTestBase::SetUp();
        allUsers = folder("all");
        perUser = folder("user");
        variables = {{QStringLiteral("ALLUSERSPROFILE"), allUsers},
                     {QStringLiteral("APPDATA"), perUser},
                     {QStringLiteral("USERNAME"), QStringLiteral("ann")},
                     {QStringLiteral("COMPUTERNAME"), QStringLiteral("pc1")},
                     {QStringLiteral("HOME"), folder("home")}};
    }

    void TearDown() override {
        QList<QPointer<frmMain>> windows;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<frmMain*>(w))
                windows << window;
        for (const QPointer<frmMain>& window : windows)
            delete window.data();
        WindowTestBase::TearDown();
    }

    SettingsEnvironment environment() const {
        SettingsEnvironment env;
        env.variable = [vars = variables](const QString& name) { return vars.value(name); };
        env.machineFolder.clear();
        return env;
    }

    // A window started with these arguments, shown and settled; the window
    // that replaced it when its start-up reloaded it.
    frmMain* start(const QStringList& arguments = {}) {
        QPointer<frmMain> window = new frmMain(environment(), arguments);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        QApplication::processEvents();
        frmMain* shown = window ? window.data() : shownWindow();
        if (shown) {
            EXPECT_TRUE(settled(shown));
        }
        return shown;
    }

    // The window a queued reload put in place of `old`.
    frmMain* successorOf(frmMain* old) {
        QPointer<frmMain> gone(old);
        return QTest::qWaitFor([&] { return gone.isNull(); }, 15000) ? shownWindow() : nullptr;
    }

    static frmMain* shownWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<frmMain*>(w); window && window->isVisible())
                return window;
        return nullptr;
    }

    static QString iniValue(const QString& folder, const char* section, const char* key) {
        return IniFile(folder + QStringLiteral("/Quarix.ini"))
            .GetIniValue(QLatin1String(section), QLatin1String(key));
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }

    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template <typename T> static T* control(QObject* parent, const char* name) {
        T* found = parent->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Chooses a search in Customers as a user would and runs it.
    static void search(frmMain* window, const QString& field, const QString& op,
                       const QString& value) {
        control<QComboBox>(window, "cmbTable")->setEditText(QStringLiteral("Customers"));
        window->Load_Fields();
        ASSERT_TRUE(settled(window));
        control<QComboBox>(window, "CmbField")->setEditText(field);
        control<QComboBox>(window, "cmbFunction")->setCurrentText(op);
        control<QComboBox>(window, "cmbValues")->setEditText(value);
        window->cmdQuarix_Click();
        ASSERT_TRUE(settled(window));
    }

    // Opens the Preferences dialog from the File menu.
    static frmSettings* openPreferences(frmMain* window) {
        control<QAction>(window, "mnusettings")->trigger();
        return window->findChild<frmSettings*>();
    }

    static int countShown(const QString& text) {
        int n = 0;
        for (const auto& m : messages())
            n += m.text == text ? 1 : 0;
        return n;
    }

    QString allUsers;
    QString perUser;
    QMap<QString, QString> variables;
};
