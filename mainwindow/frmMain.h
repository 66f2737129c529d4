#pragma once

#include "engine/reader/AccessFileReader.h"
#include "history/LastSearches.h"
#include "history/RecentFiles.h"
#include "history/SavedSearches.h"
#include "history/SearchWindowPort.h"
#include "mainwindow/MainMenus.h"
#include "mainwindow/Twips.h"
#include "search/GridSort.h"
#include "search/SearchState.h"
#include "session/JobEnd.h"
#include "session/SearchSession.h"
#include "session/Task.h"
#include "settings/ColourValue.h"
#include "settings/SettingsEnvironment.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <utility>
#include <vector>

class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class StepProgressBar;
class QPushButton;
class QShortcut;
class QTimer;
class ResultGridView;
class TypedTextKeys;
class frmSettings;
struct MenuEffect;
struct SearchLogEntry;
namespace quarix::history {
class frmAutoLoad;
}
namespace quarix::search {
class ResultGridModel;
struct SearchCriteria;
} // namespace quarix::search
namespace quarix::session {
class DatabaseWorker;
}

// The main window: binds the controls to the session below it (the open
// database, the search's memory, the database jobs) and to the search,
// catalogue and settings logic.
//
// Database work runs on the session's worker. The window's sequences are
// coroutines (session/Task.h): they take their arguments by value and
// continue when a job's report comes, with the event loop running in
// between; whatever would change the database, the window or the settings
// first stops the work that runs (stopDatabaseWork).
class frmMain : public QMainWindow {
    Q_OBJECT
    using Task = quarix::session::Task<>;

public:
    // A window with the process environment and no command line.
    explicit frmMain(QWidget* parent = nullptr);
    // A window that finds its settings through environment and applies the
    // command-line arguments (without the program's name). settingsBefore
    // are the values the program held before this window: a reload carries
    // over those that loading only ever switches on.
    frmMain(SettingsEnvironment environment, QStringList arguments,
            SettingsValues settingsBefore = {}, QWidget* parent = nullptr);
    ~frmMain() override;

    // Shared state, read and written by the dialogs and features.
    SettingsValues settings;

private:
    quarix::session::SearchSession session_;

public:
    // The session's state under the names the window's features use.
    QString& CurrentDatabasePath = session_.databasePath; // "**": close at the next activation
    bool& PagedMode = session_.pagedMode;
    quarix::search::SearchState& searchState = session_.state;
    QString ValueOnEntry; // the value box's text when it got the focus

    const quarix::session::SearchSession& session() const { return session_; }
    quarix::session::DatabaseWorker& worker() const { return *worker_; }
    // No database job runs, waits or is about to report.
    bool databaseIdle() const;

    // Opens a database as start-up does (command line, AutoLoad).
    Task openDatabaseAtStart(QString path);

    // Search
    Task cmdQuarix_Click();
    Task cmdFilter_Click();
    Task cmdClear_Click();
    Task cmdPage_Click(int index);
    // Enter in a criteria box: the search runs now, or as soon as the list
    // that loads has come.
    void requestSearch();
    // askAgain: ask for the parameters of a query (a new search, a replay);
    // a page change or a re-sort runs with the answers of the results on screen.
    Task RunSearch(bool askAgain = true);
    void Reset_Grid();
    void mnuautofit_Click();
    void mnuEvenwidth_Click();
    // SQL mode and Debug SQL
    void mnuSQLmode_Click();
    void mnudebug_Click();
    void cmdClearSQL_Click();
    void SQL_Click(int index);
    void cmbValues_Click();
    // Catalogue
    Task mnuopen_Click();
    Task openDroppedFiles(QStringList paths);
    void UpdateTableQuery();
    // False when the opening stops here: the user cancelled, or another
    // job runs; a failure has shown its message and the opening goes on.
    quarix::session::Task<bool> Load_cmbTable(QString dbname);
    Task Load_Fields();
    Task Load_ValueList();
    Task cmbTableQuery_Click();
    Task cmbTable_LostFocus();
    Task CmbField_GotFocus();
    Task CmbField_LostFocus();
    Task cmbValues_GotFocus();
    void cmbValues_LostFocus();
    void mnuValuePickList_Click();
    // Lifecycle
    void Form_Activate();
    void Form_Resize();
    void Timer1_Timer();
    void mnuexit_Click();

