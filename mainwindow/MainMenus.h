#pragma once

#include <QList>

#include <array>

class QAction;
class QMenu;
class QMainWindow;

// The main window's menu bar. Every menu and item carries its object name
// so that the features that own them, and tests, can find them.
struct MainMenus {
    // File
    QMenu* mnufile = nullptr;
    QAction* mnuopen = nullptr;
    QAction* mnuNew = nullptr;
    QMenu* mnuoptions = nullptr;
    QAction* mnusettings = nullptr;
    QAction* mnuautoload = nullptr;
    QAction* mnuprograms = nullptr;
    QAction* mnudebug = nullptr;
    QAction* mnuline2 = nullptr;
    std::array<QAction*, 3> mnuRecentFile{};
    QAction* mnuexit = nullptr;
    // View
    QMenu* mnuview = nullptr;
    QAction* mnuValuePickList = nullptr;
    QAction* mnuSQLmode = nullptr;
    QMenu* mnuGridspacing = nullptr;
    QAction* mnuautofit = nullptr;
    QAction* mnuEvenwidth = nullptr;
    QMenu* mnulast10 = nullptr;
    std::array<QAction*, 10> mnulast{};
    // SQL Functions: index -> item (unused indexes stay null)
    QMenu* mnuSQL = nullptr;
    std::array<QAction*, 37> SQL{};
    // Saved Searches
    QMenu* mnuSavedSearches = nullptr;
    std::array<QAction*, 24> mnusavedsearch{};
    // Office Tools
    QMenu* mnuOfficelinks = nullptr;
    QAction* mnuExcel = nullptr;
    QAction* mnuObject = nullptr;
    QAction* mnuAccess = nullptr;
    QAction* mnuCompact = nullptr;
    // Programs
    QMenu* mnuTools = nullptr;
    std::array<QAction*, 10> mnuoth{};
    // Help
    QMenu* mnuhelp = nullptr;
    QAction* mnuabout = nullptr;
    QAction* mnuupdates = nullptr;
    QAction* mnuQuarixHelp = nullptr;
};

MainMenus buildMainMenus(QMainWindow* window);
