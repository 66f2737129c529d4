#include "catalogue/DatasheetText.h"

#include "engine/sql/AccessText.h"

#include <cstdio>
#include <cstdlib>

namespace quarix::catalogue {

namespace {

// A Single holds about seven significant digits; its widened double's
// further digits are noise the datasheet does not show.
double singlePrecision(double value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.7G", value);
    return std::strtod(digits, nullptr);
}

} // namespace

QString datasheetText(const Field& field) {
    if (field.IsNull())
        return {};
    const engine::ColumnType type = field.Type();
    const bool computedNumber =
        type == engine::ColumnType::Unknown && field.Value().typeId() == QMetaType::Double;
    if (type == engine::ColumnType::Single)
        return QString::fromStdString(
            engine::sql::formatNumber(singlePrecision(field.Value().toDouble())));
    if (type == engine::ColumnType::Double || computedNumber)
        return QString::fromStdString(engine::sql::formatNumber(field.Value().toDouble()));
    return field.Text();
}

} // namespace quarix::catalogue
