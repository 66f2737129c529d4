#include "mainwindow/frmMain.h"

#include "engine/EngineError.h"
#include "history/AutoLoad.h"
#include "mainwindow/ResultGridView.h"
#include "mainwindow/StepProgressBar.h"
#include "search/ResultGridModel.h"
#include "search/StatusCaption.h"
#include "session/Awaiting.h"
#include "session/DatabaseWorker.h"
#include "settings/SettingsText.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>

namespace {

bool onArrow(const QComboBox* box, const QPoint& at) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = box->isEditable();
    return box->style()->hitTestComplexControl(QStyle::CC_ComboBox, &option, at, box) ==
           QStyle::SC_ComboBoxArrow;
}

} // namespace

frmMain::frmMain(QWidget* parent) : frmMain(SettingsEnvironment::system(), {}, {}, parent) {}

frmMain::frmMain(SettingsEnvironment environment, QStringList arguments,
                 SettingsValues settingsBefore, QWidget* parent)
    : QMainWindow(parent), settings(std::move(settingsBefore)), env(std::move(environment)),
      commandLineArguments(std::move(arguments)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quarix"));
    menus_ = buildMainMenus(this);
    buildControls();
    buildSettingsControls();
    worker_ = new quarix::session::DatabaseWorker(this);
    // The window shows what a damaged table still holds, and says so.
    worker_->setSalvage(true);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    cancelShortcut_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    cancelShortcut_->setEnabled(false);
    connectControls();
    twips_ = twipsScale();
    resize(twips_.px(13500), twips_.px(8200));
    keepWithinScreen();
    Form_Load();
}

frmMain::~frmMain() {
    // Whatever the window started finishes (as cancelled) while it is whole.
    worker_->shutdown();
    // The grid's rows may hold the database open; let them go first.
    MSFlexGrid1->setModel(nullptr);
    delete gridModel_;
}

void frmMain::connectControls() {
    connect(cmdQuarix, &QPushButton::clicked, this, &frmMain::cmdQuarix_Click);
    connect(cmdFilter, &QPushButton::clicked, this, &frmMain::cmdFilter_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cmdPage[0], &QPushButton::clicked, this, [this] { cmdPage_Click(0); });
    connect(cmdPage[1], &QPushButton::clicked, this, [this] { cmdPage_Click(1); });
    connect(cmdClearSQL, &QPushButton::clicked, this, &frmMain::cmdClearSQL_Click);
    connect(cmdDropFilter, &QPushButton::clicked, this, &frmMain::dropArmedFilter);
    connect(cmbTableQuery, &QComboBox::activated, this, &frmMain::cmbTableQuery_Click);
    connect(cmbValues, &QComboBox::activated, this, &frmMain::cmbValues_Click);
    for (QComboBox* box : {cmbTable, CmbField, cmbValues})
        box->installEventFilter(this);
    connect(calender, &QCalendarWidget::clicked, calender, &QWidget::hide);
    connect(MSFlexGrid1, &ResultGridView::filesDropped, this, &frmMain::openDroppedFiles);
    connectGrid();
    connectHistoryMenus();
    connectToolsMenus();
    connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    connect(menus_.mnuopen, &QAction::triggered, this, &frmMain::mnuopen_Click);
    connect(menus_.mnuexit, &QAction::triggered, this, &frmMain::mnuexit_Click);
    // The handlers decide the check marks themselves: undo the menu's own toggle first.
    const auto toggle = [this](QAction* item, void (frmMain::*handler)()) {
        connect(item, &QAction::triggered, this, [this, item, handler] {
            item->setChecked(!item->isChecked());
            (this->*handler)();
        });
    };
    toggle(menus_.mnuValuePickList, &frmMain::mnuValuePickList_Click);
    toggle(menus_.mnuSQLmode, &frmMain::mnuSQLmode_Click);
    toggle(menus_.mnudebug, &frmMain::mnudebug_Click);
    toggle(menus_.mnuautofit, &frmMain::mnuautofit_Click);
    toggle(menus_.mnuEvenwidth, &frmMain::mnuEvenwidth_Click);
    for (std::size_t i = 0; i < menus_.SQL.size(); ++i)
        if (menus_.SQL[i])
            connect(menus_.SQL[i], &QAction::triggered, this,
                    [this, i] { SQL_Click(static_cast<int>(i)); });

    using quarix::session::DatabaseWorker;
    connect(worker_, &DatabaseWorker::stateChanged, this, [this](DatabaseWorker::State state) {
        workerStateChanged(state == DatabaseWorker::State::Idle);
    });
    connect(worker_, &DatabaseWorker::progress, this, &frmMain::showReadProgress);
    connect(cancelShortcut_, &QShortcut::activated, worker_, &DatabaseWorker::cancel);
}

