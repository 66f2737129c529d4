#include "search/SearchStart.h"

#include "search/SearchState.h"

namespace quarix::search {

std::optional<StartRefusal> refuseToStart(const StartInputs& in) {
    const QString title = QStringLiteral("Quarix - Search Error");
    if (in.databasePath.isEmpty())
        return StartRefusal{QStringLiteral("Please open a database first!"), QString(), false};
    if (in.table.isEmpty())
        return StartRefusal{QStringLiteral("No Table Selected"), title};
    if (in.field.isEmpty() && !in.typedCriterion && in.searchMode != SearchState::UndoFilter)
        return StartRefusal{QStringLiteral("No Field Selected"), title};
    return std::nullopt;
}

} // namespace quarix::search
