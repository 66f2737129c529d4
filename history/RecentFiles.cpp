#include "history/RecentFiles.h"

#include "catalogue/CatalogueNames.h"
#include "search/StatusCaption.h"

namespace quarix::history {

namespace {

// Moves path to the top of the three entries. Entries above its old place
// shift down by one; when it was not listed, the entry at slot dropWhenNew
// gives way. A later copy (left by an edited settings file) is removed.
void moveToTop(SettingsValues& settings, const QString& path, int dropWhenNew) {
    std::array<QString*, 3> entries{&settings.Recent1, &settings.Recent2, &settings.Recent3};
    int from = dropWhenNew;
    for (int i = 0; i < 3; ++i) {
        if (*entries[i] == path) {
            from = i;
            break;
        }
    }
    for (int i = from; i > 0; --i)
        *entries[i] = *entries[i - 1];
    *entries[0] = path;
    for (int i = from + 1; i < 3; ++i)
        if (*entries[i] == path)
            entries[i]->clear();
}

void showEntry(MenuItem& item, const QString& entry, bool recentShown) {
    item.caption = entry;
    item.visible = recentShown && !entry.isEmpty();
}

} // namespace

void UpdateRecentFiles(SettingsValues& settings, const QString& currentDatabasePath,
                       bool recentShown, RecentFilesMenu& menu) {
    if (!currentDatabasePath.isEmpty() && currentDatabasePath != settings.Recent1)
        moveToTop(settings, currentDatabasePath, 2);
    if (settings.Recent1.isEmpty())
        return;
    if (recentShown)
        menu.separatorVisible = true;
    showEntry(menu.items[0], settings.Recent1, recentShown);
    showEntry(menu.items[1], settings.Recent2, recentShown);
    showEntry(menu.items[2], settings.Recent3, recentShown);
}

void forgetRecentFile(SettingsValues& settings, const QString& path, bool recentShown,
                      RecentFilesMenu& menu) {
    QStringList kept;
    for (const QString* entry : {&settings.Recent1, &settings.Recent2, &settings.Recent3})
        if (!entry->isEmpty() && *entry != path)
            kept << *entry;
    kept.resize(3);
    settings.Recent1 = kept[0];
    settings.Recent2 = kept[1];
    settings.Recent3 = kept[2];
    menu = RecentFilesMenu{};
    UpdateRecentFiles(settings, QString(), recentShown, menu);
}

QString recordRecentAtExit(SettingsValues& settings, const QString& currentDatabasePath) {
    if (currentDatabasePath.isEmpty() || currentDatabasePath == settings.Recent1)
        return {};
    moveToTop(settings, currentDatabasePath, 1);
    return currentDatabasePath;
}

session::Task<> mnuRecentFile_Click(int index, RecentFilesMenu& menu, SearchWindowPort window) {
    if (index < 0 || index >= int(menu.items.size()))
        co_return;
    // The menu is used before the first wait only: it may change while the lists load.
    MenuItem& item = menu.items[std::size_t(index)];
    const QString path = item.caption;
    *window.currentDatabasePath = path;
    // Recording the path when its tables load shows the item again.
    item.visible = false;
    if (!catalogue::namesADatabase(path))
        co_return;
    window.updateTableQuery();
    const bool opened = co_await window.loadTables(path);
    if (!opened)
        co_return;
    const SettingsValues& settings = *window.settings;
    if (settings.AutoLoadDatabase == path) {
        window.setTableText(settings.AutoLoadTable);
        window.setFieldText(settings.AutoLoadField);
    } else {
        window.setFieldText(QString());
    }
    window.resetGrid();
    window.clearLastSearches();
    window.setCaption(search::databaseCaption(path));
    co_await window.loadFields();
}

} // namespace quarix::history
