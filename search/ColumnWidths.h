#pragma once

#include <QString>

namespace quarix::search {

class ResultGridModel;

// The text an auto-fitted column must hold when only a sample of a big
// result is read: the longest of the header, the first rowsAtEachEnd rows
// and the last ones. A column whose sampled cells all read as numbers (IDs,
// counts) is made room for as many digits as the result has rows, so that
// the numbers beyond the sample are not cut short either. Texts are
// trimmed; the first of equally long texts wins.
QString widestSampledText(const ResultGridModel& grid, int column, long rowsAtEachEnd);

// Auto-fit: the measured width of the longest text, in whole units, times
// the grid's font size over 6.5, so that a bigger grid font gets wider
// columns; rounded to the nearest whole number, halves to even.
int autoFitColumnWidth(double measuredWidth, double gridFontSize);

// Even width: the grid's width less a 500-twip margin, shared among the
// columns; rounded to the nearest whole number, halves to even. Twips in,
// twips out; 0 when there are no columns.
int evenColumnWidth(double gridWidth, int columns);

} // namespace quarix::search
