#include "search/ColumnWidths.h"

#include "search/ResultGridModel.h"

#include <algorithm>
#include <cmath>

namespace quarix::search {

namespace {
constexpr double kMeasuredPoints = 6.5;
constexpr double kEvenWidthMargin = 500;

// Nearest whole number with halves to the even neighbour (the default
// floating-point rounding mode).
int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}
} // namespace

QString longestCellText(const ResultGridModel& grid, int column, long rowsToRead) {
    QString longest;
    const long rows = std::min<long>(grid.Rows(), rowsToRead);
    for (long r = 0; r < rows; ++r) {
        QString text = grid.TextMatrix(r, column).trimmed();
        if (text.size() > longest.size())
            longest = std::move(text);
    }
    return longest;
}

int autoFitColumnWidth(double measuredWidth, double gridFontSize) {
    return roundHalfEven(std::floor(measuredWidth) * gridFontSize / kMeasuredPoints);
}

int evenColumnWidth(double gridWidth, int columns) {
    if (columns <= 0)
        return 0;
    return roundHalfEven((gridWidth - kEvenWidthMargin) / columns);
}

} // namespace quarix::search
