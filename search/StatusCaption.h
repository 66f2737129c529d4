#pragma once

#include <QString>
#include <QStringList>

namespace quarix::search {

// What the status line after a successful run is made of.
struct StatusInputs {
    QString table;        // the table box text
    long rowsShown = 0;   // data rows in the grid
    QString seconds;      // elapsed time, two decimals
    long resultCount = 0; // records found
    long page = 0;        // 0-based page on screen
    int pageSize = 0;     // whole part of MaxResults
    bool paged = false;
    int searchMode = 0;
    QString fileName; // the database file name with extension
};

// The window caption after a run.
QString statusCaption(const StatusInputs& in);

// The status bar's summary of the same run: "43 results in 0.12 seconds",
// "100 of 250 results, page 1 of 3, in 0.40 seconds", each after the table
// ("Customers: no results" when nothing matched).
QString statusSummary(const StatusInputs& in);

// A run whose rows come from a damaged table shows the rows that could be
// read, and says so in the caption and, with what is missing, in the
// status bar.
QString incompleteCaption(const QString& caption);
QString incompleteSummary(const QString& summary, const QStringList& warnings);

// "Quarix - " + the file name of the path.
QString databaseCaption(const QString& databasePath);

// The elapsed time as the captions and the log show it (two decimals).
QString secondsText(double seconds);

} // namespace quarix::search
