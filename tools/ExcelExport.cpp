#include "tools/ExcelExport.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "session/DatabaseHandle.h"
#include "tools/Launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quarix::tools {

namespace {

QString safeFileStem(const QString& table) {
    QString stem = table.trimmed();
    for (QChar& c : stem) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.isSpace() ||
            c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return stem.isEmpty() ? QStringLiteral("Results") : stem.left(100);
}

} // namespace

QString defaultExportFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString suggestedWorkbookPath(const QString& table, const QString& folder) {
    return QDir(folder).filePath(safeFileStem(table) + QStringLiteral(".xlsx"));
}

std::optional<QString> askWorkbookPath(QWidget* parent, const QString& table) {
    const auto chosen =
        platform::FileDialog::saveFileName(parent, QStringLiteral("Export Results to Excel"),
                                           QStringLiteral("Excel Workbook (*.xlsx)|*.xlsx"),
                                           suggestedWorkbookPath(table, defaultExportFolder()));
    if (!chosen)
        return std::nullopt;
    return QFileInfo(*chosen).suffix().isEmpty() ? *chosen + QStringLiteral(".xlsx") : *chosen;
}

ExportOutcome finishExport(const session::WorkbookResult& written, const QString& path) {
    ExportOutcome outcome;
    outcome.path = path;
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
    if (!written.warnings.isEmpty()) {
        // The user must know the workbook lacks records before it opens.
        outcome.kind = ExportOutcome::Kind::WrittenOnly;
        outcome.message = QStringLiteral("The workbook is saved as:\n") + path +
                          QStringLiteral("\n\nIt is incomplete: ") +
                          written.warnings.join(QLatin1Char(' '));
        return outcome;
    }
    if (!Launcher::defaultApplicationFor(path).isEmpty() && platform::Shell::open(path)) {
        outcome.kind = ExportOutcome::Kind::Opened;
        return outcome;
    }
    outcome.kind = ExportOutcome::Kind::WrittenOnly;
    outcome.message =
        QStringLiteral("No spreadsheet application is installed to open the results.\n"
                       "The workbook is saved as:\n") +
        path;
    return outcome;
}

ExportOutcome FlexGrid_To_Excel(const session::ExportChoice& choice, const QString& workbookPath,
                                long dataRowsPerSheet) {
    if (choice.currentWhere.isEmpty())
        return {};
    session::WorkbookResult written;
    try {
        const auto db = session::DatabaseHandle(choice.databasePath).open();
        written = session::exportWorkbook(*db, session::exportRequest(choice),
                                          {workbookPath, choice.table, dataRowsPerSheet}, {});
    } catch (const engine::EngineError& e) {
        written.error =
            QStringLiteral("%1 %2").arg(e.number()).arg(QString::fromStdString(e.description()));
    }
    return finishExport(written, workbookPath);
}

void showExportOutcome(QWidget* parent, const ExportOutcome& outcome) {
    if (outcome.message.isEmpty())
        return;
    platform::MessageBox::show(parent, outcome.message, QStringLiteral("Quarix"),
                               outcome.kind == ExportOutcome::Kind::Failed
                                   ? platform::MessageBox::Icon::Warning
                                   : platform::MessageBox::Icon::Information);
}

} // namespace quarix::tools
