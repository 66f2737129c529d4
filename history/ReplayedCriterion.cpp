#include "history/ReplayedCriterion.h"

#include "search/CriterionParts.h"

namespace quarix::history {

void showCriterionParts(const SearchWindowPort& window, const QString& field,
                        const QString& criterion) {
    const auto parts = search::criterionParts(field, criterion);
    if (!parts)
        return;
    if (window.setOperatorText)
        window.setOperatorText(parts->op);
    if (window.setValueText)
        window.setValueText(parts->value);
}

} // namespace quarix::history
