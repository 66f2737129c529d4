#pragma once

#include "history/MenuItem.h"
#include "history/SearchWindowPort.h"

#include <QString>

#include <array>

namespace quarix::history {

// The View menu's "Last 10 Searches": kept only for this run, newest first.
struct LastSearchesMenu {
    bool visible = false; // the submenu itself
    std::array<MenuItem, 10> items;
};

// The parts of an entry, as a replay reads them back.
struct LastSearchParts {
    QString kind;
    QString table;
    QString field;
    QString criterion;
};

// "kind | table | field | criterion".
QString lastSearchEntry(const QString& kind, const QString& table, const QString& field,
                        const QString& criterion);

// Splits an entry at " | ". A criterion that itself contains " | " is cut
// there: only the part before it comes back.
LastSearchParts parseLastSearch(const QString& entry);

// Records a search just run as the newest entry, unless it repeats the
// newest one. The submenu shows when showLast10 is on and hides when off.
void AddLastSearch(LastSearchesMenu& menu, const QString& entry, bool showLast10);

// Empties the list and hides the submenu (a new database was chosen).
void ClearLastSearches(LastSearchesMenu& menu);

// Runs entry index again against the current database.
session::Task<> mnulast_Click(int index, const LastSearchesMenu& menu, SearchWindowPort window);

} // namespace quarix::history
