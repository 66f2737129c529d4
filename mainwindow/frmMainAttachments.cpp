// The attachment list of a result cell: the files of the one table row the
// grid row was read from.
#include "engine/AccessDatabase.h"
#include "mainwindow/AttachmentListDialog.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "search/ResultGridModel.h"

#include <algorithm>

namespace {

enum class Column { Attachments, Other, NotATable };

// Whether a column of a source holds attachments, as far as the catalogue
// tells: a table's Complex column (multi-value ones fail with 3000 later).
Column kindOf(const quarix::engine::AccessDatabase& db, const QString& table, const QString& column,
              const quarix::engine::ReadOptions& options) {
    const auto& tables = db.catalogue().tables;
    const bool isTable = std::any_of(tables.begin(), tables.end(), [&](const auto& info) {
        return QString::fromStdString(info.name).compare(table, Qt::CaseInsensitive) == 0;
    });
    if (!isTable)
        return Column::NotATable;
    for (const auto& field : db.columns(table.toStdString(), options))
        if (QString::fromStdString(field.name).compare(column, Qt::CaseInsensitive) == 0)
            return field.type == quarix::engine::ColumnType::Complex ? Column::Attachments
                                                                     : Column::Other;
    return Column::Other;
}

} // namespace

frmMain::Task frmMain::showAttachments(int row, int column) {
    const long position = gridModel_->tablePosition(row);
    if (busy() || position <= 0 || column < 0 || column >= gridModel_->Cols())
        co_return;
    const QString table = gridTable_;
    const QString field = gridModel_->TextMatrix(0, column);
    const quarix::session::DatabaseHandle database = session_.database();
    Column kind = Column::Other;
    std::vector<quarix::engine::AttachmentFile> files;
    const JobReport report =
        co_await databaseJob(QString(), [&](const quarix::engine::ReadOptions& options) {
            const auto db = database.open();
            kind = kindOf(*db, table, field, options);
            if (kind != Column::Attachments)
                return;
            db->attachments(
                table.toStdString(), field.toStdString(), std::string(),
                [&](const quarix::engine::AttachmentFile& file) {
                    if (file.row == position)
                        files.push_back(file);
                },
                options);
        });
    if (report.end == quarix::session::JobEnd::Failed) {
        quarix::platform::MessageBox::show(
            this, QStringLiteral("The attachments could not be read.\n\n") + report.description,
            QStringLiteral("Quarix - Attachments"), quarix::platform::MessageBox::Icon::Warning);
        co_return;
    }
    if (report.end != quarix::session::JobEnd::Done || kind != Column::Attachments)
        co_return;
    const QString title =
        QStringLiteral("Quarix - %1 (%2 %3)")
            .arg(field)
            .arg(files.size())
            .arg(files.size() == 1 ? QStringLiteral("file") : QStringLiteral("files"));
    auto* dialog = new AttachmentListDialog(this, title, std::move(files));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}
