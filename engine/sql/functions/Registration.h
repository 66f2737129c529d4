#pragma once

struct sqlite3;

// Each group of Access functions registers itself on a connection.
namespace quarix::engine::sql::fn {

void registerCoreFunctions(sqlite3* db);
void registerNumberFunctions(sqlite3* db);
void registerTextFunctions(sqlite3* db);
void registerCharacterCodes(sqlite3* db);
void registerDateFunctions(sqlite3* db);
void registerFormatFunction(sqlite3* db);
void registerFinancialFunctions(sqlite3* db);
void registerAggregateFunctions(sqlite3* db);

} // namespace quarix::engine::sql::fn
