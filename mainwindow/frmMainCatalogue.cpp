// Choosing a database and filling the table, field and value boxes.
#include "catalogue/CatalogueLists.h"
#include "catalogue/CatalogueNames.h"
#include "engine/reader/ReaderErrors.h"
#include "mainwindow/StepProgressBar.h"
#include "mainwindow/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/PasswordPrompt.h"
#include "search/StatusCaption.h"
#include "session/DatabaseWorker.h"
#include "session/Passwords.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

using quarix::platform::MessageBox;
namespace catalogue = quarix::catalogue;

namespace {

QString readingError(const char* job, const quarix::session::JobReport& report) {
    return QString::fromLatin1(job) + QStringLiteral(": Error Reading Database\n") +
           QString::number(report.number) + QLatin1Char(' ') + report.description;
}

// Access's number for a query run without the values of its parameters.
constexpr int kTooFewParameters = 3061;

void clearBox(QComboBox* box) {
    box->clear();
    box->clearEditText();
}

// A new list for the box; the text stays as it is.
void replaceEntries(QComboBox* box, const QStringList& entries) {
    const QString text = box->currentText();
    box->clear();
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

// The field text that stays with a new field list: what the user typed
// while the list loaded, or the name of one of its fields.
QString fieldTextKept(const QString& before, const QString& now, const QStringList& fields) {
    if (now != before)
        return now;
    for (const QString& field : fields)
        if (field.compare(now, Qt::CaseInsensitive) == 0)
            return field;
    return {};
}

// Selects the first entry equal to the box's text when none is selected.
void selectEntryOfText(QComboBox* box) {
    const QString text = box->currentText();
    if (text.isEmpty() || (box->currentIndex() >= 0 && box->itemText(box->currentIndex()) == text))
        return;
    const int found = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        box->setCurrentIndex(found);
}

} // namespace

void frmMain::UpdateTableQuery() {
    const QString shown = cmbTableQuery->currentText();
    cmbTableQuery->clear();
    cmbTableQuery->addItems(catalogue::objectKinds(settings.ShowTables, settings.ShowQueries));
    const int again =
        shown.isEmpty() ? -1
                        : cmbTableQuery->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cmbTableQuery->setCurrentIndex(again >= 0 ? again : (cmbTableQuery->count() > 0 ? 0 : -1));
}

quarix::session::Task<bool> frmMain::Load_cmbTable(QString dbname) {
    using quarix::session::JobEnd;
    if (busy())
        co_return false;
    cmdPage[0]->setVisible(false);
    cmdPage[1]->setVisible(false);
    progBar1->setValue(0);
    UpdateRecentFiles();
    const QString kept = cmbTable->currentText();
    clearBox(cmbTable);
    cmbTable->setEditText(kept);
    PagedMode = catalogue::isPagedDatabase(dbname, settings.GridPaging);
    progBar1->setValue(10);

    const QString kind = cmbTableQuery->currentText();
    const bool wanted = (kind == catalogue::kTableKind && settings.ShowTables == 1) ||
                        (kind == catalogue::kQueryKind && settings.ShowQueries == 1);
    QStringList names;
    const quarix::session::DatabaseHandle database(dbname);
    quarix::engine::Secret password;
    JobReport report;
    // A locked file asks for its password until it opens or the user cancels.
    for (;;) {
        bool locked = false;
        report = co_await databaseJob(
            QStringLiteral("Quarix - LOADING TABLES..."), [&](const quarix::engine::ReadOptions&) {
                locked = quarix::session::needsPassword(dbname);
                const auto db = database.open(password);
                names = catalogue::objectNames(*db, wanted ? kind : QString());
            });
        if (report.end != JobEnd::Failed || !locked ||
            report.number != quarix::session::kNotAValidPassword)
            break;
        auto typed = quarix::platform::PasswordPrompt::ask(
            this, quarix::session::passwordPromptText(dbname, !password.empty()),
            quarix::session::kPasswordPromptTitle);
        if (!typed) {
            abandonOpening();
            co_return false;
        }
        password = quarix::session::passwordFrom(*typed);
    }
    if (report.end == JobEnd::Done) {
        session_.databaseOpened(dbname, !password.empty());
        showArmedFilter();
    }
    // After a failure the opening goes on, as it shows what it can.
    if (report.end == JobEnd::Failed)
        MessageBox::show(this, readingError("LOAD TABLES", report));
    if (report.end != JobEnd::Done)
        co_return report.end == JobEnd::Failed;
    cmbTable->addItems(names);
    cmbTable->setEditText(kept);
    if (cmbTable->currentText().isEmpty() && settings.AutoLoadDatabase == dbname) {
        cmbTable->setEditText(settings.AutoLoadTable);
        CmbField->setEditText(settings.AutoLoadField);
    }
    progBar1->setValue(40);
    co_return true;
}

void frmMain::abandonOpening() {
    CurrentDatabasePath.clear();
    for (QComboBox* box : {cmbTable, CmbField, cmbValues})
        clearBox(box);
    Reset_Grid();
    setWindowTitle(QStringLiteral("Quarix"));
    // What was to follow the open (fields, a replayed search) stops quietly.
    cancelledAction_ = true;
    QTimer::singleShot(0, this, [this] { cancelledAction_ = false; });
}

frmMain::Task frmMain::Load_Fields() {
    using quarix::session::JobEnd;
    const QString table = cmbTable->currentText();
    if (table.isEmpty() || busy())
        co_return;
    searchState.SortClause.clear();
    progBar1->setValue(50);
    const QString fieldBefore = CmbField->currentText();
    QStringList fields;
    const quarix::session::DatabaseHandle database = session_.database();
    const JobReport report =
        co_await databaseJob(QStringLiteral("Quarix - LOADING FIELDS..."),
                             [&](const quarix::engine::ReadOptions& options) {
                                 fields = catalogue::fieldNames(*database.open(), table, options);
                                 // Every table and query has a column: none means the file is
                                 // damaged.
                                 if (fields.isEmpty())
                                     throw quarix::engine::reader_errors::tableDamagedError(
                                         table.toStdString(), database.path().toStdString());
                             });
    if (report.end == JobEnd::Failed) {
        MessageBox::show(this, readingError("LOAD FIELDS", report));
        co_await mnuopen_Click();
    }
    if (report.end != JobEnd::Done)
        co_return;
    const QString fieldKept = fieldTextKept(fieldBefore, CmbField->currentText(), fields);
    progBar1->setValue(80);
    replaceEntries(CmbField, fields);
    CmbField->setEditText(fieldKept);
    progBar1->setValue(90);
    if (settings.AutoLoadTable == cmbTable->currentText() &&
        settings.AutoLoadDatabase == CurrentDatabasePath) {
        CmbField->setEditText(settings.AutoLoadField);
        cmbTable->setEditText(settings.AutoLoadTable);
        selectEntryOfText(CmbField);
    }
    // The user clicked the arrow while the list was loading: open it now.
    if (std::exchange(fieldListWanted_, false) && CmbField->count() > 0)
        CmbField->showPopup();
    progBar1->setValue(100);
}

frmMain::Task frmMain::Load_ValueList() {
    using quarix::session::JobEnd;
    if (busy())
        co_return;
    selectEntryOfText(cmbTable);
    selectEntryOfText(CmbField);
    replaceEntries(cmbValues, {});
    const QString path = CurrentDatabasePath;
    const QString table = cmbTable->currentText();
    const QString field = CmbField->currentText();
    // Without a table and a field there is nothing to list.
    if (!menus_.mnuValuePickList->isChecked() || path.isEmpty() || table.isEmpty() ||
        field.isEmpty())
        co_return;
    // The list starts with the empty entry: the rest is at most one fewer.
    const long most = std::max(settings.valueListMaxWhole() - 1, 0);
    QStringList values;
    std::vector<std::string> incomplete;
    const quarix::session::DatabaseHandle database = session_.database();
    const JobReport report =
        co_await databaseJob(QString(), [&](const quarix::engine::ReadOptions& options) {
            values = catalogue::distinctValues(*database.open(), table, field, most, options,
                                               &incomplete);
        });
    for (const std::string& warning : incomplete)
        statusBar()->showMessage(QStringLiteral("Values incomplete: ") +
                                 QString::fromStdString(warning));
    // A query that asks for parameters has no values to offer before it is searched.
    if (report.end == JobEnd::Failed && report.number != kTooFewParameters)
        MessageBox::show(this, readingError("LOAD VALUES", report));
    if (report.end != JobEnd::Done)
        co_return;
    values.prepend(QString());
    replaceEntries(cmbValues, values);
}

frmMain::Task frmMain::mnuopen_Click() {
    co_await stopDatabaseWork();
    clearBox(cmbTable);
    clearBox(CmbField);
    clearBox(cmbValues);
    searchState.CurrentPage = 0;
    const QString start = CurrentDatabasePath.isEmpty()
                              ? QString()
                              : QFileInfo(CurrentDatabasePath).absoluteFilePath();
    const auto chosen = quarix::platform::FileDialog::openFileName(
        this, QStringLiteral("Open Database"),
        QStringLiteral("Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb|All files (*)|*"), start);
    if (!chosen)
        co_return;
    const QString path = catalogue::absoluteDatabasePath(*chosen);
    CurrentDatabasePath = path;
    ClearLastSearches();
    if (!catalogue::namesADatabase(path))
        co_return;
    UpdateTableQuery();
    const bool opened = co_await Load_cmbTable(path);
    if (!opened)
        co_return;
    if (settings.AutoLoadDatabase == path) {
        cmbTable->setEditText(settings.AutoLoadTable);
        CmbField->setEditText(settings.AutoLoadField);
    }
    co_await finishOpening(path);
}

frmMain::Task frmMain::openDroppedFiles(QStringList paths) {
    if (paths.isEmpty())
        co_return;
    co_await stopDatabaseWork();
    const QString path = catalogue::absoluteDatabasePath(paths.first());
    CurrentDatabasePath = path;
    if (!catalogue::namesADatabase(path))
        co_return;
    const bool opened = co_await Load_cmbTable(path);
    if (opened)
        co_await finishOpening(path);
}

frmMain::Task frmMain::finishOpening(QString path) {
    Reset_Grid();
    setWindowTitle(quarix::search::databaseCaption(path));
    co_await Load_Fields();
}

frmMain::Task frmMain::cmbTableQuery_Click() {
    if (!CurrentDatabasePath.isEmpty())
        co_await Load_cmbTable(CurrentDatabasePath);
}

frmMain::Task frmMain::cmbTable_LostFocus() {
    co_await Load_Fields();
}

frmMain::Task frmMain::CmbField_GotFocus() {
    if (searchState.CurrentWhere.isEmpty())
        searchState.CurrentWhere = QStringLiteral(" ");
    if (!cmbTable->currentText().isEmpty())
        co_await Load_Fields();
}

frmMain::Task frmMain::CmbField_LostFocus() {
    if (settings.SQLMode) {
        quarix::platform::Clipboard::clear();
        quarix::platform::Clipboard::pasteInto(
            txtSearch, QLatin1Char('[') + CmbField->currentText() + QLatin1Char(']'));
        quarix::platform::Clipboard::clear();
    }
    co_await Load_ValueList();
}

frmMain::Task frmMain::cmbValues_GotFocus() {
    ValueOnEntry = cmbValues->currentText();
    if (cmbValues->count() == 0 && settings.ListValues)
        co_await Load_ValueList();
}

void frmMain::cmbValues_LostFocus() {
    if (settings.SQLMode && !cmbValues->currentText().isEmpty() &&
        cmbValues->currentText() != ValueOnEntry)
        cmbValues_Click();
}

void frmMain::mnuValuePickList_Click() {
    const bool on = !menus_.mnuValuePickList->isChecked();
    menus_.mnuValuePickList->setChecked(on);
    settings.ListValues = on;
}
