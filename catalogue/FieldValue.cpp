#include "catalogue/FieldValue.h"

#include <cmath>

namespace quarix::catalogue {

using engine::ColumnType;
using Kind = engine::StoredValue::Kind;

QDateTime dateTimeFromSerial(double serial) {
    const double days = std::trunc(serial);
    const double fraction = std::fabs(serial - days);
    auto msecs = static_cast<qint64>(std::llround(fraction * 86400000.0));
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days) + msecs / 86400000);
    // A clock reading without a zone: as UTC it is kept as it stands, where
    // local time would shift one that falls in a daylight-saving gap (and
    // look up the zone for every value).
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs % 86400000)),
                     Qt::UTC);
}

QVariant fieldValue(ColumnType type, const engine::OwnedValue& value) {
    using engine::CellKind;
    using engine::TypeClass;
    const engine::ColumnTypeTraits& traits = engine::traitsOf(type);
    switch (value.kind) {
    case Kind::Null:
        return {};
    case Kind::Integer:
        if (traits.cell == CellKind::Boolean)
            return value.integer != 0;
        if (traits.typeClass == TypeClass::Currency)
            return static_cast<double>(value.integer) / 10000.0;
        return static_cast<qlonglong>(value.integer);
    case Kind::Real:
        if (traits.cell == CellKind::Date)
            return dateTimeFromSerial(value.real);
        return value.real;
    case Kind::Text:
        if (traits.typeClass == TypeClass::Decimal)
            return QString::fromStdString(value.bytes).toDouble();
        return QString::fromStdString(value.bytes);
    case Kind::Blob:
        return QByteArray(value.bytes.data(), static_cast<qsizetype>(value.bytes.size()));
    }
    return {};
}

} // namespace quarix::catalogue
