#pragma once

#include <QString>

class QAbstractItemModel;

namespace quarix::search {

// The cells of a rectangle of a model as a spreadsheet takes them from the
// clipboard: cells apart by tabs, rows ending in a line break; a cell that
// holds a tab, a line break or a double quote is quoted, its quotes doubled.
QString tabSeparatedText(const QAbstractItemModel& model, int top, int left, int bottom, int right);

} // namespace quarix::search