void frmMain::Form_Load() {
    settings.SaveData = true;
    Reset_Grid();
    Timer1->setInterval(1000);
    Timer1->start();
    progBar1->setValue(100);
    RecentShown = true;
    settings.ShowLast10 = true;
    settings.WindowState = QStringLiteral("0");
    settings.WriteLog = false;
    settings.ValueListMax = QStringLiteral("0");
    cmbFunction->setCurrentText(QStringLiteral("Contains"));
    Timer1_Timer();
    tickCount_ = 0;

    location = chooseSettingsLocation(env);
    LoadSettings(IniFile(location.settingsFilePath()), settings, settingsPort());
    LoadProgramsMenu();
    runCommandLine();

    applyWindowStateNumber(static_cast<int>(settings_text::leadingNumber(settings.WindowState)));
    cmdFilter->setVisible(settings.HideFilter != 1);
    cmdClear->setVisible(settings.HideFilter != 1);
    if (settings.SQLMode)
        mnuSQLmode_Click();
    if (settings.DebugSQL)
        mnudebug_Click();
    menus_.mnuValuePickList->setChecked(settings.ListValues);
    if (settings.autoFitGridNumber() == 1)
        menus_.mnuautofit->setChecked(true);
    else if (settings.AutoFitGrid.trimmed() == QStringLiteral("0"))
        menus_.mnuEvenwidth->setChecked(true);
    menus_.mnuautoload->setChecked(settings.UseDefault == QStringLiteral("1"));
    UpdateRecentFiles();
    // A database named on the command line wins over the AutoLoad default.
    if (const auto first = quarix::history::firstDatabase(CmdLineDatabase, settings))
        openDatabaseAtStart(*first);
}

frmMain::Task frmMain::openDatabaseAtStart(QString path) {
    CurrentDatabasePath = path;
    UpdateTableQuery();
    const bool opened = co_await Load_cmbTable(path);
    if (!opened)
        co_return;
    setWindowTitle(quarix::search::databaseCaption(path));
    co_await Load_Fields();
}

void frmMain::Form_Activate() {
    if (location.TermServMode) {
        lblMultiUser->setText(QStringLiteral("Multi User"));
        lblMultiUser->setVisible(true);
    }
    tickCount_ = 0;
    if (CurrentDatabasePath == QStringLiteral("**")) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    cmdFilter->setVisible(settings.HideFilter != 1);
    cmdClear->setVisible(settings.HideFilter != 1);
    menus_.mnuautoload->setChecked(settings.UseDefault == QStringLiteral("1"));
    menus_.mnuprograms->setChecked(!settings.Programs[0].isEmpty());
    if (settingsChanged_) {
        MSFlexGrid1->setFontSize(settings.gridFontSizeNumber());
        if (settings.autoFitGridNumber() == 1) {
            mnuautofit_Click();
        } else if (settings.AutoFitGrid.trimmed() == QStringLiteral("0")) {
            menus_.mnuautofit->setChecked(false);
            menus_.mnuEvenwidth->setChecked(true);
        }
        MSFlexGrid1->viewport()->update();
        settingsChanged_ = false;
    }
    if (!CurrentDatabasePath.isEmpty()) {
        UpdateRecentFiles();
        SaveSettings();
    }
    LoadProgramsMenu();
    runCommandLine();
}

void frmMain::Timer1_Timer() {
    if (++tickCount_ == 3) {
        const bool dateShown = !lblDate->isHidden();
        lblDate->setVisible(!dateShown);
        lblDay->setVisible(dateShown);
        tickCount_ = 0;
    }
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    lblTime->setText(locale.toString(now.time(), QLocale::ShortFormat));
    lblDate->setText(locale.toString(now.date(), QLocale::ShortFormat));
    lblDay->setText(locale.dayName(now.date().dayOfWeek(), QLocale::LongFormat));
}

