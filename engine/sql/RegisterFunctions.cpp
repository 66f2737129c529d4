#include "engine/sql/Translator.h"
#include "engine/sql/functions/Registration.h"

namespace quarix::engine::sql {

void registerAccessFunctions(sqlite3* db) {
    fn::registerCoreFunctions(db);
    fn::registerNumberFunctions(db);
    fn::registerTextFunctions(db);
    fn::registerCharacterCodes(db);
    fn::registerDateFunctions(db);
    fn::registerFormatFunction(db);
    fn::registerFinancialFunctions(db);
    fn::registerAggregateFunctions(db);
}

} // namespace quarix::engine::sql
