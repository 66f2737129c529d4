#pragma once

#include <QString>

namespace quarix::session {

// Whether a spreadsheet accepts the text as a worksheet name: 1 to 31
// characters, none of : \ / ? * [ ], no apostrophe at either end, and not
// the reserved name "History".
bool isValidSheetName(const QString& name);

// The name of the sheet that continues a result past one sheet's rows:
// "Customers (2)", shortened to fit; empty (the spreadsheet's own default)
// when the first sheet had no name of its own.
QString continuationSheetName(const QString& firstName, int sheetNumber);

} // namespace quarix::session
