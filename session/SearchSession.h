#pragma once

#include "search/SearchState.h"
#include "session/DatabaseHandle.h"

#include <QString>

namespace quarix::session {

// What a session with an open database keeps between its jobs: which
// database, whether its results come a page at a time, and the search's
// memory (criterion on screen, filter stack, page, sort).
class SearchSession {
public:
    // Full path of the open database; empty when none. "**" asks the window
    // to close at its next activation.
    QString databasePath;
    bool pagedMode = false;
    search::SearchState state;
    // The answers to the parameters of the query whose results are on
    // screen: page changes, sorts, filters and the export run with them.
    engine::sql::ParameterAnswers parameterAnswers;
    QString answeredSource; // the query they answer; empty when none

    // What a job needs to open the database.
    DatabaseHandle database() const { return DatabaseHandle(databasePath); }

    // A database opened, with a password given or not. The engine keeps the
    // password, so that its lists and searches do not ask again; it is
    // wiped when another database opens and when the session ends. Another
    // database also starts without filters: none of its criteria on screen.
    void databaseOpened(const QString& path, bool withPassword);
    ~SearchSession();

private:
    QString passwordKeptFor_;
    QString openedPath_;
};

} // namespace quarix::session
