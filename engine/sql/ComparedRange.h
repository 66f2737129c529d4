#pragma once

#include "engine/sql/Ast.h"

#include <optional>

namespace quarix::engine::sql {

// A criterion that holds a field's value to a range of numbers: "F > 5",
// "5 <= F", "Int(F) = 5", "F Between 1 And 9", with a number or date
// constant. The range holds every value of F the criterion can accept
// (a whole-number function widens it by one); the criterion still decides.
struct ComparedRange {
    const Expr* field = nullptr; // a Name
    std::optional<double> lower;
    std::optional<double> upper;
};

std::optional<ComparedRange> comparedRangeOf(const Expr& e);

} // namespace quarix::engine::sql
