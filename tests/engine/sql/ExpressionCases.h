#pragma once

#include "SqlTestDatabase.h"

#include <ostream>

namespace quarix::test {

// An expression evaluated on the row of One, and its display text
// ("Null" for Null, dates of date type as the grid shows them, "#n" for
// Access error n).
struct V {
    const char* expression;
    const char* value;
};

// A criterion on Customers and the CustomerIDs it matches ("1,2,...").
struct C {
    const char* criterion;
    const char* ids;
};

inline void PrintTo(const V& c, std::ostream* os) {
    *os << c.expression;
}
inline void PrintTo(const C& c, std::ostream* os) {
    *os << c.criterion;
}

class Expressions : public ::testing::TestWithParam<V> {
protected:
    SqlTestDatabase db;
};

} // namespace quarix::test
