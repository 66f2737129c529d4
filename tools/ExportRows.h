#pragma once

#include "catalogue/Dao.h"
#include "engine/ColumnType.h"

#include <QStringList>
#include <QVariant>

#include <vector>

class QAbstractItemModel;

namespace quarix::tools {

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

// Every row of a record set, in its order. Owns the database and the record
// set, and closes both when destroyed.
class RecordsetExportRows : public ExportRows {
public:
    RecordsetExportRows(catalogue::Database db, catalogue::Recordset rs);
    ~RecordsetExportRows() override;
    QStringList headers() const override;
    long rowCount() const override;
    bool next(std::vector<QVariant>& values) override;

private:
    catalogue::Database db_;
    catalogue::Recordset rs_;
};

// The rows of a result grid's model as shown (header from the model's
// horizontal header, cells from the display text). A column whose database
// type is known turns its text back into the typed value the engine showed
// (numbers, dates, Yes/No); every other cell is written as its text.
class GridExportRows : public ExportRows {
public:
    GridExportRows(const QAbstractItemModel& model, std::vector<engine::ColumnType> columnTypes);
    QStringList headers() const override;
    long rowCount() const override;
    bool next(std::vector<QVariant>& values) override;

private:
    const QAbstractItemModel& model_;
    std::vector<engine::ColumnType> types_;
    int row_ = 0;
};

// The typed value behind a cell text the engine displayed for a column of
// that type: "" is Null for non-text columns; text that does not read as
// the type stays text.
QVariant typedFromDisplayText(engine::ColumnType type, const QString& text);

// The column types of a table or query by field name, in field order; all
// Text when the database cannot tell (the cells are then written as shown).
std::vector<engine::ColumnType> columnTypesFor(const QString& databasePath, const QString& source,
                                               const QStringList& headers);

} // namespace quarix::tools
