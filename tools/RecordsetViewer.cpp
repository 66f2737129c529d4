#include "tools/RecordsetViewer.h"

#include "search/ResultGridModel.h"
#include "session/ResultRows.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace quarix::tools {

RecordsetViewer::RecordsetViewer(std::shared_ptr<engine::ResultSet> rows,
                                 const QString& databasePath, const QString& source,
                                 const QString& querySql, QWidget* parent)
    : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("RecordsetViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    model_ = new search::ResultGridModel(this);
    auto shown = session::resultRows(std::move(rows));
    const long count = shown->rowCount();
    model_->setSource(std::move(shown));

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
