#pragma once

#include "engine/AccessDatabase.h"
#include "session/SearchRun.h"
#include "session/XlsxExport.h"

#include <QString>

namespace quarix::session {

// What the window holds when "Export Results to Excel" is chosen.
struct ExportChoice {
    QString databasePath; // the open database
    QString table;        // the table or query searched
    QString field;        // the field searched: a paged search's default order
    QString currentWhere; // criterion of the results on screen; empty: nothing to export
    QString sortClause;   // ORDER BY from a header click, may be empty
    bool pagedMode = false;
};

// The rows an export writes: every row of the search on screen, read again
// from the database. An .accdb file's paged search is its own statement
// without the page limit; a paged .mdb search is the table filtered by the
// criterion in the engine's order; results shown whole come in the order the
// grid was sorted in, if it was.
SearchRequest exportRequest(const ExportChoice& choice);

// Reads the rows and writes the workbook (a job for the worker). Engine
// failures are reported in the result, not thrown.
WorkbookResult exportWorkbook(const engine::AccessDatabase& db, const SearchRequest& request,
                              const WorkbookOptions& options, const engine::ReadOptions& read);

} // namespace quarix::session
