// The search button, filters, paging and the run itself.
#include "mainwindow/ResultGridView.h"
#include "mainwindow/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "search/Paging.h"
#include "search/ResultGridModel.h"
#include "search/RunMessages.h"
#include "search/RunPlan.h"
#include "search/SearchStart.h"
#include "search/Statements.h"
#include "search/StatusCaption.h"
#include "session/DatabaseWorker.h"
#include "session/ResultRows.h"
#include "session/SearchRun.h"
#include "settings/SearchLog.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

using quarix::platform::MessageBox;
namespace search = quarix::search;

namespace {
const QString kSearchErrorTitle = QStringLiteral("Quarix - Search Error");
}

search::SearchCriteria frmMain::currentCriteria() const {
    return {CurrentDatabasePath, cmbTable->currentText(), CmbField->currentText(),
            cmbFunction->currentText(), cmbValues->currentText()};
}

frmMain::Task frmMain::cmdQuarix_Click() {
    searchState.CurrentPage = 0;
    const auto refusal = search::refuseToStart(
        {CurrentDatabasePath, cmbTable->currentText(), CmbField->currentText(),
         settings.SQLMode && !txtSearch->text().isEmpty(), searchState.SearchMode});
    if (refusal) {
        MessageBox::show(this, refusal->message, refusal->title,
                         refusal->warning ? MessageBox::Icon::Warning : MessageBox::Icon::None);
        co_return;
    }
    progBar1->setValue(0);
    co_await RunSearch();
    AddLastSearch();
}

frmMain::Task frmMain::cmdFilter_Click() {
    searchState.SearchMode = search::SearchState::Filter;
    co_await cmdQuarix_Click();
}

frmMain::Task frmMain::cmdClear_Click() {
    searchState.SearchMode = search::SearchState::UndoFilter;
    txtSearch->clear();
    co_await cmdQuarix_Click();
}

frmMain::Task frmMain::cmdPage_Click(int index) {
    const search::Paging paging{searchState.ResultCount, settings.maxResultsWhole()};
    const long page = searchState.page();
    searchState.CurrentPage = index == 0 ? paging.previous(page) : paging.next(page);
    co_await RunSearch();
}

QString frmMain::orderPart() const {
    if (!PagedMode)
        return {};
    const QString order = searchState.SortClause.isEmpty()
                              ? search::DefaultSortClause(CmbField->currentText())
                              : searchState.SortClause;
    return QStringLiteral(" ORDER BY ") + order;
}

frmMain::Task frmMain::RunSearch() {
    if (!worker_->idle())
        co_return;
    if (cancelledAction_) {
        abandonRun(); // the user stopped what led here
        co_return;
    }
    QElapsedTimer clock;
    clock.start();
    gridModel_->clearResults();
    progBar1->setValue(20);
    progBar1->setValue(30);

    const bool typed =
        !txtSearch->text().isEmpty() && (settings.SQLMode || searchState.ReplayPending);
    const QString table = cmbTable->currentText();
    const QString field = CmbField->currentText();
    const int pageSize = settings.maxResultsWhole();
    const quarix::session::PlannedRun run = quarix::session::planSearch(
        searchState, {currentCriteria(), txtSearch->text(), settings.SQLMode}, PagedMode, pageSize);
    if (run.built.refusal) {
        hidePaging(); // the grid is empty: there is no page to turn
        MessageBox::show(this, run.built.refusal->message, run.built.refusal->title,
                         MessageBox::Icon::Warning);
        co_return;
    }
    if (run.built.failure) {
        failSearch(run.built.failure->number, run.built.failure->description, table);
        co_return;
    }
    progBar1->setValue(typed ? 40 : 35);
    progBar1->setValue(50);
    setWindowTitle(QStringLiteral("Quarix - QUERYING..."));

    const QString criterion = run.request.criterion;
    const QString path = CurrentDatabasePath;
    const bool paged = run.request.paged;
    const quarix::session::DatabaseHandle database = session_.database();
    quarix::session::SearchResults found;
    QStringList headers;
    std::vector<QStringList> rows;
    const JobReport report =
        co_await databaseJob(QString(), [&](const quarix::engine::ReadOptions& options) {
            found = quarix::session::runSearch(*database.open(), run.request, options);
            if (paged && found.pageRows > 0) {
                headers = quarix::session::columnNames(*found.result);
                rows =
                    quarix::session::displayRows(*found.result, found.firstIndex, found.pageRows);
            }
        });
    if (report.end == quarix::session::JobEnd::Failed) {
        failSearch(report.number, report.description, table);
        co_return;
    }
    if (report.end == quarix::session::JobEnd::Cancelled) {
        abandonRun();
        co_return;
    }
    search::recordSuccess(searchState, criterion, found.resultCount);
    // What makes the next search of these columns fast is built while the
    // window waits for the user; the next job stops it.
    worker_->submitBackground([database](const quarix::engine::ReadOptions& options) {
        database.open()->buildIndexes(options);
    });
    QStringList incomplete;
    for (const std::string& warning : found.result->warnings())
        incomplete << QString::fromStdString(warning);
    progBar1->setValue(60);
    setWindowTitle(QStringLiteral("Quarix - DISPLAYING..."));
    if (paged)
        PopulateFlexGrid(found.resultCount, headers, rows);
    else
        gridModel_->setSource(quarix::session::resultRows(found.result));

    progBar1->setValue(70);
    MSFlexGrid1->setFontSize(settings.gridFontSizeNumber());
    sizeColumns();
    progBar1->setValue(90);
    const QString seconds = search::secondsText(clock.elapsed() / 1000.0);

    quarix::platform::Clipboard::setText(search::DisplaySql(table, searchState.CurrentWhere));
    if (settings.DebugSQL)
        showDebugSql(table, seconds);
    progBar1->setValue(100);
    if (settings.SQLMode)
        txtSearch->setFocus();

    const long shown = gridModel_->Rows() - 1;
    const search::StatusInputs status{table,
                                      shown,
                                      seconds,
                                      searchState.ResultCount,
                                      searchState.page(),
                                      pageSize,
                                      PagedMode,
                                      searchState.SearchMode,
                                      QFileInfo(path).fileName()};
    if (incomplete.isEmpty()) {
        setWindowTitle(search::statusCaption(status));
        lblStatus->setText(search::statusSummary(status));
    } else {
        setWindowTitle(search::incompleteCaption(search::statusCaption(status)));
        lblStatus->setText(search::incompleteSummary(search::statusSummary(status), incomplete));
    }
    showSortIndicator();
    search::recordRowsShown(searchState, shown);

    WriteSearchLog(SearchLogEntry{path, table, field, searchState.CurrentWhere + orderPart(),
                                  PagedMode ? searchState.ResultCount : shown, seconds, PagedMode,
                                  pageSize, searchState.page()});
}

