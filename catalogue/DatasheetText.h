#pragma once

#include "catalogue/Dao.h"

#include <QString>

namespace quarix::catalogue {

// A field's value as Access's datasheet shows it: Double and Single in
// general number form (7, 0.2, 1.5, 1E+20; Single to its seven digits),
// whole numbers plainly, Currency with its decimals, Decimal without the
// zeros of its scale, everything else as the engine writes it. The value
// list offers the same texts, so that a picked number compares as Access
// turns that number into text.
QString datasheetText(const Field& field);

} // namespace quarix::catalogue
