// Export, the object viewer, the Access hand-over, the programs menu, the
// About box and help: the window binds its menus to the tools.
#include "mainwindow/CommandLine.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"

#include "session/Awaiting.h"
#include "session/DatabaseWorker.h"

#include "search/ResultGridModel.h"
#include "tools/AboutInfo.h"
#include "tools/DatabaseHandOver.h"
#include "tools/ExcelExport.h"
#include "tools/HelpWindow.h"
#include "tools/ProgramsMenu.h"
#include "tools/frmAbout.h"
#include "tools/frmObject.h"
#include "tools/frmPrograms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QProgressDialog>

namespace platform = quarix::platform;
namespace tools = quarix::tools;
namespace session = quarix::session;
namespace engine = quarix::engine;

void frmMain::connectToolsMenus() {
    connect(menus_.mnuExcel, &QAction::triggered, this, &frmMain::mnuExcel_Click);
    connect(menus_.mnuObject, &QAction::triggered, this, &frmMain::mnuObject_Click);
    connect(menus_.mnuAccess, &QAction::triggered, this,
            [this] { tools::mnuAccess_Click(this, CurrentDatabasePath); });
    connect(menus_.mnuCompact, &QAction::triggered, this,
            [this] { tools::mnuCompact_Click(this); });
    connect(menus_.mnuprograms, &QAction::triggered, this, &frmMain::mnuprograms_Click);
    connect(menus_.mnuabout, &QAction::triggered, this, &frmMain::mnuabout_Click);
    connect(menus_.mnuupdates, &QAction::triggered, this,
            [this] { tools::mnuupdates_Click(this); });
    connect(menus_.mnuQuarixHelp, &QAction::triggered, this,
            [this] { tools::mnuQuarixHelp_Click(this); });
    connect(menus_.mnuNew, &QAction::triggered, this, [this] {
        // The new window is locked down as this one is.
        if (!tools::mnuNew_Click(switchesInForce(commandLineArguments)))
            platform::MessageBox::show(this,
                                       QStringLiteral("A new Quarix window could not be started."),
                                       tools::programTitle());
    });
    tools::connectProgramsMenu(menus_.mnuTools, this, &settings.Programs);
}

void frmMain::LoadProgramsMenu() {
    tools::applyProgramsMenu(menus_.mnuTools, settings.Programs);
}

frmMain::Task frmMain::mnuExcel_Click() {
    const session::ExportChoice choice{CurrentDatabasePath,     cmbTable->currentText(),
                                       CmbField->currentText(), searchState.CurrentWhere,
                                       searchState.SortClause,  PagedMode};
    if (choice.currentWhere.isEmpty() || !worker_->idle())
        co_return;
    const auto path = tools::askWorkbookPath(this, choice.table);
    if (!path)
        co_return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QProgressDialog progress(QStringLiteral("Exporting the results..."), QStringLiteral("Cancel"),
                             0, 100, this);
    progress.setWindowTitle(QStringLiteral("Quarix"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setValue(0);
    connect(worker_, &session::DatabaseWorker::progress, &progress, &QProgressDialog::setValue);
    connect(&progress, &QProgressDialog::canceled, worker_, &session::DatabaseWorker::cancel);

    const session::DatabaseHandle database = session_.database();
    session::SearchRequest request = session::exportRequest(choice);
    if (session_.answeredSource == request.table)
        request.answers = session_.parameterAnswers;
    session::WorkbookResult written;
    const session::JobReport report =
        co_await session::runJob(*worker_, this, [&](const engine::ReadOptions& options) {
            written =
                session::exportWorkbook(*database.open(), request, {*path, choice.table}, options);
        });
    if (report.end == session::JobEnd::Cancelled)
        written.cancelled = true;
    else if (report.end == session::JobEnd::Failed)
        written.error = QStringLiteral("%1 %2").arg(report.number).arg(report.description);
    progress.reset();
    const tools::ExportOutcome outcome = tools::finishExport(written, *path);
    QApplication::restoreOverrideCursor();
    tools::showExportOutcome(this, outcome);
}

void frmMain::mnuObject_Click() {
    (new tools::frmObject(CurrentDatabasePath, worker_, this))->show();
}

void frmMain::mnuprograms_Click() {
    auto* dialog = new tools::frmPrograms(settings.Programs, settings.AutoLoadDatabase, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void frmMain::mnuabout_Click() {
    (new tools::frmAbout(this))->show();
}
