#pragma once

#include "engine/ColumnType.h"
#include "engine/cache/ResultSet.h"

#include <QDateTime>
#include <QVariant>

namespace quarix::catalogue {

// The date and time of an Access date serial (days since 1899-12-30; for
// negative values the fraction is still the time of day).
QDateTime dateTimeFromSerial(double serial);

// A value of the cache as a typed QVariant: Null is an invalid variant.
QVariant fieldValue(engine::ColumnType type, const engine::OwnedValue& value);

} // namespace quarix::catalogue
