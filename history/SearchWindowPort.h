#pragma once

#include "search/SearchState.h"
#include "session/Task.h"
#include "settings/SettingsValues.h"

#include <QString>

#include <functional>

class QWidget;

namespace quarix::history {

// The main window as opening a recent or default database and replaying a
// stored search drive it: its shared state, its boxes and the operations
// that load lists and run a search. The pointers must outlive the
// sequences, which take the port by value: a list loads and a search runs
// as the window's coroutines, which continue when their database job ends.
struct SearchWindowPort {
    QString* currentDatabasePath = nullptr;
    search::SearchState* searchState = nullptr;
    SettingsValues* settings = nullptr;
    QWidget* dialogParent = nullptr; // owner of the messages shown

    std::function<QString()> tableQueryText; // the kind box
    std::function<QString()> tableText;      // the table box
    std::function<QString()> fieldText;      // the field box
    std::function<void(const QString&)> setTableText;
    std::function<void(const QString&)> setFieldText;
    std::function<void(const QString&)> setOperatorText; // the operator box
    std::function<void(const QString&)> setValueText;    // the value box
    std::function<void(const QString&)> setSearchText;   // the SQL text box
    // Selects the entry of the kind box ("Table", "Query") equal to the
    // text; a text that is not an entry changes nothing.
    std::function<void(const QString&)> selectTableQuery;
    std::function<void(const QString&)> setCaption;

    std::function<void()> updateTableQuery;
    // Load_cmbTable: false when the opening stops (cancelled, or given up).
    std::function<session::Task<bool>(QString)> loadTables;
    std::function<session::Task<>()> loadFields;
    std::function<session::Task<>()> loadValueList;
    std::function<void()> resetGrid;
    std::function<session::Task<>()> runSearch;
    std::function<void()> clearLastSearches;
};

} // namespace quarix::history
