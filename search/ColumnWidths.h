#pragma once

#include <QString>

namespace quarix::search {

class ResultGridModel;

// The longest text of a column, header included, with the blanks at either
// end removed; the first of equally long texts wins. At most rowsToRead
// rows are read, so that a huge lazily read result is not read to size it.
QString longestCellText(const ResultGridModel& grid, int column, long rowsToRead);

// Auto-fit: the measured width of the longest text, in whole units, times
// the grid's font size over 6.5, so that a bigger grid font gets wider
// columns; rounded to the nearest whole number, halves to even.
int autoFitColumnWidth(double measuredWidth, double gridFontSize);

// Even width: the grid's width less a 500-twip margin, shared among the
// columns; rounded to the nearest whole number, halves to even. Twips in,
// twips out; 0 when there are no columns.
int evenColumnWidth(double gridWidth, int columns);

} // namespace quarix::search
