#include "tools/ExportRows.h"

#include <QAbstractItemModel>
#include <QDateTime>

namespace quarix::tools {

using engine::ColumnType;

RecordsetExportRows::RecordsetExportRows(catalogue::Database db, catalogue::Recordset rs)
    : db_(std::move(db)), rs_(std::move(rs)) {}

RecordsetExportRows::~RecordsetExportRows() {
    rs_.Close();
    db_.Close();
}

QStringList RecordsetExportRows::headers() const {
    QStringList names;
    for (int c = 0; c < rs_.FieldCount(); ++c)
        names << rs_.FieldName(c);
    return names;
}

long RecordsetExportRows::rowCount() const {
    return rs_.RecordCount();
}

bool RecordsetExportRows::next(std::vector<QVariant>& values) {
    if (rs_.EOF_())
        return false;
    values.resize(static_cast<std::size_t>(rs_.FieldCount()));
    for (int c = 0; c < rs_.FieldCount(); ++c)
        values[static_cast<std::size_t>(c)] = rs_.Fields(c).Value();
    rs_.MoveNext();
    return true;
}

GridExportRows::GridExportRows(const QAbstractItemModel& model, std::vector<ColumnType> columnTypes)
    : model_(model), types_(std::move(columnTypes)) {}

QStringList GridExportRows::headers() const {
    QStringList names;
    for (int c = 0; c < model_.columnCount(); ++c)
        names << model_.headerData(c, Qt::Horizontal).toString();
    return names;
}

long GridExportRows::rowCount() const {
    return model_.rowCount();
}

bool GridExportRows::next(std::vector<QVariant>& values) {
    if (row_ >= model_.rowCount())
        return false;
    const int columns = model_.columnCount();
    values.resize(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        const QString text = model_.data(model_.index(row_, c)).toString();
        const auto index = static_cast<std::size_t>(c);
        values[index] =
            typedFromDisplayText(index < types_.size() ? types_[index] : ColumnType::Text, text);
    }
    ++row_;
    return true;
}

QVariant typedFromDisplayText(ColumnType type, const QString& text) {
    bool ok = false;
    switch (type) {
    case ColumnType::Boolean:
        if (text == QStringLiteral("True"))
            return true;
        if (text == QStringLiteral("False"))
            return false;
        break;
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::BigInt: {
        const qlonglong whole = text.toLongLong(&ok);
        if (ok)
            return whole;
        break;
    }
    case ColumnType::Currency:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::Decimal: {
        const double number = text.toDouble(&ok);
        if (ok)
            return number;
        break;
    }
    case ColumnType::DateTime: {
        const QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (when.isValid())
            return when;
        break;
    }
    default:
        return text;
    }
    return text.isEmpty() ? QVariant() : QVariant(text);
}

std::vector<ColumnType> columnTypesFor(const QString& databasePath, const QString& source,
                                       const QStringList& headers) {
    std::vector<ColumnType> types(static_cast<std::size_t>(headers.size()), ColumnType::Text);
    try {
        catalogue::Database db =
            catalogue::DBEngine::instance().Workspaces(0).OpenDatabase(databasePath, false);
        catalogue::Recordset rs = db.OpenRecordset(source, catalogue::dbOpenSnapshot);
        for (int c = 0; c < rs.FieldCount(); ++c) {
            const qsizetype at = headers.indexOf(rs.FieldName(c));
            if (at >= 0)
                types[static_cast<std::size_t>(at)] = rs.FieldType(c);
        }
        rs.Close();
        db.Close();
    } catch (const engine::EngineError&) {
        // Unknown types: every cell goes out as the text on screen.
    }
    return types;
}

} // namespace quarix::tools