    // History: recent databases, the last ten searches, saved searches, AutoLoad.
    void AddLastSearch();
    void ClearLastSearches();
    void UpdateRecentFiles();
    void SortSaved();
    Task mnuRecentFile_Click(int index);
    Task mnulast_Click(int index);
    Task mnusavedsearch_Click(int index);
    Task mnuautoload_Click();
    // Tools: export, the object viewer, Access hand-over, programs, help.
    void LoadProgramsMenu();
    Task mnuExcel_Click();
    void mnuObject_Click();
    void mnuprograms_Click();
    void mnuabout_Click();
    // Mouse wheel: scrolls the grid while the window has the focus.
    void Form_GotFocus();
    void Form_LostFocus();

    // Settings file, command line, Preferences dialog and search log.
    SettingsEnvironment env;
    SettingsLocation location;
    QStringList commandLineArguments;
    bool RecentShown = true;
    QString CmdLineDatabase;
    void SaveSettings();
    void runCommandLine();
    Task mnusettings_Click();
    void Form_Unload();
    void WriteSearchLog(const SearchLogEntry& entry);
    SettingsWindowPort settingsPort();
    qint32 gridColourValue(GridColour which) const;

    ResultGridView* grid() const { return MSFlexGrid1; }
    quarix::search::ResultGridModel* gridModel() const { return gridModel_; }
    const MainMenus& menus() const { return menus_; }

    // Result grid: sorting by a header click, the pop-up menu, the wheel.
    Task MSFlexGrid1_HeaderClick(int column);
    void MSFlexGrid1_MouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void connectGrid();       // once, while the window is built
    Task sortThroughEngine(); // a result too big to sort in memory, in SortClause order
    // The attachment list of a grid cell; nothing for a cell of another column.
    Task showAttachments(int row, int column);
    QString gridTable_;             // the table or saved query the grid's rows were read from
    QList<int> gridComplexColumns_; // the grid's columns that may hold attachments
    quarix::search::SortDirection sortDirection = quarix::search::SortDirection::Never;
    long rowsSortedInMemory = 50000; // a bigger non-paged result is sorted by the engine

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction and layout
    void buildControls();
    void connectControls();
    void Form_Load();
    Twips twipsScale() const;
    void layOutControls();
    void keepWithinScreen();
    void placeCalendar();
    // Search helpers
    quarix::search::SearchCriteria currentCriteria() const;
    bool PopulateFlexGrid(long resultCount, const QStringList& headers,
                          const std::vector<QStringList>& rows);
    void failSearch(int number, const QString& description, const QString& table);
    void hidePaging();
    // The grid was emptied: caption and status bar no longer speak of it.
    void showNoResults();
    void abandonRun(); // a cancelled run: empty grid, no criterion on screen
    // Asks for each parameter of a source in turn, again after a value its
    // type refuses, and keeps the answers in the session. False when the
    // user cancelled.
    quarix::session::Task<bool> askParameters(QString source);
    void showDebugSql(const QString& table, const QString& seconds);
    QString orderPart() const;
    void setSearchControlsEnabled(bool enabled);
    // The status bar shows a filter that found nothing and still narrows
    // the next search; its button drops it.
    void showArmedFilter();
    void dropArmedFilter();
    // A control that lost the focus because a job disabled it gets it back.
    QPointer<QWidget> refocusAfterJob_;
    QPointer<QWidget> focusDuringJob_;
    bool restoringFocus_ = false;
    bool searchWhenIdle_ = false; // Enter was pressed while a list loaded
    void sizeColumns();
    // Each column's header and width, to put back after the grid is refilled.
    using ColumnWidths = std::vector<std::pair<QString, int>>;
    ColumnWidths columnWidths() const;
    // False, changing nothing, unless the grid has the same columns.
    bool restoreColumnWidths(const ColumnWidths& widths);
    bool keepColumnWidths_ = false; // the next run is a page turn or a re-sort
    void showSortIndicator();       // the arrow on the header SortClause names
    using JobReport = quarix::session::JobReport;
    using Job = std::function<void(const quarix::engine::ReadOptions&)>;
    // Runs a job under its own caption (none: the caption stays) and puts
    // the caption and the status bar right however it ends. Callers check
    // that no other job runs.
    quarix::session::Task<JobReport> databaseJob(QString runningCaption, Job job);
    // Cancels the database work that runs and waits until it has stopped.
    Task stopDatabaseWork();
    // A job runs, or one was just cancelled: no new read starts now.
    bool busy() const;
    void workerStateChanged(bool idle);
    void showReadProgress(int percent);
    Task finishOpening(QString path);
    // The user cancelled a password prompt: no database is open.
    void abandonOpening();

