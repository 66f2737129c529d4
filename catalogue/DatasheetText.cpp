#include "catalogue/DatasheetText.h"

#include "engine/sql/AccessText.h"

namespace quarix::catalogue {

QString datasheetText(const Field& field) {
    if (field.IsNull())
        return {};
    const engine::ColumnType type = field.Type();
    const bool computedNumber =
        type == engine::ColumnType::Unknown && field.Value().typeId() == QMetaType::Double;
    if (type == engine::ColumnType::Single)
        return QString::fromStdString(engine::sql::formatSingle(field.Value().toDouble()));
    if (type == engine::ColumnType::Double || computedNumber)
        return QString::fromStdString(engine::sql::formatNumber(field.Value().toDouble()));
    return field.Text();
}

} // namespace quarix::catalogue
