// Recent databases, the last ten searches, saved searches and AutoLoad:
// the window binds its menus and boxes to the history logic.
#include "history/AutoLoad.h"
#include "history/MenuBinding.h"
#include "history/frmAutoLoad.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "session/DatabaseWorker.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>

namespace history = quarix::history;

history::SearchWindowPort frmMain::historyPort() {
    history::SearchWindowPort port;
    port.currentDatabasePath = &CurrentDatabasePath;
    port.searchState = &searchState;
    port.settings = &settings;
    port.dialogParent = this;
    port.tableQueryText = [this] { return cmbTableQuery->currentText(); };
    port.tableText = [this] { return cmbTable->currentText(); };
    port.fieldText = [this] { return CmbField->currentText(); };
    port.setTableText = [this](const QString& text) { cmbTable->setEditText(text); };
    port.setFieldText = [this](const QString& text) { CmbField->setEditText(text); };
    port.setOperatorText = [this](const QString& text) { cmbFunction->setCurrentText(text); };
    port.setValueText = [this](const QString& text) { cmbValues->setEditText(text); };
    port.setSearchText = [this](const QString& text) { txtSearch->setText(text); };
    port.selectTableQuery = [this](const QString& kind) {
        const int found = cmbTableQuery->findText(kind, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found >= 0)
            cmbTableQuery->setCurrentIndex(found);
    };
    port.setCaption = [this](const QString& text) { setWindowTitle(text); };
    port.updateTableQuery = [this] { UpdateTableQuery(); };
    port.loadTables = [this](QString path) { return Load_cmbTable(std::move(path)); };
    port.loadFields = [this] { return Load_Fields(); };
    port.loadValueList = [this] { return Load_ValueList(); };
    port.resetGrid = [this] { Reset_Grid(); };
    port.runSearch = [this] { return RunSearch(); };
    port.clearLastSearches = [this] { ClearLastSearches(); };
    return port;
}

void frmMain::connectHistoryMenus() {
    for (int i = 0; i < int(menus_.mnuRecentFile.size()); ++i)
        connect(menus_.mnuRecentFile[std::size_t(i)], &QAction::triggered, this,
                [this, i] { mnuRecentFile_Click(i); });
    for (int i = 0; i < int(menus_.mnulast.size()); ++i)
        connect(menus_.mnulast[std::size_t(i)], &QAction::triggered, this,
                [this, i] { mnulast_Click(i); });
    for (int i = 0; i < int(menus_.mnusavedsearch.size()); ++i)
        connect(menus_.mnusavedsearch[std::size_t(i)], &QAction::triggered, this,
                [this, i] { mnusavedsearch_Click(i); });
    // Opening the menu starts any saved search on its first page.
    connect(menus_.mnuSavedSearches, &QMenu::aboutToShow, this,
            [this] { searchState.CurrentPage = 0; });
    connect(menus_.mnuautoload, &QAction::triggered, this, &frmMain::mnuautoload_Click);
}

void frmMain::UpdateRecentFiles() {
    history::UpdateRecentFiles(settings, CurrentDatabasePath, RecentShown, recentFiles_);
    history::applyRecentFilesMenu(recentFiles_, menus_.mnuline2, menus_.mnuRecentFile);
}

frmMain::Task frmMain::mnuRecentFile_Click(int index) {
    if (index < 0 || index >= int(recentFiles_.items.size()))
        co_return;
    const QString path = recentFiles_.items[std::size_t(index)].caption;
    if (!QFileInfo::exists(path)) {
        // One question, and the database that is open stays open.
        const auto answer = quarix::platform::MessageBox::show(
            this,
            QStringLiteral("The database %1 no longer exists. Remove it from the recent files?")
                .arg(QDir::toNativeSeparators(path)),
            QStringLiteral("Quarix"), quarix::platform::MessageBox::Icon::Question,
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            history::forgetRecentFile(settings, path, RecentShown, recentFiles_);
            history::applyRecentFilesMenu(recentFiles_, menus_.mnuline2, menus_.mnuRecentFile);
        }
        co_return;
    }
    co_await stopDatabaseWork();
    auto opening = history::mnuRecentFile_Click(index, recentFiles_, historyPort());
    history::applyRecentFilesMenu(recentFiles_, menus_.mnuline2, menus_.mnuRecentFile);
    co_await std::move(opening);
}

void frmMain::AddLastSearch() {
    history::AddLastSearch(
        lastSearches_,
        history::lastSearchEntry(cmbTableQuery->currentText(), cmbTable->currentText(),
                                 CmbField->currentText(), searchState.CurrentWhere),
        settings.ShowLast10);
    history::applyLastSearchesMenu(lastSearches_, menus_.mnulast10, menus_.mnulast);
}

void frmMain::ClearLastSearches() {
    history::ClearLastSearches(lastSearches_);
    history::applyLastSearchesMenu(lastSearches_, menus_.mnulast10, menus_.mnulast);
}

frmMain::Task frmMain::mnulast_Click(int index) {
    co_await stopDatabaseWork();
    co_await history::mnulast_Click(index, lastSearches_, historyPort());
}

void frmMain::SortSaved() {
    history::SortSaved(savedSearches_, settings);
    history::applySavedSearchesMenu(savedSearches_, menus_.mnusavedsearch);
}

void frmMain::loadSavedSearches() {
    history::loadSavedSearches(savedSearches_, settings);
    history::applySavedSearchesMenu(savedSearches_, menus_.mnusavedsearch);
}

frmMain::Task frmMain::mnusavedsearch_Click(int index) {
    using Menu = history::SavedSearchesMenu;
    // A replay opens its database: what runs stops first.
    if (index >= Menu::kFirstSlot && index <= Menu::kLastSlot && !savedSearches_.inDeleteMode())
        co_await stopDatabaseWork();
    history::mnusavedsearch_Click(index, savedSearches_, historyPort());
    history::applySavedSearchesMenu(savedSearches_, menus_.mnusavedsearch);
}

frmMain::Task frmMain::mnuautoload_Click() {
    co_await stopDatabaseWork();
    // The item's check mark shows whether AutoLoad is on, not the click.
    menus_.mnuautoload->setChecked(history::autoLoadIsOn(settings));
    if (autoLoadDialog_) {
        autoLoadDialog_->raise();
        autoLoadDialog_->activateWindow();
        co_return;
    }
    history::AutoLoadPort port;
    port.window = historyPort();
    port.setAutoLoadChecked = [this](bool on) { menus_.mnuautoload->setChecked(on); };
    port.worker = worker_;
    autoLoadDialog_ = new history::frmAutoLoad(std::move(port), this);
    autoLoadDialog_->show();
}
