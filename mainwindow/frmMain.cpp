#include "mainwindow/frmMain.h"

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quarix"));
    resize(900, 600);
}
