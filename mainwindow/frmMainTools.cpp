// Export, the object viewer, the Access hand-over, the programs menu, the
// About box and help: the window binds its menus to the tools.
#include "mainwindow/frmMain.h"

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
#include <QComboBox>

namespace tools = quarix::tools;

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
    connect(menus_.mnuNew, &QAction::triggered, this, [] { tools::mnuNew_Click(); });
    tools::connectProgramsMenu(menus_.mnuTools, this, &settings.Programs);
}

void frmMain::LoadProgramsMenu() {
    tools::applyProgramsMenu(menus_.mnuTools, settings.Programs);
}

void frmMain::mnuExcel_Click() {
    tools::exportResultsToExcel(this, tools::ExportRequest{CurrentDatabasePath,
                                                           cmbTable->currentText(),
                                                           CmbField->currentText(),
                                                           searchState.CurrentWhere,
                                                           searchState.SortClause,
                                                           PagedMode,
                                                           gridModel_,
                                                           {}});
}

void frmMain::mnuObject_Click() {
    (new tools::frmObject(CurrentDatabasePath, this))->show();
}

void frmMain::mnuprograms_Click() {
    auto* dialog = new tools::frmPrograms(settings.Programs, settings.AutoLoadDatabase, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void frmMain::mnuabout_Click() {
    (new tools::frmAbout(this))->show();
}
