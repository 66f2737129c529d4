#pragma once

#include "mainwindow/frmMain.h"

#include <QApplication>

// The window's database work ends on its worker: wait until its results
// are on screen.
inline void waitForWindow(const frmMain& window) {
    QApplication::processEvents();
    while (!window.databaseIdle())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
}