    MainMenus menus_;
    Twips twips_;
    quarix::session::DatabaseWorker* worker_ = nullptr;
    QString jobCaption_; // the caption of the window's job that runs, for its progress
    bool closeAfterJob_ = false;
    bool fieldListWanted_ = false; // the field box's arrow was clicked before its list came
    // Set by a cancel until the window's event loop runs again: the rest of
    // the action that was cancelled (open, then list fields, then search)
    // starts no further reads.
    bool cancelledAction_ = false;
    int tickCount_ = 0;

    // Controls, named as the window's features refer to them.
    QWidget* fraDataMain = nullptr;
    QWidget* clockFrame = nullptr;
    QLabel* calstart = nullptr;
    QCalendarWidget* calender = nullptr;
    QLabel* lblTime = nullptr;
    QLabel* lblDate = nullptr;
    QLabel* lblDay = nullptr;
    QLabel* lblFROMTHE = nullptr;
    QComboBox* cmbTableQuery = nullptr;
    QComboBox* cmbTable = nullptr;
    QLabel* lblFIND = nullptr;
    QComboBox* CmbField = nullptr;
    QComboBox* cmbFunction = nullptr;
    QComboBox* cmbValues = nullptr;
    QPushButton* cmdQuarix = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdFilter = nullptr;
    std::array<QPushButton*, 2> cmdPage{};
    QLabel* lblSQL = nullptr;
    QLabel* lblDebug = nullptr;
    StepProgressBar* progBar1 = nullptr;
    QLabel* lblStatus = nullptr;   // the status bar's summary of the last run
    QLabel* lblDatabase = nullptr; // the status bar's database path
    QLabel* lblFilterArmed = nullptr;
    QPushButton* cmdDropFilter = nullptr;
    QPushButton* cmdClearSQL = nullptr;
    QLineEdit* txtSearch = nullptr;
    ResultGridView* MSFlexGrid1 = nullptr;
    quarix::search::ResultGridModel* gridModel_ = nullptr;
    QTimer* Timer1 = nullptr;
    QShortcut* cancelShortcut_ = nullptr;
    TypedTextKeys* typedTextKeys_ = nullptr;

    // Settings wiring.
    void buildSettingsControls();
    void applyGridColour(GridColour which, qint32 value);
    void applyMenuEffects(const QList<MenuEffect>& effects);
    int windowStateNumber() const;
    void applyWindowStateNumber(int state);
    Task settingsAccepted(bool reloadMainWindow);
    Task queueReload();
    QPointer<frmSettings> settingsDialog_;

    // History wiring.
    quarix::history::SearchWindowPort historyPort();
    void connectHistoryMenus();
    void loadSavedSearches();
    quarix::history::RecentFilesMenu recentFiles_;
    quarix::history::LastSearchesMenu lastSearches_;
    quarix::history::SavedSearchesMenu savedSearches_;
    QPointer<quarix::history::frmAutoLoad> autoLoadDialog_;

    // Tools wiring.
    void connectToolsMenus();
    QLabel* lblMultiUser = nullptr;
    // The grid colours as settings numbers: system colours until changed.
    std::array<qint32, 3> gridColours_{kSystemAppWorkspace, kSystemWindowBackground,
                                       kSystemWindowText};
    bool settingsChanged_ = false; // the Preferences dialog stored new values
    bool reloadQueued_ = false;
    bool activatedOnce_ = false;
    bool returningFromForm_ = false; // one of the program's forms was active since
};
