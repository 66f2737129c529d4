#pragma once

#include <string>

namespace quarix::engine {

// An ODBC connect string with the value of every PWD key blanked
// ("DSN=Sales;UID=me;PWD=;"), so that it can be shown and kept.
std::string withoutPassword(const std::string& connect);

} // namespace quarix::engine
