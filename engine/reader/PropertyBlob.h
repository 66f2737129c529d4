#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quarix::engine {

// The properties Quarix needs from a column: a calculated column has an
// Expression and a ResultType (an Access data type code).
struct CalculatedColumnProperties {
    std::string expression;
    int resultType = 0;
};

// Parses an object's property blob (MSysObjects.LvProp, "MR2" format) and
// returns the calculated columns by column name. Bounded: a malformed blob
// gives what was read before the fault, never a loop.
std::map<std::string, CalculatedColumnProperties> parseCalculatedColumns(std::string_view blob);

} // namespace quarix::engine
