#pragma once

#include "engine/cache/ResultSet.h"

#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace quarix::session {

// The rows of one result as the export reads them: field names, then typed
// values row by row (an invalid QVariant is Null; numbers come as qlonglong
// or double, dates as QDateTime, Yes/No as bool, text as QString, binary as
// QByteArray).
class ExportRows {
public:
    virtual ~ExportRows() = default;
    virtual QStringList headers() const = 0;
    // The number of rows next() will give (for progress).
    virtual long rowCount() const = 0;
    // The values of the next row; false after the last row.
    virtual bool next(std::vector<QVariant>& values) = 0;
};

// Every row of a result, in its order.
class ResultExportRows : public ExportRows {
public:
    explicit ResultExportRows(std::shared_ptr<engine::ResultSet> result);
    QStringList headers() const override;
    long rowCount() const override;
    bool next(std::vector<QVariant>& values) override;

private:
    std::shared_ptr<engine::ResultSet> result_;
    std::int64_t row_ = 0;
};

} // namespace quarix::session
