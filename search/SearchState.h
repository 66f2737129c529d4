#pragma once

#include <QString>

#include <optional>

namespace quarix::search {

// What links one search run to the next; owned by the main window.
struct SearchState {
    enum Mode { NewSearch = 0, Filter = 1, UndoFilter = 2, Rerun = 3 };

    QString CurrentWhere;            // criterion of the results on screen
    QString SavedWhere;              // criterion before the first stacked filter
    int SearchMode = NewSearch;      // kind of the next run
    std::optional<long> CurrentPage; // 0-based page on screen, unset before the first search
    long ResultCount = 0;            // records found by the last run
    QString SortClause;              // ORDER BY text from a header click
    bool ReplayPending = false;      // a stored search is being replayed

    long page() const { return CurrentPage.value_or(0); }
};

} // namespace quarix::search