bool frmMain::PopulateFlexGrid(long resultCount, const QStringList& headers,
                               const std::vector<QStringList>& rows) {
    const search::Paging paging{resultCount, settings.maxResultsWhole()};
    if (!searchState.CurrentPage)
        searchState.CurrentPage = 0;
    const long page = searchState.page();
    cmdPage[0]->setVisible(paging.hasPrevious(page));
    cmdPage[0]->setText(search::previousPageCaption(page));
    cmdPage[1]->setVisible(paging.hasNext(page));
    cmdPage[1]->setText(search::nextPageCaption(page));
    if (!rows.empty())
        gridModel_->setRows(headers, rows);
    return true;
}

void frmMain::abandonRun() {
    gridModel_->clearResults();
    lblStatus->clear();
    hidePaging();
    searchState.ReplayPending = false;
    search::recordFailure(searchState); // nothing of the run is on screen
}

void frmMain::hidePaging() {
    for (QPushButton* b : cmdPage)
        b->setVisible(false);
}

void frmMain::failSearch(int number, const QString& description, const QString& table) {
    hidePaging();
    lblStatus->setText(
        search::searchFailureCaption(number, description).mid(QStringLiteral("Quarix - ").size()));
    MessageBox::show(this, search::searchFailureMessage(number, description), kSearchErrorTitle,
                     MessageBox::Icon::Warning);
    setWindowTitle(search::searchFailureCaption(number, description));
    if (settings.DebugSQL)
        showDebugSql(table, search::secondsText(0));
    search::recordFailure(searchState);
}

void frmMain::showDebugSql(const QString& table, const QString& seconds) {
    MessageBox::show(this,
                     search::debugSqlMessage(search::DisplaySql(table, searchState.CurrentWhere),
                                             orderPart(), searchState.ResultCount, seconds),
                     QStringLiteral("Quarix Debug SQL"), MessageBox::Icon::Information);
}

void frmMain::setSearchControlsEnabled(bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(cmbValues), static_cast<QWidget*>(cmdQuarix),
                       static_cast<QWidget*>(cmdFilter), static_cast<QWidget*>(cmdClear),
                       static_cast<QWidget*>(cmdPage[0]), static_cast<QWidget*>(cmdPage[1])})
        w->setEnabled(enabled);
    for (QMenu* m : {menus_.mnulast10, menus_.mnuOfficelinks, menus_.mnuSavedSearches})
        m->menuAction()->setEnabled(enabled);
    menus_.mnuopen->setEnabled(enabled);
}

void frmMain::Reset_Grid() {
    gridModel_->resetGrid();
    lblStatus->clear();
    MSFlexGrid1->viewport()->update();
    txtSearch->clear();
}
