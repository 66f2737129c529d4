#include "session/ExportRows.h"

#include "catalogue/FieldValue.h"
#include "session/ResultRows.h"

namespace quarix::session {

ResultExportRows::ResultExportRows(std::shared_ptr<engine::ResultSet> result)
    : result_(std::move(result)) {}

QStringList ResultExportRows::headers() const {
    return columnNames(*result_);
}

long ResultExportRows::rowCount() const {
    return static_cast<long>(result_->rowCount());
}

bool ResultExportRows::next(std::vector<QVariant>& values) {
    if (row_ >= result_->rowCount())
        return false;
    const auto& row = result_->row(row_++);
    const auto& columns = result_->columns();
    values.resize(row.size());
    for (std::size_t c = 0; c < row.size(); ++c)
        values[c] = catalogue::fieldValue(
            c < columns.size() ? columns[c].type : engine::ColumnType::Unknown, row[c]);
    return true;
}

} // namespace quarix::session
