#pragma once

#include "history/SearchWindowPort.h"
#include "settings/SettingsValues.h"

#include <QString>

#include <optional>

namespace quarix::history {

// AutoLoad is on exactly when UseDefault holds "1".
bool autoLoadIsOn(const SettingsValues& settings);

// The database to open at start-up: the one named on the command line, or
// else the AutoLoad database when AutoLoad is on and its path is longer
// than one character; nothing otherwise.
std::optional<QString> firstDatabase(const QString& cmdLineDatabase,
                                     const SettingsValues& settings);

// Makes path the current database and opens it in the window: kind box,
// caption, table list, optionally an empty grid, then the field list (which
// preselects the AutoLoad table and field when path is the AutoLoad one).
session::Task<> openDefaultDatabase(QString path, SearchWindowPort window, bool resetGrid);

} // namespace quarix::history
