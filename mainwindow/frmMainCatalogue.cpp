// Choosing a database and filling the table, field and value boxes.
#include "catalogue/CatalogueNames.h"
#include "catalogue/CatalogueReader.h"
#include "mainwindow/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "search/StatusCaption.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using quarix::platform::MessageBox;
namespace catalogue = quarix::catalogue;

namespace {

QString readingError(const char* job, const frmMain::JobReport& report) {
    return QString::fromLatin1(job) + QStringLiteral(": Error Reading Database\n") +
           QString::number(report.number) + QLatin1Char(' ') + report.description;
}

void clearBox(QComboBox* box) {
    box->clear();
    box->clearEditText();
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

bool frmMain::Load_cmbTable(const QString& dbname) {
    if (busy())
        return false;
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
    const JobReport report = databaseJob(QStringLiteral("Quarix - LOADING TABLES..."), [&] {
        names = catalogue::readObjectNames(dbname, wanted ? kind : QString());
    });
    if (report.end == JobEnd::Failed)
        MessageBox::show(this, readingError("LOAD TABLES", report));
    if (report.end != JobEnd::Done)
        return false;
    cmbTable->addItems(names);
    cmbTable->setEditText(kept);
    if (cmbTable->currentText().isEmpty() && settings.AutoLoadDatabase == dbname) {
        cmbTable->setEditText(settings.AutoLoadTable);
        CmbField->setEditText(settings.AutoLoadField);
    }
    progBar1->setValue(40);
    return false;
}

void frmMain::Load_Fields() {
    const QString table = cmbTable->currentText();
    if (table.isEmpty() || busy())
        return;
    searchState.SortClause.clear();
    progBar1->setValue(50);
    QStringList fields;
    const QString path = CurrentDatabasePath;
    const JobReport report = databaseJob(QStringLiteral("Quarix - LOADING FIELDS..."),
                                         [&] { fields = catalogue::readFieldNames(path, table); });
    if (report.end == JobEnd::Failed) {
        MessageBox::show(this, readingError("LOAD FIELDS", report));
        mnuopen_Click();
    }
    if (report.end != JobEnd::Done)
        return;
    clearBox(CmbField);
    progBar1->setValue(80);
    CmbField->addItems(fields);
    CmbField->setCurrentIndex(-1);
    progBar1->setValue(90);
    if (settings.AutoLoadTable == cmbTable->currentText() &&
        settings.AutoLoadDatabase == CurrentDatabasePath) {
        CmbField->setEditText(settings.AutoLoadField);
        cmbTable->setEditText(settings.AutoLoadTable);
        selectEntryOfText(CmbField);
    }
    progBar1->setValue(100);
}

void frmMain::Load_ValueList() {
    if (busy())
        return;
    selectEntryOfText(cmbTable);
    selectEntryOfText(CmbField);
    clearBox(cmbValues);
    const QString path = CurrentDatabasePath;
    const QString table = cmbTable->currentText();
    const QString field = CmbField->currentText();
    // Without a table and a field there is nothing to list.
    if (!menus_.mnuValuePickList->isChecked() || path.isEmpty() || table.isEmpty() ||
        field.isEmpty())
        return;
    const int most = settings.valueListMaxWhole();
    QStringList values;
    const JobReport report = databaseJob(
        QString(), [&] { values = catalogue::readValueList(path, table, field, most); });
    if (report.end == JobEnd::Failed)
        MessageBox::show(this, readingError("LOAD VALUES", report));
    if (report.end != JobEnd::Done)
        return;
    cmbValues->addItems(values);
    cmbValues->setCurrentIndex(-1);
    cmbValues->clearEditText();
}

void frmMain::mnuopen_Click() {
    clearBox(cmbTable);
    clearBox(CmbField);
    clearBox(cmbValues);
    searchState.CurrentPage = 0;
    const QString start = CurrentDatabasePath.isEmpty()
                              ? QString()
                              : QFileInfo(CurrentDatabasePath).absoluteFilePath();
    const auto chosen = quarix::platform::FileDialog::openFileName(
        this, QStringLiteral("Open Database"),
        QStringLiteral("Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb"), start);
    if (!chosen)
        return;
    CurrentDatabasePath = catalogue::absoluteDatabasePath(*chosen);
    ClearLastSearches();
    if (!catalogue::namesADatabase(CurrentDatabasePath))
        return;
    UpdateTableQuery();
    Load_cmbTable(CurrentDatabasePath);
    if (settings.AutoLoadDatabase == CurrentDatabasePath) {
        cmbTable->setEditText(settings.AutoLoadTable);
        CmbField->setEditText(settings.AutoLoadField);
    }
    finishOpening(CurrentDatabasePath);
}

void frmMain::openDroppedFiles(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    CurrentDatabasePath = catalogue::absoluteDatabasePath(paths.first());
    if (!catalogue::namesADatabase(CurrentDatabasePath))
        return;
    Load_cmbTable(CurrentDatabasePath);
    finishOpening(CurrentDatabasePath);
}

void frmMain::finishOpening(const QString& path) {
    Reset_Grid();
    setWindowTitle(quarix::search::databaseCaption(path));
    Load_Fields();
}

void frmMain::cmbTableQuery_Click() {
    if (!CurrentDatabasePath.isEmpty())
        Load_cmbTable(CurrentDatabasePath);
}

void frmMain::cmbTable_LostFocus() {
    Load_Fields();
}

void frmMain::CmbField_GotFocus() {
    if (searchState.CurrentWhere.isEmpty())
        searchState.CurrentWhere = QStringLiteral(" ");
    if (!cmbTable->currentText().isEmpty())
        Load_Fields();
}

void frmMain::CmbField_LostFocus() {
    if (settings.SQLMode) {
        quarix::platform::Clipboard::clear();
        quarix::platform::Clipboard::pasteInto(
            txtSearch, QLatin1Char('[') + CmbField->currentText() + QLatin1Char(']'));
        quarix::platform::Clipboard::clear();
    }
    Load_ValueList();
}

void frmMain::cmbValues_GotFocus() {
    ValueOnEntry = cmbValues->currentText();
    if (cmbValues->count() == 0 && settings.ListValues)
        Load_ValueList();
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
