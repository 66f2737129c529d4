#pragma once

#include "SqlTestDatabase.h"

#include <ostream>

namespace quarix::test {

// A criterion on Customers and the CustomerIDs it matches ("1,2,...").
struct CriterionCase {
    const char* criterion;
    const char* ids;
};

// An expression evaluated on the row of One, and its display text
// ("Null" for Null, dates of date type as the grid shows them, "#n" for
// Access error n).
struct ValueCase {
    const char* expression;
    const char* value;
};

inline void PrintTo(const CriterionCase& c, std::ostream* os) {
    *os << c.criterion;
}
inline void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.expression;
}

class CriterionTest : public ::testing::TestWithParam<CriterionCase> {
protected:
    void check() { EXPECT_EQ(db.ids(GetParam().criterion), GetParam().ids); }
    SqlTestDatabase db;
};

class ValueTest : public ::testing::TestWithParam<ValueCase> {
protected:
    void check() { EXPECT_EQ(db.evalOrError(GetParam().expression), GetParam().value); }
    SqlTestDatabase db;
};

} // namespace quarix::test
