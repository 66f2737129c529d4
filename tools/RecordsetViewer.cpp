#include "tools/RecordsetViewer.h"

#include "search/ResultGridModel.h"
#include "session/ResultRows.h"
#include "settings/WindowPlacement.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScreen>
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

void RecordsetViewer::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!placed_) {
        placed_ = true;
        placeOverParent();
    }
}

// Centred over the window that opened it, and inside that screen's free
// area however far off the opener stands.
void RecordsetViewer::placeOverParent() {
    const QWidget* opener = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* shownOn = opener ? opener->screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    const QRect room = shownOn->availableGeometry();
    // The frame round the window, as far as the window system tells it.
    const QSize frame = frameGeometry().size() - size();
    QRect wanted(QPoint(0, 0), size() + frame);
    wanted.moveCenter(opener ? opener->frameGeometry().center() : room.center());
    const QRect placed =
        placementOnScreens(wanted.x(), wanted.y(), wanted.width(), wanted.height(), {room});
    resize(placed.size() - frame);
    move(placed.topLeft());
}

RecordsetViewer::~RecordsetViewer() = default;

} // namespace quarix::tools
