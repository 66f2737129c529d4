#include "tools/RecordsetViewer.h"

#include "catalogue/Dao.h"
#include "search/ResultGridModel.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace quarix::tools {

namespace {

// Every row of one record set, for the grid model; owns the connection.
class ViewerRows : public search::RowSource {
public:
    ViewerRows(catalogue::Database db, catalogue::Recordset rs) : db_(std::move(db)), rs_(std::move(rs)) {
        for (int c = 0; c < rs_.FieldCount(); ++c)
            headers_ << rs_.FieldName(c);
        count_ = rs_.RecordCount();
    }
    ~ViewerRows() override {
        rs_.Close();
        db_.Close();
    }
    QStringList headers() const override { return headers_; }
    long rowCount() const override { return count_; }
    std::vector<QStringList> rows(long first, long count) override {
        std::vector<QStringList> out;
        try {
            rs_.setAbsolutePosition(first);
            for (long i = 0; i < count && !rs_.EOF_(); ++i) {
                QStringList cells;
                for (int c = 0; c < rs_.FieldCount(); ++c)
                    cells << rs_.Fields(c).Text();
                out.push_back(std::move(cells));
                rs_.MoveNext();
            }
        } catch (const engine::EngineError&) {
            // Rows the engine cannot give show as empty cells.
        }
        return out;
    }

private:
    catalogue::Database db_;
    catalogue::Recordset rs_;
    QStringList headers_;
    long count_ = 0;
};

} // namespace

RecordsetViewer::RecordsetViewer(const QString& databasePath, const QString& source, const QString& querySql,
                                 QWidget* parent)
    : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("RecordsetViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    catalogue::Database db = catalogue::DBEngine::instance().Workspaces(0).OpenDatabase(databasePath, false);
    catalogue::Recordset rs = db.OpenRecordset(source, catalogue::dbOpenSnapshot);
    model_ = new search::ResultGridModel(this);
    auto rows = std::make_unique<ViewerRows>(std::move(db), std::move(rs));
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
    statusBar()->showMessage(count == 1 ? QStringLiteral("1 record") : QStringLiteral("%L1 records").arg(count));
    setWindowTitle(source + QStringLiteral(" - ") + QFileInfo(databasePath).fileName());
    resize(800, 480);
}

RecordsetViewer::~RecordsetViewer() = default;

} // namespace quarix::tools
