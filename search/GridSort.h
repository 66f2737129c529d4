#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quarix::search {

// Direction of the last header sort. The window keeps one for all columns,
// so the direction alternates with every click whatever the column.
enum class SortDirection { Never = 0, Ascending = 1, Descending = 2 };

// What the window knows when a column header is clicked.
struct HeaderClick {
    QString headerText;
    SortDirection direction = SortDirection::Never;
    bool databaseOpen = false;
    bool pagedMode = false;
    int maxResultsWhole = 0;
};

// What a header click does.
struct HeaderSort {
    QString sortClause; // "[Header] ASC", "[Header] DESC", or "[Header]" alone
    SortDirection direction = SortDirection::Never; // the window's direction afterwards
    bool sortGrid = false;                          // sort the rows on screen
    bool ascending = true;
    // Run the current criterion again ordered by sortClause, so that the
    // order holds across all pages.
    bool rerun = false;
};

HeaderSort decideHeaderSort(const HeaderClick& click);

// The header that shows the sort arrow: the column a sort clause names
// ("[Name] ASC", "[Name] DESC", "[Name]" alone sorts ascending), if it is
// one of the headers.
struct SortIndicator {
    int column = -1;
    bool ascending = true;
};
std::optional<SortIndicator> sortIndicatorFor(const QString& sortClause,
                                              const QStringList& headers);

// The grid's generic order of cells: empty cells first, then cells that
// read as numbers, by value, then the other texts, without regard to case.
// Two numbers compare as numbers and two texts as texts, as a generic grid
// sort does; ranking the kinds keeps the order consistent for mixed columns.
bool readsAsNumber(const QString& cell, double* value = nullptr);
int compareCells(const QString& a, const QString& b);

// Sorts rows by one column in the generic order; equal cells keep their
// order.
void sortRowsByColumn(std::vector<QStringList>& rows, int column, bool ascending);

} // namespace quarix::search
