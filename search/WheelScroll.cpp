#include "search/WheelScroll.h"

namespace quarix::search {

int topRowAfterWheel(int topRow, int delta, int rowCount) {
    if (delta < 0)
        return topRow + kWheelRows < rowCount ? topRow + kWheelRows : topRow;
    return topRow < kWheelRows ? 0 : topRow - kWheelRows;
}

} // namespace quarix::search
