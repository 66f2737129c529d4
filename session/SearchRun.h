#pragma once

#include "engine/AccessDatabase.h"
#include "search/RunPlan.h"

#include <QString>

#include <memory>

namespace quarix::session {

// What one search run reads.
struct SearchRequest {
    QString table;                         // the table or saved query
    QString field;                         // the field searched: a paged search's default order
    QString criterion;                     // what follows WHERE, filters joined
    QString sortClause;                    // ORDER BY chosen by the user; may be empty
    bool paged = false;                    // one page of the ordered statement, else every row
    long page = 0;                         // 0-based
    int pageSize = 0;                      // rows a page; 0: one page of everything
    engine::sql::ParameterAnswers answers; // the values of the source's parameters
};

// The rows a run found.
struct SearchResults {
    std::shared_ptr<engine::ResultSet> result; // every matching row
    long resultCount = 0;
    long firstIndex = 0; // the page's first row
    long pageRows = 0;   // rows on the page: every row when not paged
};

// A paged request, or one with an order, runs its statement (ordered by the
// sort clause, else a paged one by the field); any other with a criterion
// is the table filtered by it, in the order the engine keeps its rows.
bool runsStatement(const SearchRequest& request);
QString searchStatement(const SearchRequest& request);

// Engine failures throw engine::EngineError.
SearchResults runSearch(const engine::AccessDatabase& db, const SearchRequest& request,
                        const engine::ReadOptions& options = {});

// A run's decisions from what the window holds: the criterion with the
// filter stack applied (or why there is none) and what to read.
struct PlannedRun {
    search::BuildResult built;
    SearchRequest request;
};
PlannedRun planSearch(search::SearchState& state, const search::RunInputs& inputs, bool paged,
                      int pageSize);

} // namespace quarix::session
