#include "history/SavedSearches.h"

#include "history/EntryText.h"
#include "history/ReplayedCriterion.h"
#include "platform/MessageBox.h"

#include <QStringList>

#include <algorithm>

namespace quarix::history {

namespace {

using Menu = SavedSearchesMenu;

constexpr std::size_t slotCount = Menu::kLastSlot - Menu::kFirstSlot + 1;
static_assert(slotCount == std::tuple_size_v<decltype(SettingsValues::SavedSearches)>);

void storeSlots(const Menu& menu, SettingsValues& settings) {
    for (std::size_t n = 0; n < slotCount; ++n)
        settings.SavedSearches[n] = menu.item(Menu::kFirstSlot + int(n)).caption;
}

void setListFrameVisible(Menu& menu, bool visible) {
    menu.item(Menu::kTopSeparator).visible = visible;
    menu.item(Menu::kBottomSeparator).visible = visible;
    menu.item(Menu::kDeleteMode).visible = visible;
}

// The kind is the entry's first word; a hidden kind cannot be run.
bool kindIsHidden(const QString& caption, const SettingsValues& settings) {
    const QString kind = caption.left(5);
    return (kind == QStringLiteral("Table") && settings.ShowTables == 0) ||
           (kind == QStringLiteral("Query") && settings.ShowQueries == 0);
}

// Table entries first, then the others; each group in text order
// ignoring letter case (database path, table, field, criterion).
bool savedSearchOrder(const QString& a, const QString& b) {
    const bool aTable = a.startsWith(QStringLiteral("Table"));
    const bool bTable = b.startsWith(QStringLiteral("Table"));
    if (aTable != bTable)
        return aTable;
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

SavedSearchesMenu::SavedSearchesMenu() {
    item(kSave) = {QStringLiteral("Save Current Search"), true, true, false};
    item(kTopSeparator).caption = QStringLiteral("-");
    item(kBottomSeparator).caption = QStringLiteral("-");
    item(kDeleteMode).caption = QStringLiteral("Delete Search");
}

QString savedSearchEntry(const SavedSearchParts& parts) {
    return joinEntry({parts.kind, parts.databasePath, parts.table, parts.field, parts.criterion});
}

SavedSearchParts parseSavedSearch(const QString& entry) {
    const QStringList parts = splitEntry(entry, 5);
    return {parts[0], parts[1], parts[2], parts[3], parts[4]};
}

void loadSavedSearches(Menu& menu, SettingsValues& settings) {
    menu = Menu{}; // a reload into another settings file starts afresh
    for (std::size_t n = 0; n < slotCount; ++n) {
        MenuItem& slot = menu.item(Menu::kFirstSlot + int(n));
        slot.caption = settings.SavedSearches[n];
        slot.visible = !slot.caption.isEmpty();
    }
    if (menu.item(Menu::kFirstSlot).visible)
        setListFrameVisible(menu, true);
    SortSaved(menu, settings);
}

void SortSaved(Menu& menu, SettingsValues& settings) {
    QStringList entries;
    for (int i = Menu::kFirstSlot; i <= Menu::kLastSlot; ++i) {
        MenuItem& slot = menu.item(i);
        if (!slot.caption.isEmpty())
            entries << slot.caption;
        slot.caption.clear();
        slot.visible = false;
    }
    std::stable_sort(entries.begin(), entries.end(), savedSearchOrder);
    for (int n = 0; n < int(entries.size()); ++n) {
        MenuItem& slot = menu.item(Menu::kFirstSlot + n);
        slot.caption = entries[n];
        slot.visible = true;
        slot.enabled = !kindIsHidden(slot.caption, settings);
    }
    if (menu.item(Menu::kDeleteMode).checked)
        for (int i = Menu::kFirstSlot; i <= Menu::kLastSlot; ++i)
            menu.item(i).enabled = true;
    storeSlots(menu, settings);
}

bool saveSearch(Menu& menu, SettingsValues& settings, const QString& entry) {
    menu.item(Menu::kTopSeparator).visible = true;
    int free = Menu::kFirstSlot;
    while (free <= Menu::kLastSlot && menu.item(free).visible)
        ++free;
    if (free > Menu::kLastSlot)
        return false;
    menu.item(free).caption = entry;
    menu.item(free).visible = true;
    menu.item(Menu::kBottomSeparator).visible = true;
    menu.item(Menu::kDeleteMode).visible = true;
    SortSaved(menu, settings);
    return true;
}

void toggleDeleteMode(Menu& menu, SettingsValues& settings) {
    MenuItem& deleteMode = menu.item(Menu::kDeleteMode);
    if (!deleteMode.checked) {
        deleteMode.checked = true;
        for (int i = Menu::kFirstSlot; i <= Menu::kLastSlot; ++i)
            menu.item(i).enabled = true;
    } else {
        deleteMode.checked = false;
        SortSaved(menu, settings);
    }
}

void deleteSavedSearch(Menu& menu, SettingsValues& settings, int slot) {
    menu.item(slot).caption.clear();
    menu.item(slot).visible = false;
    SortSaved(menu, settings);
    if (!menu.item(Menu::kFirstSlot).visible) {
        setListFrameVisible(menu, false);
        menu.item(Menu::kDeleteMode).checked = false;
    }
}

session::Task<> runSavedSearch(QString entry, SearchWindowPort window) {
    search::SearchState& state = *window.searchState;
    window.setSearchText(QString());
    window.setFieldText(QString());
    window.setValueText(QString());
    state.ReplayPending = true;

    const SavedSearchParts parts = parseSavedSearch(entry);
    if (!parts.kind.isEmpty())
        window.selectTableQuery(parts.kind);
    if (parts.databasePath != *window.currentDatabasePath) {
        window.setTableText(QString());
        window.clearLastSearches();
    }
    *window.currentDatabasePath = parts.databasePath;
    window.setCaption(QStringLiteral("Quarix - LOADING TABLES..."));
    const bool opened = co_await window.loadTables(parts.databasePath);
    if (!opened) {
        // The opening stopped: nothing is replayed.
        state.ReplayPending = false;
        state.CurrentWhere.clear();
        co_return;
    }
    window.setCaption(QStringLiteral("Quarix - LOADING FIELDS..."));
    window.setTableText(parts.table);
    co_await window.loadFields();
    window.setFieldText(parts.field);
    state.CurrentWhere = parts.criterion;
    co_await window.loadValueList();
    window.setSearchText(state.CurrentWhere);
    showCriterionParts(window, parts.field, parts.criterion);
    co_await window.runSearch();
}

void mnusavedsearch_Click(int index, Menu& menu, const SearchWindowPort& window) {
    SettingsValues& settings = *window.settings;
    if (index == Menu::kSave) {
        if (window.searchState->CurrentWhere.trimmed().isEmpty()) {
            platform::MessageBox::show(window.dialogParent, kNothingToSaveMessage, {},
                                       platform::MessageBox::Icon::Information);
            return;
        }
        const QString entry = savedSearchEntry(
            {window.tableQueryText(), *window.currentDatabasePath, window.tableText(),
             window.fieldText(), window.searchState->CurrentWhere});
        if (!saveSearch(menu, settings, entry))
            platform::MessageBox::show(window.dialogParent, kSavedSearchesFullMessage, {},
                                       platform::MessageBox::Icon::Information);
    } else if (index == Menu::kDeleteMode) {
        toggleDeleteMode(menu, settings);
    } else if (index >= Menu::kFirstSlot && index <= Menu::kLastSlot) {
        const QString entry = menu.item(index).caption;
        if (entry.isEmpty())
            return;
        if (menu.inDeleteMode()) {
            const auto answer = platform::MessageBox::show(
                window.dialogParent, kDeleteSavedSearchQuestion + QStringLiteral("\n\n") + entry,
                {}, platform::MessageBox::Icon::Question, QMessageBox::Yes | QMessageBox::No);
            if (answer != QMessageBox::Yes)
                return;
            deleteSavedSearch(menu, settings, index);
            if (menu.item(Menu::kDeleteMode).checked)
                toggleDeleteMode(menu, settings);
        } else
            runSavedSearch(entry, window);
    }
}

} // namespace quarix::history
