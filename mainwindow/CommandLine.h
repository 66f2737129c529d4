#pragma once

#include "settings/SettingsLocation.h"
#include "settings/SettingsValues.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Switches that lock the user interface down, override settings and name a
// database: "/K /F" style, from the multi-user parameters followed by the
// program's arguments. On Linux a path also starts with "/", so an argument
// that names an existing file, or ends in .mdb or .accdb, is a database
// path taken whole, as is a file:// address (what file managers pass);
// every other argument is split at "/" and tabs.
bool isExistingFile(const QString& path);

struct CommandLineInput {
    QString TSParameters;  // the multi-user parameters, applied first
    QStringList arguments; // the program's arguments, without its own name
    // Whether a path names an existing file (tests answer it).
    std::function<bool(const QString&)> fileExists = isExistingFile;
    int MaxArgs = 10;
};

// A change to a main-window menu item, by object name; index is the item of
// a menu array (-1 for a single item).
struct MenuEffect {
    enum class Action { Hide, Show, Disable };
    QString item;
    int index = -1;
    Action action = Action::Hide;
    bool operator==(const MenuEffect&) const = default;
};

// What a run left for the window to apply, in order.
struct CommandLineEffects {
    QString CmdLineDatabase; // "" when no database was named
    bool RecentShown = true; // false after /K: recent files not shown
    // /TS without a marker file: the window creates it empty and reloads,
    // which turns multi-user mode on; a failure is passed over.
    bool enterMultiUserMode = false;
    QList<MenuEffect> menus;
    QStringList messages; // "Unknown Command: ..." boxes, OK button, title "Quarix"
};

// One argument as split: its text, and whether it was taken whole as a path.
struct CommandLineArgument {
    QString text;
    bool whole = false;
    bool operator==(const CommandLineArgument&) const = default;
};

QList<CommandLineArgument> splitCommandLine(const CommandLineInput& input);

// Splits and applies every argument in order: settings and locks change in
// values and location; the rest is returned. markerExists tells whether
// the multi-user marker file is present (for /TS).
CommandLineEffects GetCommandLine(const CommandLineInput& input, SettingsValues& values,
                                  SettingsLocation& location, bool markerExists);

// The switches among the program's arguments, as "/K" each: what a new
// window of the program is started with, so that it is locked down alike.
// Database paths and unknown arguments are left out.
QStringList switchesInForce(const QStringList& arguments);
