#include "history/LastSearches.h"

#include "history/EntryText.h"
#include "history/ReplayedCriterion.h"

#include <utility>

namespace quarix::history {

QString lastSearchEntry(const QString& kind, const QString& table, const QString& field,
                        const QString& criterion) {
    return joinEntry({kind, table, field, criterion});
}

LastSearchParts parseLastSearch(const QString& entry) {
    const QStringList parts = splitEntry(entry, 4);
    return {parts[0], parts[1], parts[2], parts[3]};
}

void AddLastSearch(LastSearchesMenu& menu, const QString& entry, bool showLast10) {
    if (showLast10)
        menu.visible = true;
    if (entry == menu.items[0].caption)
        return;
    QString carried = entry;
    for (MenuItem& item : menu.items) {
        std::swap(item.caption, carried);
        item.visible = !item.caption.isEmpty();
    }
    if (!showLast10)
        menu.visible = false;
}

void ClearLastSearches(LastSearchesMenu& menu) {
    for (MenuItem& item : menu.items) {
        item.caption.clear();
        item.visible = false;
    }
    menu.visible = false;
}

session::Task<> mnulast_Click(int index, const LastSearchesMenu& menu, SearchWindowPort window) {
    if (index < 0 || index >= int(menu.items.size()))
        co_return;
    // The menu is read before the first wait: it may change while the lists load.
    search::SearchState& state = *window.searchState;
    state.CurrentPage = 0;
    window.setSearchText(QString());
    window.setValueText(QString());
    state.ReplayPending = true;

    const LastSearchParts parts = parseLastSearch(menu.items[std::size_t(index)].caption);
    if (!parts.kind.isEmpty())
        window.selectTableQuery(parts.kind);
    window.setCaption(QStringLiteral("Quarix - LOADING TABLES..."));
    const bool opened = co_await window.loadTables(*window.currentDatabasePath);
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
    window.setSearchText(state.CurrentWhere);
    showCriterionParts(window, parts.field, parts.criterion);
    co_await window.runSearch();
}

} // namespace quarix::history
