#include "engine/ColumnType.h"

namespace quarix::engine {

std::string columnTypeName(ColumnType type) {
    switch (type) {
    case ColumnType::Boolean:
        return "Yes/No";
    case ColumnType::Byte:
        return "Byte";
    case ColumnType::Integer:
        return "Integer";
    case ColumnType::Long:
        return "Long Integer";
    case ColumnType::Currency:
        return "Currency";
    case ColumnType::Single:
        return "Single";
    case ColumnType::Double:
        return "Double";
    case ColumnType::DateTime:
        return "Date/Time";
    case ColumnType::Binary:
        return "Binary";
    case ColumnType::Text:
        return "Text";
    case ColumnType::OLE:
        return "OLE Object";
    case ColumnType::Memo:
        return "Memo";
    case ColumnType::Guid:
        return "Replication ID";
    case ColumnType::Decimal:
        return "Decimal";
    case ColumnType::Complex:
        return "Attachment/Multi-value";
    case ColumnType::DateTimeExtended:
        return "Date/Time Extended";
    case ColumnType::BigInt:
        return "Large Number";
    case ColumnType::Unknown:
        break;
    }
    return "Unknown";
}

} // namespace quarix::engine
