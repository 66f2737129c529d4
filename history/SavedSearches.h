#pragma once

#include "history/MenuItem.h"
#include "history/SearchWindowPort.h"
#include "settings/SettingsValues.h"

#include <QString>

#include <array>

namespace quarix::history {

// The "Saved Searches" menu: item 0 saves, 1 and 22 are separators, 2 to 21
// are the twenty slots (a slot is in use when visible), 23 is the
// "Delete Search" check mark.
struct SavedSearchesMenu {
    static constexpr int kSave = 0;
    static constexpr int kTopSeparator = 1;
    static constexpr int kFirstSlot = 2;
    static constexpr int kLastSlot = 21;
    static constexpr int kBottomSeparator = 22;
    static constexpr int kDeleteMode = 23;

    SavedSearchesMenu();
    std::array<MenuItem, 24> items;

    MenuItem& item(int index) { return items[std::size_t(index)]; }
    const MenuItem& item(int index) const { return items[std::size_t(index)]; }
    bool inDeleteMode() const { return item(kDeleteMode).checked && item(kDeleteMode).visible; }
};

inline const QString kSavedSearchesFullMessage =
    QStringLiteral("Cannot save search.  20 Saved Searches - Saved searches full.");
inline const QString kNothingToSaveMessage =
    QStringLiteral("There is no search to save yet: run a search first, then save it.");
inline const QString kDeleteSavedSearchQuestion = QStringLiteral("Delete this saved search?");

struct SavedSearchParts {
    QString kind;
    QString databasePath;
    QString table;
    QString field;
    QString criterion;
};

// "kind | database path | table | field | criterion".
QString savedSearchEntry(const SavedSearchParts& parts);
// Splits an entry at " | "; a criterion containing " | " is cut there.
SavedSearchParts parseSavedSearch(const QString& entry);

// Fills the slots from the stored entries and sorts them.
void loadSavedSearches(SavedSearchesMenu& menu, SettingsValues& settings);

// Puts the entries in the first slots, Table entries before the others and
// each group in case-insensitive text order, and disables those of a kind
// the settings hide (all enabled in delete mode).
// Every change to the slots ends here, which also copies them into
// settings.SavedSearches for the next save.
void SortSaved(SavedSearchesMenu& menu, SettingsValues& settings);

// Stores entry in the first free slot; false when all twenty are in use.
bool saveSearch(SavedSearchesMenu& menu, SettingsValues& settings, const QString& entry);
// Item 23: enters delete mode, or leaves it.
void toggleDeleteMode(SavedSearchesMenu& menu, SettingsValues& settings);
// Removes the entry of slot; leaving none also leaves delete mode.
void deleteSavedSearch(SavedSearchesMenu& menu, SettingsValues& settings, int slot);
// Opens the entry's database (emptying the last-ten list when it is
// another one) and runs its criterion unchanged.
session::Task<> runSavedSearch(QString entry, SearchWindowPort window);

// A click on item index of the menu: save, toggle delete mode, delete or
// run. A full menu shows kSavedSearchesFullMessage and saves nothing, as
// does a window where no search ran (kNothingToSaveMessage). A delete asks
// first and leaves delete mode.
void mnusavedsearch_Click(int index, SavedSearchesMenu& menu, const SearchWindowPort& window);

} // namespace quarix::history
