#include "tools/ExcelExport.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "search/Criteria.h"
#include "tools/Launcher.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace quarix::tools {

namespace {

bool isAccdb(const QString& path) { return path.toUpper().endsWith(QStringLiteral("ACCDB")); }

QString safeFileStem(const QString& table) {
    QString stem = table.trimmed();
    for (QChar& c : stem) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.isSpace() || c.category() == QChar::Other_Control)
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

QString exportFilePath(const QString& table, const QDateTime& when) {
    const QString base = QDir(QDir::tempPath()).filePath(
        safeFileStem(table) + QLatin1Char('_') + when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = base + QStringLiteral(".xlsx");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral("-%1.xlsx").arg(n);
    return path;
}

std::unique_ptr<ExportRows> exportSource(const ExportRequest& request) {
    if (!request.pagedMode) {
        const QStringList headers = GridExportRows(*request.grid, {}).headers();
        return std::make_unique<GridExportRows>(*request.grid,
                                                columnTypesFor(request.databasePath, request.table, headers));
    }
    using namespace catalogue;
    Database db = DBEngine::instance().Workspaces(0).OpenDatabase(request.databasePath, false);
    if (isAccdb(request.databasePath)) {
        Recordset rs = db.OpenRecordset(search::BuildSearchStatement(request.table, request.currentWhere,
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
    outcome.path = exportFilePath(request.table, QDateTime::currentDateTime());
    WorkbookResult written;
    try {
        const std::unique_ptr<ExportRows> rows = exportSource(request);
        written = writeWorkbook(*rows, {outcome.path, request.table, dataRowsPerSheet}, progress, cancel);
    } catch (const engine::EngineError& e) {
        written.error = QStringLiteral("%1 %2").arg(e.number()).arg(QString::fromStdString(e.description()));
    }
    outcome.rows = written.rowsWritten;
    outcome.sheets = static_cast<int>(written.sheetNames.size());
    if (written.cancelled) {
        outcome.kind = ExportOutcome::Kind::Cancelled;
        return outcome;
    }
    if (!written.ok) {
        outcome.kind = ExportOutcome::Kind::Failed;
        outcome.message = QStringLiteral("The results cannot be exported to a workbook.\n") + written.error;
        return outcome;
    }
    if (!Launcher::defaultApplicationFor(outcome.path).isEmpty() && platform::Shell::open(outcome.path)) {
        outcome.kind = ExportOutcome::Kind::Opened;
        return outcome;
    }
    outcome.kind = ExportOutcome::Kind::WrittenOnly;
    outcome.message = QStringLiteral("No spreadsheet application is installed to open the results.\n"
                                     "The workbook is saved as:\n") +
                      outcome.path;
    return outcome;
}

void exportResultsToExcel(QWidget* parent, const ExportRequest& request) {
    if (request.currentWhere.isEmpty())
        return;
    const WaitCursor hourglass;
    QProgressDialog dialog(QStringLiteral("Exporting the results..."), QStringLiteral("Cancel"), 0, 1000, parent);
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
                                   outcome.kind == ExportOutcome::Kind::Failed ? platform::MessageBox::Icon::Warning
                                                                               : platform::MessageBox::Icon::Information);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

} // namespace quarix::tools
