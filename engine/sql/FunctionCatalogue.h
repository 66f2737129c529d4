#pragma once

#include "engine/ColumnType.h"

#include <string_view>

namespace quarix::engine::sql {

// The Access functions that translate to one call of a registered SQLite
// function. Argument kinds, one letter per argument (the last repeats):
//   v  the plain value (numbers, serial dates, text as it is)
//   t  the text a user would see
//   a  the plain value followed by its static type code (for Format, IsDate)
struct FunctionInfo {
    const char* name;    // Access name, lower case
    const char* sqlName; // registered SQLite function
    int minArgs;
    int maxArgs;
    const char* argKinds;
    enum class Result { Fixed, SameAsFirst } result;
    ColumnType type; // Fixed: the result type
    bool optionalFirst =
        false; // argKinds include a first argument that may be left out (InStr's start)
};

// nullptr when Access has no such function (as a plain call).
const FunctionInfo* findFunction(std::string_view lowerName);

// Whether the name is of an aggregate function (Count, Sum, ..., VarP).
bool isAggregateFunction(std::string_view lowerName);

// Int or Fix: a number's whole part.
inline bool isWholePartFunction(std::string_view lowerName) {
    return lowerName == "int" || lowerName == "fix";
}

// Whether the function also has a text form (Left$ for Left): the same
// call, whose result is a String and for which a Null is an error.
bool hasTextForm(std::string_view lowerName);

} // namespace quarix::engine::sql
