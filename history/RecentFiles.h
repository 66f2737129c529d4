#pragma once

#include "history/MenuItem.h"
#include "history/SearchWindowPort.h"
#include "settings/SettingsValues.h"

#include <QString>

#include <array>

namespace quarix::history {

// The File menu's three recent databases below their separator. All hidden
// until the first database is recorded.
struct RecentFilesMenu {
    bool separatorVisible = false;
    std::array<MenuItem, 3> items;
};

// Records the current database as the newest of Recent1..Recent3 and
// refreshes the menu. A database already in the list moves to the top and
// leaves its old place, so no path is listed twice; paths compare exactly.
// With recentShown off (the K switch) the list is kept but no item shows.
void UpdateRecentFiles(SettingsValues& settings, const QString& currentDatabasePath,
                       bool recentShown, RecentFilesMenu& menu);

// Takes a path out of the list (a file that no longer exists); the entries
// below it move up and the menu follows.
void forgetRecentFile(SettingsValues& settings, const QString& path, bool recentShown,
                      RecentFilesMenu& menu);

// The update at exit, which moves a new database to the top over Recent2
// (Recent3 keeps its value). Returns what the current database path
// becomes: empty when it was empty or already the newest entry.
QString recordRecentAtExit(SettingsValues& settings, const QString& currentDatabasePath);

// Choosing recent item index: that database becomes current and opens,
// with the AutoLoad table and field preselected when it is the AutoLoad
// database, an empty grid and an empty last-ten list.
session::Task<> mnuRecentFile_Click(int index, RecentFilesMenu& menu, SearchWindowPort window);

} // namespace quarix::history
