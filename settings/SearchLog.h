#pragma once

#include "settings/SettingsEnvironment.h"
#include "settings/SettingsValues.h"
#include "settings/ShellOpen.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <functional>

// One completed search, as the log records it.
struct SearchLogEntry {
    QString database;   // full path of the open database
    QString table;      // the table or query searched
    QString field;      // the field box's text
    QString criterion;  // as it ran, without WHERE; paged: followed by " ORDER BY " and the order
    qint64 results = 0; // paged: records found; else rows in the grid
    QString seconds;    // elapsed time, the figure the caption shows
    bool paged = false;
    int maxResults = 0;     // whole part of MaxResults (paged only)
    qint64 currentPage = 0; // 0-based page shown (paged only)
};

inline const QString kSearchLogHeader = QStringLiteral(
    "Date,Time,Database,Table,Field,String,Results,Time(sec),User,Computer,Paging,MaxResults,Page");
inline const QString kSearchLogWriteFailed =
    QStringLiteral("Quarix had problems saving your log data.");
inline const QString kSearchLogNotFound = QStringLiteral("Quarix Log file not found!");

// The log file, shared by every user of the computer.
QString searchLogPath(const SettingsEnvironment& env);

// One line of the log (without its line end): thirteen fields joined by
// ",", a field in double quotes (inner quotes doubled) only when it holds a
// comma, a double quote or a line break.
QString searchLogLine(const SearchLogEntry& entry, const QDateTime& now, const QLocale& locale,
                      const QString& user, const QString& computer);

// Appends the entry when WriteLog is on, creating the file with its header
// when missing. Each line goes to the file in one append, so the lines of
// two running instances never mix. A failure shows kSearchLogWriteFailed
// through showMessage and returns false; the search is not affected.
bool WriteSearchLog(const SettingsValues& values, const SettingsEnvironment& env,
                    const SearchLogEntry& entry,
                    const std::function<void(const QString&)>& showMessage);

// Opens the log with the desktop's application for CSV files; false (the
// caller shows kSearchLogNotFound) when it is missing or could not be opened.
bool openSearchLog(const SettingsEnvironment& env, const ShellOpen& open);
