#pragma once

#include <QString>

#include <optional>

namespace quarix::search {

// The operator and value that build a criterion.
struct OperatorAndValue {
    QString op;
    QString value;
};

// The operator and value from which BuildCriterion gives exactly this
// criterion for the field; nothing for a criterion it cannot give (one
// typed in SQL mode, or joined from filters). Where two choices give the
// same text, the one earlier in the operator list is taken.
std::optional<OperatorAndValue> criterionParts(const QString& field, const QString& criterion);

} // namespace quarix::search
