#pragma once

#include "session/WorkbookExport.h"

#include <QString>

#include <optional>

class QWidget;

namespace quarix::tools {

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

// Asks where to save the workbook; nothing when the user cancels. A
// workbook left in a temporary folder could be lost: the user chooses.
std::optional<QString> askWorkbookPath(QWidget* parent, const QString& table);

// What a written workbook leads to: opened with the desktop's spreadsheet
// application, or a message saying where it is or why it is not there.
ExportOutcome finishExport(const session::WorkbookResult& written, const QString& path);

// The whole export without a window: nothing when no search has run;
// otherwise reads the rows, writes the workbook and opens it.
ExportOutcome FlexGrid_To_Excel(const session::ExportChoice& choice, const QString& workbookPath,
                                long dataRowsPerSheet = session::kMaxDataRowsPerSheet);

// The outcome's message, when it has one.
void showExportOutcome(QWidget* parent, const ExportOutcome& outcome);

} // namespace quarix::tools
