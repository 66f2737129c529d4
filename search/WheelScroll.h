#pragma once

namespace quarix::search {

// Rows the grid moves per wheel event, whatever the wheel's distance.
constexpr int kWheelRows = 5;

// The grid's top row after one wheel event. A negative delta (wheel turned
// toward the user) moves down by five rows unless that passes the last row,
// which leaves the grid where it is; zero or positive moves up by five,
// stopping at row 0. Rows count from 0; rowCount is the number of rows.
int topRowAfterWheel(int topRow, int delta, int rowCount);

} // namespace quarix::search
