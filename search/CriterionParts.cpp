#include "search/CriterionParts.h"

#include "search/Criteria.h"

namespace quarix::search {

namespace {

QString built(const QString& field, const QString& op, const QString& value) {
    return BuildCriterion(SearchCriteria{{}, {}, field, op, value}).text;
}

} // namespace

std::optional<OperatorAndValue> criterionParts(const QString& field, const QString& criterion) {
    // Each operator's text around a stand-in value shows where the value
    // stands; the value found there is right when it builds the criterion.
    for (const QString& op : operatorCaptions())
        for (const QString& standIn : {QStringLiteral("\x01"), QStringLiteral("0")}) {
            const QString shape = built(field, op, standIn);
            const qsizetype at = shape.lastIndexOf(standIn);
            if (at < 0)
                continue;
            const QString before = shape.left(at);
            const QString after = shape.mid(at + standIn.size());
            if (criterion.size() < before.size() + after.size() || !criterion.startsWith(before) ||
                !criterion.endsWith(after))
                continue;
            QString value =
                criterion.mid(before.size(), criterion.size() - before.size() - after.size());
            value.replace(QStringLiteral("''"), QStringLiteral("'"));
            if (built(field, op, value) == criterion)
                return OperatorAndValue{op, value};
        }
    return std::nullopt;
}

} // namespace quarix::search
