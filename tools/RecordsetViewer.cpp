#include "tools/RecordsetViewer.h"

#include "catalogue/Dao.h"
#include "catalogue/SearchQuery.h"
#include "search/ResultGridModel.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace quarix::tools {

RecordsetViewer::RecordsetViewer(const QString& databasePath, const QString& source,
                                 const QString& querySql, QWidget* parent)
    : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("RecordsetViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    catalogue::Database db =
        catalogue::DBEngine::instance().Workspaces(0).OpenDatabase(databasePath, false);
    catalogue::Recordset rs = db.OpenRecordset(source, catalogue::dbOpenSnapshot);
    model_ = new search::ResultGridModel(this);
    auto rows = catalogue::recordsetRows(std::move(db), std::move(rs));
    const long count = rows->rowCount();
    model_->setSource(std::move(rows));

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setAlternatingRowColors(true);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->resizeColumnsToContents();
    if (querySql.isEmpty()) {
        setCentralWidget(grid_);
    } else {
        auto* sql = new QPlainTextEdit(querySql);
        sql->setObjectName(QStringLiteral("txtQuerySql"));
        sql->setReadOnly(true);
        sql->setMaximumHeight(sql->fontMetrics().lineSpacing() * 4 + 12);
        auto* central = new QWidget(this);
        auto* layout = new QVBoxLayout(central);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(sql);
        layout->addWidget(grid_);
        setCentralWidget(central);
    }
    statusBar()->showMessage(count == 1 ? QStringLiteral("1 record")
                                        : QStringLiteral("%L1 records").arg(count));
    setWindowTitle(source + QStringLiteral(" - ") + QFileInfo(databasePath).fileName());
    resize(800, 480);
}

RecordsetViewer::~RecordsetViewer() = default;

} // namespace quarix::tools
