#include "session/SearchRun.h"

#include "search/Criteria.h"
#include "search/Paging.h"
#include "search/Statements.h"

namespace quarix::session {

bool runsStatement(const SearchRequest& request) {
    return request.paged || !request.sortClause.isEmpty() || request.criterion.isEmpty();
}

QString searchStatement(const SearchRequest& request) {
    QString order = request.sortClause;
    // A typed criterion names no field: nothing to order by unless asked.
    if (order.isEmpty() && request.paged && !request.field.isEmpty())
        order = search::DefaultSortClause(request.field);
    if (request.criterion.isEmpty() || order.isEmpty())
        return search::SourceStatement(request.table, request.criterion, order);
    return search::BuildSearchStatement(request.table, request.criterion, request.sortClause,
                                        request.field);
}

SearchResults runSearch(const engine::AccessDatabase& db, const SearchRequest& request,
                        const engine::ReadOptions& options) {
    SearchResults results;
    results.result =
        runsStatement(request)
            ? db.execute(searchStatement(request).toStdString(), options, request.answers)
            : db.filter(request.table.toStdString(), request.criterion.toStdString(), options,
                        request.answers);
    results.resultCount = static_cast<long>(results.result->rowCount());
    if (request.paged) {
        const search::Paging paging{results.resultCount, request.pageSize};
        results.firstIndex = paging.firstIndex(request.page);
        results.pageRows = paging.rowsOnPage(request.page);
    } else {
        results.pageRows = results.resultCount;
    }
    return results;
}

PlannedRun planSearch(search::SearchState& state, const search::RunInputs& inputs, bool paged,
                      int pageSize) {
    PlannedRun run;
    run.built = search::planRun(state, inputs);
    run.request.table = inputs.criteria.table;
    run.request.field = inputs.criteria.field;
    run.request.criterion = run.built.text;
    run.request.sortClause = paged ? state.SortClause : QString();
    run.request.paged = paged;
    run.request.page = state.page();
    run.request.pageSize = pageSize;
    return run;
}

} // namespace quarix::session
