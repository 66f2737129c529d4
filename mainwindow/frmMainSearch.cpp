// The search button, filters, paging and the run itself.
#include "mainwindow/ResultGridView.h"
#include "mainwindow/StepProgressBar.h"
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

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <utility>

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
        showArmedFilter();
        co_return;
    }
    progBar1->setValue(0);
    co_await RunSearch();
    AddLastSearch();
    showArmedFilter();
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
    keepColumnWidths_ = true;
    co_await RunSearch(false);
    showArmedFilter();
}

QString frmMain::orderPart() const {
    if (!PagedMode)
        return {};
    const QString order = searchState.SortClause.isEmpty()
                              ? search::DefaultSortClause(CmbField->currentText())
                              : searchState.SortClause;
    return QStringLiteral(" ORDER BY ") + order;
}

frmMain::Task frmMain::RunSearch(bool askAgain) {
    if (!worker_->idle())
        co_return;
    if (cancelledAction_) {
        abandonRun(); // the user stopped what led here
        co_return;
    }
    // A filter narrows the results on screen: it keeps their answers.
    const QString source = cmbTable->currentText();
    const bool narrowing = searchState.SearchMode == search::SearchState::Filter ||
                           searchState.SearchMode == search::SearchState::UndoFilter;
    if (askAgain && !(narrowing && session_.answeredSource == source)) {
        const bool answered = co_await askParameters(source);
        if (!answered) {
            abandonRun(); // cancelled: no error, nothing of the run on screen
            co_return;
        }
    }
    QElapsedTimer clock;
    clock.start();
    // A page turn or a re-sort keeps the columns where the user sees them.
    const ColumnWidths kept =
        std::exchange(keepColumnWidths_, false) ? columnWidths() : ColumnWidths{};
    gridModel_->clearResults();
    progBar1->setValue(20);
    progBar1->setValue(30);

    const bool typed =
        !txtSearch->text().isEmpty() && (settings.SQLMode || searchState.ReplayPending);
    const QString table = cmbTable->currentText();
    const QString field = CmbField->currentText();
    const int pageSize = settings.maxResultsWhole();
    quarix::session::PlannedRun run = quarix::session::planSearch(
        searchState, {currentCriteria(), txtSearch->text(), settings.SQLMode}, PagedMode, pageSize);
    if (session_.answeredSource == table)
        run.request.answers = session_.parameterAnswers;
    if (run.built.refusal) {
        showNoResults();
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
    gridTable_ = run.request.table;
    gridComplexColumns_ = quarix::session::complexColumns(*found.result);

    progBar1->setValue(70);
    MSFlexGrid1->setFontSize(settings.gridFontSizeNumber());
    if (!restoreColumnWidths(kept))
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
    showArmedFilter();

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

frmMain::ColumnWidths frmMain::columnWidths() const {
    ColumnWidths widths;
    for (int c = 0; c < gridModel_->Cols(); ++c)
        widths.push_back({gridModel_->TextMatrix(0, c), MSFlexGrid1->columnWidth(c)});
    return widths;
}

bool frmMain::restoreColumnWidths(const ColumnWidths& widths) {
    if (widths.empty() || static_cast<int>(widths.size()) != gridModel_->Cols())
        return false;
    for (int c = 0; c < gridModel_->Cols(); ++c)
        if (widths[static_cast<std::size_t>(c)].first != gridModel_->TextMatrix(0, c))
            return false;
    for (int c = 0; c < gridModel_->Cols(); ++c)
        MSFlexGrid1->setColumnWidth(c, widths[static_cast<std::size_t>(c)].second);
    return true;
}

void frmMain::abandonRun() {
    gridModel_->clearResults();
    lblStatus->clear();
    hidePaging();
    searchState.ReplayPending = false;
    search::recordFailure(searchState); // nothing of the run is on screen
    showArmedFilter();
}

void frmMain::showNoResults() {
    hidePaging(); // the grid is empty: there is no page to turn
    lblStatus->clear();
    setWindowTitle(CurrentDatabasePath.isEmpty() ? QStringLiteral("Quarix")
                                                 : search::databaseCaption(CurrentDatabasePath));
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
    showArmedFilter();
}

void frmMain::showArmedFilter() {
    const bool armed = searchState.SearchMode == search::SearchState::Filter &&
                       !searchState.CurrentWhere.trimmed().isEmpty();
    const QString text = QStringLiteral("The next search narrows: ") + searchState.CurrentWhere;
    lblFilterArmed->setText(
        armed ? lblFilterArmed->fontMetrics().elidedText(text, Qt::ElideMiddle, twips_.px(5000))
              : QString());
    lblFilterArmed->setToolTip(armed ? text : QString());
    lblFilterArmed->setVisible(armed);
    cmdDropFilter->setVisible(armed);
}

void frmMain::dropArmedFilter() {
    searchState.SearchMode = search::SearchState::NewSearch;
    showArmedFilter();
}

void frmMain::showDebugSql(const QString& table, const QString& seconds) {
    MessageBox::show(this,
                     search::debugSqlMessage(search::DisplaySql(table, searchState.CurrentWhere),
                                             orderPart(), searchState.ResultCount, seconds),
                     QStringLiteral("Quarix Debug SQL"), MessageBox::Icon::Information);
}

void frmMain::requestSearch() {
    if (cmdQuarix->isEnabled())
        cmdQuarix->click();
    else
        searchWhenIdle_ = true;
}

void frmMain::setSearchControlsEnabled(bool enabled) {
    // The value box stays open for typing; its Enter waits for the job.
    const QWidget* focused = QApplication::focusWidget();
    for (QPushButton* b : {cmdQuarix, cmdFilter, cmdClear, cmdPage[0], cmdPage[1]}) {
        if (!enabled && b == focused)
            refocusAfterJob_ = b;
        b->setEnabled(enabled);
    }
    for (QMenu* m : {menus_.mnulast10, menus_.mnuOfficelinks, menus_.mnuSavedSearches})
        m->menuAction()->setEnabled(enabled);
    menus_.mnuopen->setEnabled(enabled);
    if (!enabled) {
        focusDuringJob_ = QApplication::focusWidget();
        return;
    }
    // Back where it was, unless the user has put it elsewhere meanwhile.
    if (refocusAfterJob_ && refocusAfterJob_->isVisible() &&
        QApplication::focusWidget() == focusDuringJob_) {
        restoringFocus_ = true;
        refocusAfterJob_->setFocus(Qt::OtherFocusReason);
        restoringFocus_ = false;
    }
    refocusAfterJob_ = nullptr;
    focusDuringJob_ = nullptr;
}

void frmMain::Reset_Grid() {
    gridModel_->resetGrid();
    lblStatus->clear();
    MSFlexGrid1->viewport()->update();
    txtSearch->clear();
}
