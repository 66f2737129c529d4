#include "mainwindow/MainMenus.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {

QMenu* menu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QMenu* submenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction* item(QMenu* m, const QString& name, const QString& caption, const QKeySequence& key = {}) {
    QAction* a = m->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(key);
    return a;
}

QAction* item(QMenu* m, const char* name, const QString& caption, const QKeySequence& key = {}) {
    return item(m, QString::fromLatin1(name), caption, key);
}

QAction* separator(QMenu* m, const char* name) {
    QAction* a = m->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction* checkable(QAction* a, bool checked) {
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

// The SQL Functions items by index; the gaps of the numbering stay unused.
struct SqlItem {
    int index;
    const char* caption;
};
constexpr SqlItem kSqlItems[] = {{0, "* (Anything or Multiply)"},
                                 {1, "? (Any Character)"},
                                 {2, "+ (Add or Concatenate)"},
                                 {3, "- (Subtract)"},
                                 {5, "/ (Divide)"},
                                 {6, "AND"},
                                 {9, "CDbl"},
                                 {10, "CONTAINS"},
                                 {11, "DateAdd()"},
                                 {12, "DateDiff()"},
                                 {13, "DatePart()"},
                                 {15, "GROUP BY"},
                                 {16, "Int()"},
                                 {17, "IsDate()"},
                                 {18, "IS [NOT] NULL"},
                                 {20, "IsNull()"},
                                 {21, "IsNumeric()"},
                                 {22, "Left()"},
                                 {23, "Len()"},
                                 {24, "LIKE"},
                                 {25, "Max()"},
                                 {26, "Min()"},
                                 {27, "MONTH()"},
                                 {28, "Not"},
                                 {29, "OR"},
                                 {31, "Right()"},
                                 {32, "Round()"},
                                 {33, "SIN()"},
                                 {34, "TAN()"},
                                 {35, "UPPER()"},
                                 {36, "YEAR()"}};

} // namespace

MainMenus buildMainMenus(QMainWindow* window) {
    MainMenus m;
    QMenuBar* bar = window->menuBar();

    m.mnufile = menu(bar, "mnufile", QStringLiteral("&File"));
    m.mnuopen = item(m.mnufile, "mnuopen", QStringLiteral("New &Database"),
                     QKeySequence(QStringLiteral("Ctrl+D")));
    m.mnuNew = item(m.mnufile, "mnuNew", QStringLiteral("&New Quarix"),
                    QKeySequence(QStringLiteral("Ctrl+N")));
    separator(m.mnufile, "mnuline3");
    m.mnuoptions = submenu(m.mnufile, "mnuoptions", QStringLiteral("&Preferences"));
    m.mnusettings = item(m.mnuoptions, "mnusettings", QStringLiteral("&Settings"));
    m.mnuautoload = checkable(item(m.mnuoptions, "mnuautoload", QStringLiteral("&AutoLoad"),
                                   QKeySequence(QStringLiteral("Ctrl+L"))),
                              false);
    m.mnuprograms = checkable(item(m.mnuoptions, "mnuprograms", QStringLiteral("&Programs"),
                                   QKeySequence(QStringLiteral("Ctrl+A"))),
                              false);
    m.mnudebug = checkable(item(m.mnuoptions, "mnudebug", QStringLiteral("&Debug SQL")), false);
    m.mnuline2 = separator(m.mnufile, "mnuline2");
    m.mnuline2->setVisible(false);
    for (int i = 0; i < 3; ++i) {
        m.mnuRecentFile[i] = item(m.mnufile, QStringLiteral("mnuRecentFile%1").arg(i), QString());
        m.mnuRecentFile[i]->setVisible(false);
    }
    separator(m.mnufile, "mnuline5");
    m.mnuexit = item(m.mnufile, "mnuexit", QStringLiteral("E&xit"));

    m.mnuview = menu(bar, "mnuview", QStringLiteral("&View"));
    m.mnuValuePickList =
        checkable(item(m.mnuview, "mnuValuePickList", QStringLiteral("&List Values")), true);
    m.mnuSQLmode = checkable(item(m.mnuview, "mnuSQLmode", QStringLiteral("&SQL Mode")), false);
    separator(m.mnuview, "mnuline7");
    m.mnuGridspacing = submenu(m.mnuview, "mnuGridspacing", QStringLiteral("Grid Spacing"));
    m.mnuautofit =
        checkable(item(m.mnuGridspacing, "mnuautofit", QStringLiteral("Auto-&fit")), false);
    m.mnuEvenwidth =
        checkable(item(m.mnuGridspacing, "mnuEvenwidth", QStringLiteral("&Even Width")), false);
    m.mnulast10 = submenu(m.mnuview, "mnulast10", QStringLiteral("Last &10 Searches"));
    m.mnulast10->menuAction()->setVisible(false);
    for (int i = 0; i < 10; ++i)
        m.mnulast[i] = item(m.mnulast10, QStringLiteral("mnulast%1").arg(i), QString());

    m.mnuSQL = menu(bar, "mnuSQL", QStringLiteral("S&QL Functions"));
    for (const SqlItem& s : kSqlItems)
        m.SQL[s.index] =
            item(m.mnuSQL, QStringLiteral("SQL%1").arg(s.index), QString::fromLatin1(s.caption));
    m.mnuSQL->menuAction()->setVisible(false);

    m.mnuSavedSearches = menu(bar, "mnuSavedSearches", QStringLiteral("S&aved Searches"));
    for (int i = 0; i < 24; ++i) {
        const QString name = QStringLiteral("mnusavedsearch%1").arg(i);
        if (i == 1 || i == 22) {
            m.mnusavedsearch[i] = m.mnuSavedSearches->addSeparator();
            m.mnusavedsearch[i]->setObjectName(name);
        } else {
            m.mnusavedsearch[i] = item(m.mnuSavedSearches, name, QString());
        }
        m.mnusavedsearch[i]->setVisible(i == 0);
    }
    m.mnuSavedSearches->setToolTipsVisible(true); // long entries show whole there
    m.mnusavedsearch[0]->setText(QStringLiteral("Save Current Search"));
    m.mnusavedsearch[0]->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    m.mnusavedsearch[23]->setText(QStringLiteral("Delete Search"));

    m.mnuOfficelinks = menu(bar, "mnuOfficelinks", QStringLiteral("&Office Tools"));
    m.mnuExcel = item(m.mnuOfficelinks, "mnuExcel", QStringLiteral("&Export Results to Excel"),
                      QKeySequence(QStringLiteral("Ctrl+E")));
    m.mnuObject = item(m.mnuOfficelinks, "mnuObject", QStringLiteral("&Access  Object Viewer"),
                       QKeySequence(QStringLiteral("Ctrl+W")));
    m.mnuAccess = item(m.mnuOfficelinks, "mnuAccess", QStringLiteral("&Open Database in Access"),
                       QKeySequence(QStringLiteral("Ctrl+O")));
    m.mnuCompact = item(m.mnuOfficelinks, "mnuCompact", QStringLiteral("&Compact Access Database"),
                        QKeySequence(QStringLiteral("Ctrl+Z")));

    m.mnuTools = menu(bar, "mnuTools", QStringLiteral("&Programs"));
    for (int i = 0; i < 10; ++i) {
        m.mnuoth[i] = item(m.mnuTools, QStringLiteral("mnuoth%1").arg(i), QString());
        m.mnuoth[i]->setVisible(false);
    }
    separator(m.mnuTools, "mnulineOP1")->setVisible(false);
    QMenu* office = submenu(m.mnuTools, "mnuOffice", QStringLiteral("&Office"));
    const char* officeApps[] = {"Access", "Word", "Excel"};
    for (int i = 0; i < 3; ++i)
        item(office, QStringLiteral("mnuofficeapp%1").arg(i), QString::fromLatin1(officeApps[i]),
             QKeySequence(QStringLiteral("Ctrl+F%1").arg(i + 1)));
    separator(m.mnuTools, "mnulineOP2");
    QMenu* windows = submenu(m.mnuTools, "mnuWindows", QStringLiteral("&Windows"));
    item(windows, "mnucalc", QStringLiteral("Calculator"), QKeySequence(QStringLiteral("Ctrl+F4")));
    item(windows, "mnunotepad", QStringLiteral("Notepad (Text)"),
         QKeySequence(QStringLiteral("Ctrl+F5")));
    item(windows, "mnuexplorer", QStringLiteral("Windows &Explorer"),
         QKeySequence(QStringLiteral("Ctrl+F6")));

    m.mnuhelp = menu(bar, "mnuhelp", QStringLiteral("&Help"));
    m.mnuabout = item(m.mnuhelp, "mnuabout", QStringLiteral("&About"));
    m.mnuupdates = item(m.mnuhelp, "mnuupdates", QStringLiteral("Check For &Updates"));
    separator(m.mnuhelp, "mnulineH1");
    m.mnuQuarixHelp = item(m.mnuhelp, "mnuQuarixHelp", QStringLiteral("Quarix Help"),
                           QKeySequence(QStringLiteral("F1")));

    return m;
}
