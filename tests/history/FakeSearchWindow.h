#pragma once

#include "history/SearchWindowPort.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The captions of the visible items among [first, last), in order.
template <typename Item> QStringList visibleCaptions(Item first, Item last) {
    QStringList shown;
    for (; first != last; ++first)
        if (first->visible)
            shown << first->caption;
    return shown;
}

// Stands in for the main window: keeps the boxes as texts, records every
// operation in calls, and notes what a search would run. Its lists load
// and its searches run at once.
struct FakeSearchWindow {
    static quarix::session::Task<> finished() { co_return; }
    static quarix::session::Task<bool> read() { co_return true; }

    struct Run {
        QString database;
        QString kind;
        QString table;
        QString field;
        QString criterion;
        bool replay = false;
    };

    SettingsValues settings;
    QString CurrentDatabasePath;
    quarix::search::SearchState searchState;
    QStringList kinds{QStringLiteral("Table"), QStringLiteral("Query")};
    QString kind = QStringLiteral("Table");
    QString table, field, op, value, search, caption;
    QStringList calls;
    std::vector<Run> runs;
    // What loading the table list does besides being recorded.
    std::function<void(const QString&)> onLoadTables;

    quarix::history::SearchWindowPort port() {
        quarix::history::SearchWindowPort p;
        p.currentDatabasePath = &CurrentDatabasePath;
        p.searchState = &searchState;
        p.settings = &settings;
        p.tableQueryText = [this] { return kind; };
        p.tableText = [this] { return table; };
        p.fieldText = [this] { return field; };
        p.setTableText = [this](const QString& t) { table = t; };
        p.setFieldText = [this](const QString& t) { field = t; };
        p.setOperatorText = [this](const QString& t) { op = t; };
        p.setValueText = [this](const QString& t) { value = t; };
        p.setSearchText = [this](const QString& t) { search = t; };
        p.selectTableQuery = [this](const QString& t) {
            if (kinds.contains(t))
                kind = t;
        };
        p.setCaption = [this](const QString& t) { caption = t; };
        p.updateTableQuery = [this] { calls << QStringLiteral("updateTableQuery"); };
        p.loadTables = [this](const QString& path) {
            calls << QStringLiteral("loadTables ") + path;
            if (onLoadTables)
                onLoadTables(path);
            return read();
        };
        p.loadFields = [this] {
            calls << QStringLiteral("loadFields ") + table;
            return finished();
        };
        p.loadValueList = [this] {
            calls << QStringLiteral("loadValueList");
            return finished();
        };
        p.resetGrid = [this] { calls << QStringLiteral("resetGrid"); };
        p.runSearch = [this] {
            calls << QStringLiteral("runSearch");
            runs.push_back({CurrentDatabasePath, kind, table, field, searchState.CurrentWhere,
                            searchState.ReplayPending});
            return finished();
        };
        p.clearLastSearches = [this] { calls << QStringLiteral("clearLastSearches"); };
        return p;
    }
};
