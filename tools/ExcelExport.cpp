#include "tools/ExcelExport.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "search/Criteria.h"
#include "tools/Launcher.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>

namespace quarix::tools {

namespace {

bool isAccdb(const QString& path) {
    return path.toUpper().endsWith(QStringLiteral("ACCDB"));
}

QString safeFileStem(const QString& table) {
    QString stem = table.trimmed();
    for (QChar& c : stem) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.isSpace() ||
            c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return stem.isEmpty() ? QStringLiteral("Results") : stem.left(100);
}

// The hourglass for as long as the export runs, on every way out.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

QString defaultExportFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString suggestedWorkbookPath(const QString& table, const QString& folder) {
    return QDir(folder).filePath(safeFileStem(table) + QStringLiteral(".xlsx"));
}

std::unique_ptr<ExportRows> exportSource(const ExportRequest& request) {
    if (!request.pagedMode) {
        const QStringList headers = GridExportRows(*request.grid, {}).headers();
        return std::make_unique<GridExportRows>(
            *request.grid, columnTypesFor(request.databasePath, request.table, headers));
    }
    using namespace catalogue;
    Database db = DBEngine::instance().Workspaces(0).OpenDatabase(request.databasePath, false);
    if (isAccdb(request.databasePath)) {
        Recordset rs =
            db.OpenRecordset(search::BuildSearchStatement(request.table, request.currentWhere,
                                                          request.sortClause, request.field),
                             dbOpenSnapshot);
        return std::make_unique<RecordsetExportRows>(std::move(db), std::move(rs));
    }
    Recordset all = db.OpenRecordset(request.table, dbOpenSnapshot);
    all.Filter = request.currentWhere;
    Recordset filtered = all.OpenRecordset();
    all.Close();
    return std::make_unique<RecordsetExportRows>(std::move(db), std::move(filtered));
}

ExportOutcome FlexGrid_To_Excel(const ExportRequest& request, const ExportProgress& progress,
                                const std::atomic<bool>* cancel, long dataRowsPerSheet) {
    ExportOutcome outcome;
    if (request.currentWhere.isEmpty() || (!request.pagedMode && !request.grid))
        return outcome;
    outcome.path = request.workbookPath;
    WorkbookResult written;
    try {
        const std::unique_ptr<ExportRows> rows = exportSource(request);
        written =
            writeWorkbook(*rows, {outcome.path, request.table, dataRowsPerSheet}, progress, cancel);
    } catch (const engine::EngineError& e) {
        written.error =
            QStringLiteral("%1 %2").arg(e.number()).arg(QString::fromStdString(e.description()));
    }
    outcome.rows = written.rowsWritten;
    outcome.sheets = static_cast<int>(written.sheetNames.size());
    if (written.cancelled) {
        outcome.kind = ExportOutcome::Kind::Cancelled;
        return outcome;
    }
    if (!written.ok) {
        outcome.kind = ExportOutcome::Kind::Failed;
        outcome.message =
            QStringLiteral("The results cannot be exported to a workbook.\n") + written.error;
        return outcome;
    }
    if (!Launcher::defaultApplicationFor(outcome.path).isEmpty() &&
        platform::Shell::open(outcome.path)) {
        outcome.kind = ExportOutcome::Kind::Opened;
        return outcome;
    }
    outcome.kind = ExportOutcome::Kind::WrittenOnly;
    outcome.message =
        QStringLiteral("No spreadsheet application is installed to open the results.\n"
                       "The workbook is saved as:\n") +
        outcome.path;
    return outcome;
}

void exportResultsToExcel(QWidget* parent, ExportRequest request) {
    if (request.currentWhere.isEmpty())
        return;
    // A workbook left in a temporary folder can be lost: the user chooses where it goes.
    const auto chosen = platform::FileDialog::saveFileName(
        parent, QStringLiteral("Export Results to Excel"),
        QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx"),
        suggestedWorkbookPath(request.table, defaultExportFolder()));
    if (!chosen)
        return;
    request.workbookPath =
        QFileInfo(*chosen).suffix().isEmpty() ? *chosen + QStringLiteral(".xlsx") : *chosen;
    const WaitCursor hourglass;
    QProgressDialog dialog(QStringLiteral("Exporting the results..."), QStringLiteral("Cancel"), 0,
                           1000, parent);
    dialog.setWindowTitle(QStringLiteral("Quarix"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    std::atomic<bool> cancel{false};
    const auto progress = [&](long done, long expected) {
        if (expected > 0)
            dialog.setValue(static_cast<int>(std::min(1000L, done * 1000 / expected)));
        dialog.setLabelText(QStringLiteral("Exporting the results... %L1 rows").arg(done));
        QApplication::processEvents();
        if (dialog.wasCanceled())
            cancel = true;
    };
    const ExportOutcome outcome = FlexGrid_To_Excel(request, progress, &cancel);
    dialog.reset();
    if (!outcome.message.isEmpty()) {
        QApplication::restoreOverrideCursor();
        platform::MessageBox::show(parent, outcome.message, QStringLiteral("Quarix"),
                                   outcome.kind == ExportOutcome::Kind::Failed
                                       ? platform::MessageBox::Icon::Warning
                                       : platform::MessageBox::Icon::Information);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

} // namespace quarix::tools
