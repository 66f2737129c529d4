#include "mainwindow/ReloadMainWindow.h"

#include "mainwindow/frmMain.h"

frmMain* ReloadMainWindow(frmMain* window) {
    window->Form_Unload();
    auto* next = new frmMain(window->env, window->commandLineArguments, window->settings);
    next->setAttribute(Qt::WA_DeleteOnClose, window->testAttribute(Qt::WA_DeleteOnClose));
    // Shown before the old one goes, so the program never runs out of windows.
    next->show();
    window->hide();
    window->deleteLater();
    return next;
}
