#pragma once

#include "search/Criteria.h"
#include "search/SearchState.h"

namespace quarix::search {

// What the window holds when a run starts.
struct RunInputs {
    SearchCriteria criteria;
    QString sqlText; // the SQL text box
    bool sqlMode = false;
};

// Decides the criterion of a run from the window's inputs and the filter
// stack, updating the state as the run's first steps do. A refusal or a
// conversion failure leaves the state untouched.
BuildResult planRun(SearchState& state, const RunInputs& inputs);

// The criterion that shows every record ("Undo Filter" with nothing to undo).
QString everyRecordCriterion();

// A run succeeded: the criterion is now the one on screen.
void recordSuccess(SearchState& state, const QString& criterion, long resultCount);

// A run failed: nothing it stood for is on screen.
void recordFailure(SearchState& state);

// After the caption: a filter run that showed rows is done filtering.
void recordRowsShown(SearchState& state, long rowsShown);

} // namespace quarix::search
