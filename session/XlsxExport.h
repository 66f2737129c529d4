#pragma once

#include "session/ExportRows.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace quarix::session {

// A spreadsheet sheet holds 1,048,576 rows: one header and this many data rows.
constexpr long kMaxDataRowsPerSheet = 1048575;

struct WorkbookOptions {
    QString path;      // the .xlsx file to write
    QString sheetName; // the first sheet's name; the default when not allowed
    long dataRowsPerSheet = kMaxDataRowsPerSheet;
};

struct WorkbookResult {
    bool ok = false;
    bool cancelled = false;
    QString error;          // why the workbook could not be written
    long rowsWritten = 0;   // data rows, header rows not counted
    QStringList sheetNames; // as written
    QStringList warnings;   // what the rows lack: damaged tables read in part
};

// Rows written so far and rows expected.
using ExportProgress = std::function<void(long done, long expected)>;

// Writes the rows as a typed workbook in constant memory: one header row per
// sheet (styled, with filter buttons, frozen), numbers as numbers, dates as
// dates, Yes/No as booleans, text exactly as it is, Null as an empty cell,
// columns fitted to their contents. Rows beyond one sheet continue on the
// next. A cancelled or failed export leaves no file behind.
WorkbookResult writeWorkbook(ExportRows& rows, const WorkbookOptions& options,
                             const ExportProgress& progress = {},
                             const std::atomic<bool>* cancel = nullptr);

} // namespace quarix::session
