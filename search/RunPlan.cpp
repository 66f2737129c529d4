#include "search/RunPlan.h"

namespace quarix::search {

QString everyRecordCriterion() {
    return QStringLiteral("1 = 1");
}

BuildResult planRun(SearchState& state, const RunInputs& inputs) {
    BuildResult built;
    if (!inputs.sqlText.isEmpty() && (inputs.sqlMode || state.ReplayPending)) {
        built.text = inputs.sqlText;
    } else {
        built = BuildCriterion(inputs.criteria);
        if (!built.ok())
            return built;
    }

    QString& criterion = built.text;
    if (criterion != state.CurrentWhere)
        state.CurrentPage = 0;

    if (!state.CurrentWhere.isEmpty() && state.SearchMode == SearchState::Filter) {
        if (state.SavedWhere.isEmpty())
            state.SavedWhere = state.CurrentWhere;
        criterion = CombineCriteria(state.CurrentWhere, criterion);
    } else if (state.SearchMode == SearchState::UndoFilter) {
        criterion = state.SavedWhere;
        state.CurrentWhere = state.SavedWhere;
        state.SavedWhere.clear();
        state.SearchMode = SearchState::NewSearch;
        if (criterion.isEmpty())
            criterion = everyRecordCriterion();
    } else if (state.SearchMode == SearchState::Rerun) {
        criterion = state.CurrentWhere;
        state.SearchMode = SearchState::NewSearch;
    } else if (state.ReplayPending) {
        criterion = state.CurrentWhere;
        state.CurrentWhere.clear();
        state.ReplayPending = false;
    }
    return built;
}

void recordSuccess(SearchState& state, const QString& criterion, long resultCount) {
    state.CurrentWhere = criterion;
    state.ResultCount = resultCount;
}

void recordFailure(SearchState& state) {
    state.CurrentWhere.clear();
}

void recordRowsShown(SearchState& state, long rowsShown) {
    if (state.SearchMode == SearchState::Filter && rowsShown > 0)
        state.SearchMode = SearchState::NewSearch;
}

} // namespace quarix::search
