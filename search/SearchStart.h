#pragma once

#include <QString>

#include <optional>

namespace quarix::search {

// What the search button checks before a run.
struct StartInputs {
    QString databasePath;
    QString table;               // the table box
    QString field;               // the field box
    bool typedCriterion = false; // SQL mode with text in the SQL box: no field needed
    int searchMode = 0;          // SearchState::Mode of the coming run
};

// Why a run cannot start, said to the user instead of doing nothing.
struct StartRefusal {
    QString message;
    QString title; // empty: the program's title
    bool warning = true;
};

// No database, no table, or no field to build the criterion on ("Undo
// Filter" returns to a stored criterion and needs none).
std::optional<StartRefusal> refuseToStart(const StartInputs& in);

} // namespace quarix::search
