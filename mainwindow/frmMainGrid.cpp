// The result grid's own commands: sorting by a header click, column sizing,
// the Office Tools pop-up and the wheel.
#include "mainwindow/ResultGridView.h"
#include "mainwindow/StepProgressBar.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "search/ColumnWidths.h"
#include "search/Criteria.h"
#include "search/GridSort.h"
#include "search/ResultGridModel.h"
#include "search/RunMessages.h"
#include "session/Awaiting.h"
#include "session/DatabaseWorker.h"
#include "session/ResultRows.h"
#include "session/SearchRun.h"

#include <QComboBox>
#include <QHeaderView>
#include <QMenu>

#include <algorithm>

namespace search = quarix::search;

namespace {
// Auto-fit reads at most this many rows at each end: enough to judge a
// column, and a million-row result is not read just to size its columns.
constexpr long kRowsMeasured = 2000;
constexpr double kDefaultGridFontSize = 8.0;
} // namespace

void frmMain::connectGrid() {
    connect(MSFlexGrid1, &ResultGridView::headerClicked, this, &frmMain::MSFlexGrid1_HeaderClick);
    connect(MSFlexGrid1, &ResultGridView::popupMenuRequested, this,
            [this](const QPoint& at) { MSFlexGrid1_MouseDown(Qt::RightButton, at); });
    connect(MSFlexGrid1, &ResultGridView::cellOpened, this,
            [this](const QModelIndex& cell) { showAttachments(cell.row(), cell.column()); });
}

frmMain::Task frmMain::MSFlexGrid1_HeaderClick(int column) {
    if (!worker_->idle() || column < 0 || column >= gridModel_->Cols())
        co_return;
    const search::HeaderSort sort = search::decideHeaderSort(
        {gridModel_->TextMatrix(0, column), sortDirection, !CurrentDatabasePath.isEmpty(),
         PagedMode, settings.maxResultsWhole()});
    searchState.SortClause = sort.sortClause;
    sortDirection = sort.direction;
    if (sort.sortGrid) {
        progBar1->setValue(80);
        if (!gridModel_->sortByColumn(column, sort.ascending, rowsSortedInMemory) && !sort.rerun)
            co_await sortThroughEngine();
        progBar1->setValue(100);
        showSortIndicator();
    }
    if (sort.rerun) {
        searchState.SearchMode = search::SearchState::Rerun;
        keepColumnWidths_ = true;
        co_await RunSearch(false);
    }
}

frmMain::Task frmMain::sortThroughEngine() {
    quarix::session::SearchRequest request;
    request.table = cmbTable->currentText();
    request.field = CmbField->currentText();
    request.criterion = searchState.CurrentWhere;
    request.sortClause = searchState.SortClause;
    if (session_.answeredSource == request.table)
        request.answers = session_.parameterAnswers;
    const quarix::session::DatabaseHandle database = session_.database();
    std::shared_ptr<quarix::engine::ResultSet> sorted;
    const JobReport report = co_await quarix::session::runJob(
        *worker_, this, [&](const quarix::engine::ReadOptions& options) {
            sorted = quarix::session::runSearch(*database.open(), request, options).result;
        });
    if (report.end == quarix::session::JobEnd::Failed) {
        // The rows on screen stay as they were.
        quarix::platform::MessageBox::show(
            this, search::searchFailureMessage(report.number, report.description),
            QStringLiteral("Quarix - Search Error"), quarix::platform::MessageBox::Icon::Warning);
        co_return;
    }
    if (report.end != quarix::session::JobEnd::Done)
        co_return;
    // A new source resets the header: keep the widths the user sees.
    const ColumnWidths widths = columnWidths();
    gridComplexColumns_ = quarix::session::complexColumns(*sorted);
    gridModel_->setSource(quarix::session::resultRows(std::move(sorted)));
    gridTable_ = request.table;
    restoreColumnWidths(widths);
}

void frmMain::showSortIndicator() {
    QStringList headers;
    for (int c = 0; c < gridModel_->Cols(); ++c)
        headers << gridModel_->TextMatrix(0, c);
    const auto indicator = search::sortIndicatorFor(searchState.SortClause, headers);
    QHeaderView* header = MSFlexGrid1->horizontalHeader();
    header->setSortIndicatorShown(indicator.has_value());
    if (indicator)
        header->setSortIndicator(indicator->column,
                                 indicator->ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void frmMain::MSFlexGrid1_MouseDown(Qt::MouseButton button, const QPoint& globalPos) {
    if (button != Qt::RightButton)
        return;
    // Copy, then the Office Tools unless the command line hid them.
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("gridPopup"));
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->addAction(MSFlexGrid1->copyAction());
    const QModelIndex cell =
        MSFlexGrid1->indexAt(MSFlexGrid1->viewport()->mapFromGlobal(globalPos));
    if (cell.isValid() && gridComplexColumns_.contains(cell.column()) &&
        gridModel_->tablePosition(cell.row()) > 0) {
        QAction* attachments = popup->addAction(QStringLiteral("Attachments..."));
        attachments->setObjectName(QStringLiteral("mnuAttachments"));
        connect(attachments, &QAction::triggered, this,
                [this, row = cell.row(), column = cell.column()] { showAttachments(row, column); });
    }
    if (menus_.mnuOfficelinks->menuAction()->isVisible()) {
        popup->addSeparator();
        popup->addActions(menus_.mnuOfficelinks->actions());
    }
    popup->popup(globalPos);
}

void frmMain::sizeColumns() {
    if (settings.autoFitGridNumber() == 1)
        mnuautofit_Click();
    else
        mnuEvenwidth_Click();
}

void frmMain::mnuautofit_Click() {
    const QFontMetrics metrics(font());
    const double size =
        settings.gridFontSizeNumber() > 0 ? settings.gridFontSizeNumber() : kDefaultGridFontSize;
    // A long memo would make a column many screens wide: one grid width is the most.
    const int widest = std::max(MSFlexGrid1->viewport()->width(), 1);
    for (int c = 0; c < gridModel_->Cols(); ++c) {
        const QString longest = search::widestSampledText(*gridModel_, c, kRowsMeasured);
        const int width = search::autoFitColumnWidth(metrics.horizontalAdvance(longest), size);
        // The header keeps room for its text beside the sort arrow.
        const int header = MSFlexGrid1->headerWidthWithArrow(c);
        MSFlexGrid1->setColumnWidth(c, std::min(std::max(width, header), widest));
    }
    settings.AutoFitGrid = QStringLiteral("1");
    menus_.mnuautofit->setChecked(true);
    menus_.mnuEvenwidth->setChecked(false);
}

void frmMain::mnuEvenwidth_Click() {
    const int cols = gridModel_->Cols();
    if (cols > 0) {
        const int twips = search::evenColumnWidth(twips_.twips(MSFlexGrid1->width()), cols);
        // Narrower than this a column cannot show its header at all.
        const int width = std::max(twips_.px(twips), twips_.px(300));
        for (int c = 0; c < cols; ++c)
            MSFlexGrid1->setColumnWidth(c, width);
    }
    settings.AutoFitGrid = QStringLiteral("0");
    menus_.mnuautofit->setChecked(false);
    menus_.mnuEvenwidth->setChecked(true);
}

void frmMain::Form_GotFocus() {
    MSFlexGrid1->setWheelScrollEnabled(true);
}

void frmMain::Form_LostFocus() {
    MSFlexGrid1->setWheelScrollEnabled(false);
}
