#pragma once

#include "mainwindow/frmMain.h"
#include "platform/Clipboard.h"
#include "search/ResultGridModel.h"
#include "tests/mainwindow/WindowWaits.h"
#include "tests/support/ComboEntries.h"
#include "tests/support/TestData.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <memory>

// A real main window with its dialogs answered by the test, on copies of the
// shop databases.
class MainWindowTest : public WindowTestBase {
protected:
    void SetUp() override {
        WindowTestBase::SetUp();
        // Settings and the search log stay in the test's own folder.
        qputenv("ALLUSERSPROFILE", folder("all").toUtf8());
        qputenv("APPDATA", folder("user").toUtf8());
        window = std::make_unique<frmMain>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        settle();
        window.reset();
        qunsetenv("ALLUSERSPROFILE");
        qunsetenv("APPDATA");
        WindowTestBase::TearDown();
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

    // The suggestions a box offers for the text typed into it.
    static QAbstractItemView* suggestions(QComboBox* of) {
        return of->findChild<QCompleter*>(QStringLiteral("suggestions"))->popup();
    }

    static QStringList entries(const QComboBox* box) { return quarix::test::entries(box); }
    int dataRows() const { return window->gridModel()->Rows() - 1; }
    QString clipboard() const { return quarix::platform::Clipboard::text(); }

    std::unique_ptr<frmMain> window;
};
