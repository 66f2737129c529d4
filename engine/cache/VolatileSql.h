#pragma once

#include <sqlite3.h>

#include <string>

namespace quarix::engine {

// True when a statement calls a function whose result may change from one
// call to the next (Now, Date, random numbers): its result must then be
// computed in one go and never served again.
bool callsVolatileFunction(sqlite3* db, const std::string& sql);

} // namespace quarix::engine
