#pragma once

#include "tools/XlsxExport.h"

#include <QString>

#include <atomic>
#include <memory>

class QAbstractItemModel;
class QWidget;

namespace quarix::tools {

// What the main window holds when "Export Results to Excel" is chosen.
struct ExportRequest {
    QString databasePath;                     // CurrentDatabasePath
    QString table;                            // cmbTable text: the table or query searched
    QString field;                            // CmbField text: the default sort field
    QString currentWhere;                     // criterion of the results on screen
    QString sortClause;                       // ORDER BY from a header click, may be empty
    bool pagedMode = false;                   // the grid holds one page only
    const QAbstractItemModel* grid = nullptr; // the result grid (used when not paged)
    QString workbookPath;                     // where the workbook is written
};

struct ExportOutcome {
    enum class Kind {
        Nothing,     // no search run: nothing to export
        Opened,      // written and handed to the spreadsheet application
        WrittenOnly, // written; no spreadsheet application to open it
        Cancelled,
        Failed,
    };
    Kind kind = Kind::Nothing;
    QString path;    // the workbook written
    QString message; // what the user is told (empty for Nothing, Opened, Cancelled)
    long rows = 0;
    int sheets = 0;
};

// Where the Save As dialog starts: the user's documents folder, else home.
QString defaultExportFolder();
// The file it proposes there: the table's name as a file name, ".xlsx".
QString suggestedWorkbookPath(const QString& table, const QString& folder);

// The rows to export: read again from the database in paged mode (the paged
// search's own statement for .accdb files, the table filtered by the
// criterion for .mdb files), else the grid's rows. Engine failures throw.
std::unique_ptr<ExportRows> exportSource(const ExportRequest& request);

// The whole command without a window: nothing when no search has run;
// otherwise writes the workbook at the request's path and opens it with the
// desktop's spreadsheet application. Reads the grid, so it runs on the GUI thread
// when not paged.
ExportOutcome FlexGrid_To_Excel(const ExportRequest& request, const ExportProgress& progress = {},
                                const std::atomic<bool>* cancel = nullptr,
                                long dataRowsPerSheet = kMaxDataRowsPerSheet);

// The menu command: asks where to save the workbook (cancel exports
// nothing), runs the export under a progress dialog with Cancel, the
// hourglass on, and shows the outcome's message.
void exportResultsToExcel(QWidget* parent, ExportRequest request);

} // namespace quarix::tools
