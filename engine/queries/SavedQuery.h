#pragma once

#include "engine/reader/Catalogue.h"

#include <string>
#include <vector>

namespace quarix::engine {

// A saved query with the Access SQL rebuilt from its definition rows.
struct SavedQuery {
    std::string name;
    QueryKind kind = QueryKind::Unknown;
    std::string sql;                     // empty when the rows make no sense
    std::vector<std::string> parameters; // declared parameter names, without brackets
    std::string error;                   // why sql is empty; empty on success
};

} // namespace quarix::engine
