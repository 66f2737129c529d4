#pragma once

#include <QMainWindow>

// The main window: owns the shared state of a Quarix session.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};