void frmMain::mnuexit_Click() {
    if (close())
        QApplication::quit();
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The frame is known once the window manager has put it round the window.
    QTimer::singleShot(0, this, &frmMain::keepWithinScreen);
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    // The window is activated when first shown and when it comes back from
    // one of the program's forms; not when a message box or file dialog
    // closes, nor when the user returns from another program (an unknown
    // switch would otherwise show its message again at once, for ever).
    if (isActiveWindow()) {
        // By the first activation the window manager has put its frame round
        // the window: now the whole of it can be kept on the screen.
        if (!activatedOnce_)
            keepWithinScreen();
        if (!activatedOnce_ || returningFromForm_)
            Form_Activate();
        activatedOnce_ = true;
        returningFromForm_ = false;
        Form_GotFocus();
    } else {
        const QWidget* next = QApplication::activeWindow();
        if (next && next != this && next->objectName().startsWith(QLatin1String("frm")))
            returningFromForm_ = true;
        Form_LostFocus();
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!worker_->idle()) {
        // Stop the database work first; the window closes when it has.
        closeAfterJob_ = true;
        worker_->cancel();
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload() {
    if (CurrentDatabasePath != QStringLiteral("**")) {
        CurrentDatabasePath = quarix::history::recordRecentAtExit(settings, CurrentDatabasePath);
        SaveSettings();
    }
    Form_LostFocus();
    Timer1->stop();
}

bool frmMain::databaseIdle() const {
    return worker_->idle();
}

bool frmMain::busy() const {
    return !worker_->idle() || cancelledAction_;
}

void frmMain::workerStateChanged(bool idle) {
    gridModel_->setReadsPaused(!idle);
    setSearchControlsEnabled(idle);
    cancelShortcut_->setEnabled(!idle);
    if (idle && closeAfterJob_)
        QTimer::singleShot(0, this, &QWidget::close);
    // A search asked for while a list loaded runs now that it has come,
    // unless the user stopped the work.
    if (idle && std::exchange(searchWhenIdle_, false) && !cancelledAction_ && !closeAfterJob_)
        QTimer::singleShot(0, this, &frmMain::requestSearch);
}

quarix::session::Task<frmMain::JobReport> frmMain::databaseJob(QString runningCaption, Job job) {
    using quarix::session::JobEnd;
    const QString before = windowTitle();
    if (!runningCaption.isEmpty())
        setWindowTitle(runningCaption);
    jobCaption_ = windowTitle();
    statusBar()->showMessage(quarix::session::jobRunningHint());
    const JobReport report = co_await quarix::session::runJob(*worker_, this, std::move(job));
    jobCaption_.clear();
    if (report.end == JobEnd::Cancelled && !cancelledAction_) {
        cancelledAction_ = true;
        QTimer::singleShot(0, this, [this] { cancelledAction_ = false; });
    }
    setWindowTitle(quarix::session::captionAfterJob(report.end, before, CurrentDatabasePath));
    statusBar()->showMessage(quarix::session::jobEndNote(report.end));
    co_return report;
}

frmMain::Task frmMain::stopDatabaseWork() {
    if (!worker_->idle()) {
        worker_->cancel();
        co_await quarix::session::untilIdle(*worker_);
    }
    // The work was stopped for the action that follows, which may read.
    cancelledAction_ = false;
}

void frmMain::showReadProgress(int percent) {
    progBar1->setValue(percent);
    if (!jobCaption_.isEmpty())
        setWindowTitle(jobCaption_ + QLatin1Char(' ') + QString::number(percent) +
                       QLatin1Char('%'));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == calstart && event->type() == QEvent::MouseButtonDblClick) {
        if (calender->isVisible()) {
            calender->hide();
        } else {
            calender->setSelectedDate(QDate::currentDate());
            placeCalendar();
            calender->show();
        }
        return true;
    }
    if (watched == CmbField && event->type() == QEvent::MouseButtonPress &&
        CmbField->count() == 0 && onArrow(CmbField, static_cast<QMouseEvent*>(event)->pos()))
        fieldListWanted_ = true;
    const bool focusIn = event->type() == QEvent::FocusIn;
    const bool focusOut = event->type() == QEvent::FocusOut;
    if ((!focusIn && !focusOut) || !worker_->idle() || restoringFocus_)
        return QMainWindow::eventFilter(watched, event);
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return QMainWindow::eventFilter(watched, event);
    if (watched == cmbTable && focusOut)
        cmbTable_LostFocus();
    else if (watched == CmbField && focusIn)
        CmbField_GotFocus();
    else if (watched == CmbField && focusOut)
        CmbField_LostFocus();
    else if (watched == cmbValues && focusIn)
        cmbValues_GotFocus();
    else if (watched == cmbValues && focusOut)
        cmbValues_LostFocus();
    return QMainWindow::eventFilter(watched, event);
}
