#include "engine/queries/SavedQueries.h"

#include "engine/queries/QuerySql.h"

#include <unordered_map>

namespace quarix::engine {

std::vector<SavedQuery> rebuildSavedQueries(const Catalogue& catalogue,
                                            const std::vector<MSysQueryRow>& rows) {
    std::unordered_map<std::int32_t, std::vector<MSysQueryRow>> rowsById;
    for (const auto& row : rows)
        rowsById[row.objectId].push_back(row);

    std::vector<SavedQuery> queries;
    queries.reserve(catalogue.queries.size());
    for (const auto& info : catalogue.queries) {
        const auto found = rowsById.find(info.id);
        queries.push_back(
            rebuildQuery(info.name, info.kind,
                         found != rowsById.end() ? found->second : std::vector<MSysQueryRow>()));
    }
    return queries;
}

} // namespace quarix::engine
